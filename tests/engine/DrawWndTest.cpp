#include "engine/DrawWnd.h"
#include "../support/TestRecord.h"
#include "TestKit.h"
#include "engine/RunGate.h"
#include "model/Attractor.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace {
// The drawing window's parent: counts what arrives, like the main window would.
class CReceiver : public QWidget, public IPlotMessageSink {
public:
    long OnPlotMessage(unsigned message, uintptr_t, intptr_t) override {
        progress += message == WM_PLOT_PROGRESS;
        shown += message == WM_PLOT_SHOWN;
        if (message == WM_PLOT_FINISHED) {
            ++finished;
            draw->m_nAnimate = 0; // as the main window does
        }
        return 0;
    }
    void OnDrawingStarted(const std::string& status) override { started = status; }
    int progress = 0, finished = 0, shown = 0;
    std::string started;
    CDrawWnd* draw = nullptr;
};

struct Window {
    CReceiver parent;
    CDrawWnd* draw = new CDrawWnd;
    std::unique_ptr<CAttractor> a;
    explicit Window(int points) : a(TestRecord(2, points)) {
        parent.resize(320, 260);
        draw->Create(&parent, QRect(10, 10, 300, 240));
        parent.draw = draw;
        parent.show();
        draw->SetAttractor(a.get());
        draw->Reset(0);
        Pump(20);
        parent.progress = parent.finished = parent.shown = 0; // only the animation counts
    }
    ~Window() { RunGate().Set(); }
    void Simulate() {
        draw->m_nAnimate = 1;
        draw->StartOnPaint();
    }
    // Pauses, then checks that at most one more batch of ten points arrives and no later one.
    // Paused: after the messages already on their way, the count holds still while the worker
    // waits at the gate. How many arrive first depends on the scheduler, so only a bound.
    void ExpectPausedWithin(int progressBefore) {
        draw->m_nAnimate = 0;
        draw->Pause();
        int settled = parent.progress;
        ASSERT_TRUE(WaitFor([&] {
            Pump(50);
            return std::exchange(settled, parent.progress) == parent.progress;
        })) << "progress never settled after the pause";
        EXPECT_LT(settled - progressBefore, 1000);
        Pump(200);
        EXPECT_EQ(parent.progress, settled);
        EXPECT_TRUE(draw->IsWorkerRunning()); // paused, not ended
    }
};
} // namespace

TEST(DrawWnd, AnimationFinishesOnceAndLeavesItsBufferBlack) {
    CWatchdog dog(30, "one animation");
    Window w(300);
    EXPECT_EQ(w.draw->StopWorker(), 0); // without a worker: nothing to stop
    EXPECT_EQ(w.draw->SetPlane(1), 1);
    EXPECT_EQ(w.parent.shown, 1);
    EXPECT_EQ(w.draw->ScreenImage(), w.draw->Surface().Picture(1));
    // A paint with no start pending draws the whole pass on the calling thread.
    w.draw->m_nAnimate = 1;
    w.draw->RedrawNow();
    EXPECT_EQ(w.draw->WorkersStarted(), 0);
    EXPECT_EQ(w.parent.finished, 1);
    EXPECT_EQ(w.draw->m_nAnimate, 0);
    Pump(20); // the pass's posted messages first
    w.parent.progress = w.parent.finished = 0;
    w.Simulate();
    EXPECT_EQ(w.parent.started, "Drawing graphs....");
    ASSERT_TRUE(WaitFor([&] { return w.parent.finished == 1 && !w.draw->IsWorkerRunning(); }));
    Pump(20);
    EXPECT_EQ(w.parent.finished, 1);
    EXPECT_EQ(w.parent.progress, 30);
    EXPECT_EQ(w.draw->WorkersStarted(), 1);
    EXPECT_EQ(CountPixels(w.draw->Surface().AnimationBuffer(1), Lit), 0);
    EXPECT_GT(CountPixels(w.draw->ScreenImage(), Lit), 0); // the screen keeps the last copy
}

TEST(DrawWnd, StopWhileRunningOrPausedAndAPlaneSwitchStops) {
    CWatchdog dog(60, "stop and plane switch");
    Window w(2000000);
    w.Simulate();
    ASSERT_TRUE(WaitFor([&] { return w.parent.progress > 2; }));
    // Stop while running, then while paused; a plane switch while running stops too.
    EXPECT_EQ(w.draw->StopWorker(), 1);
    EXPECT_FALSE(w.draw->IsWorkerRunning());
    const int before = w.parent.progress;
    w.Simulate();
    ASSERT_TRUE(WaitFor([&] { return w.parent.progress > before + 2; }));
    w.draw->Pause();
    Pump(30);
    EXPECT_EQ(w.draw->StopWorker(), 1);
    EXPECT_TRUE(RunGate().IsSet());
    const int stopped = w.parent.progress;
    w.Simulate();
    ASSERT_TRUE(WaitFor([&] { return w.parent.progress > stopped + 2; }));
    EXPECT_EQ(w.draw->SetPlane(2), 0);
    EXPECT_FALSE(w.draw->IsWorkerRunning());
    EXPECT_EQ(w.draw->m_nPlane, 2);
    EXPECT_EQ(w.parent.finished, 0);
}

TEST(DrawWnd, StopOrPauseRightAfterTheStartIsNotLost) {
    // The worker may not have begun its pass yet; the request must still hold.
    CWatchdog dog(60, "stop right after the start");
    Window w(2000000);
    for (int i = 0; i < 20; ++i) {
        w.Simulate();
        EXPECT_EQ(w.draw->StopWorker(), 1);
        EXPECT_FALSE(w.draw->IsWorkerRunning());
    }
    EXPECT_EQ(w.parent.finished, 0);
    Pump(20);
    const int before = w.parent.progress;
    w.Simulate();
    w.ExpectPausedWithin(before);
    EXPECT_EQ(w.draw->StopWorker(), 1);
}

TEST(DrawWnd, NoDeadlockWhenTheEndMessageRacesStopWorker) {
    // Short passes end while StopWorker waits, so the worker often sends its end message
    // into that wait.
    CWatchdog dog(120, "stop racing the end message");
    Window w(10);
    for (int i = 0; i < 300; ++i) {
        w.Simulate();
        std::this_thread::sleep_for(std::chrono::microseconds(200 + (i % 7) * 150));
        w.draw->StopWorker();
        ASSERT_FALSE(w.draw->IsWorkerRunning());
    }
    Pump(50);
    EXPECT_EQ(w.draw->WorkersStarted(), 300);
    EXPECT_LE(w.parent.finished, 300); // none counted twice
}

// A worker whose end message has been handled only clears its buffer before it returns. It
// must count as ended at once: Simulate pressed in that moment used to start nothing (Stop
// stayed enabled over a still picture), and a plane switch restarted the animation.
TEST(DrawWnd, AWorkerThatHasFinishedCountsAsEndedAtOnce) {
    CWatchdog dog(60, "finished worker");
    Window w(20);
    for (int round = 0; round < 20; ++round) {
        const int started = w.draw->WorkersStarted();
        w.Simulate();
        ASSERT_EQ(w.draw->WorkersStarted(), started + 1) << round;
        ASSERT_TRUE(WaitFor([&] { return w.parent.finished == round + 1; })) << round;
        // No pause here: the worker may still be on its way out.
        if (round % 2 == 0) {
            EXPECT_EQ(w.draw->SetPlane(round % 4), 1) << round;
            EXPECT_EQ(w.draw->WorkersStarted(), started + 1) << round;
        }
    }
    EXPECT_EQ(w.draw->StopWorker(), 0);
}
