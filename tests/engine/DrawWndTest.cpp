#include "engine/DrawWnd.h"
#include "engine/RunGate.h"
#include "model/Attractor.h"
#include "TestLorenz.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {
// The drawing window's parent: counts what arrives, like the main window would.
class CReceiver : public QWidget, public IPlotMessageSink {
public:
    long OnPlotMessage(unsigned message, uintptr_t, intptr_t) override {
        if (message == WM_PLOT_PROGRESS)
            ++progress;
        if (message == WM_PLOT_FINISHED) {
            ++finished;
            if (draw)
                draw->m_nAnimate = 0; // as the main window does
        }
        if (message == WM_PLOT_SHOWN)
            ++shown;
        return 0;
    }
    void OnDrawingStarted(const std::string& status) override { started = status; }
    int progress = 0, finished = 0, shown = 0;
    std::string started;
    CDrawWnd* draw = nullptr;
};

// Fails the test run instead of hanging it.
class CWatchdog {
public:
    explicit CWatchdog(int seconds) {
        m_thread = std::thread([this, seconds] {
            for (int i = 0; i < seconds * 100 && !m_done; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (!m_done) {
                std::fprintf(stderr, "watchdog: the animation protocol hung\n");
                std::abort();
            }
        });
    }
    ~CWatchdog() {
        m_done = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

auto Lorenz(int points = 2000) { return TestLorenz(points); }

struct Window {
    CReceiver parent;
    CDrawWnd* draw = new CDrawWnd(0);
    std::unique_ptr<CAttractor> a;
    explicit Window(int points) : a(Lorenz(points)) {
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
    static void Pump(int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    template <typename F> static bool WaitFor(F&& f, int ms = 5000) {
        QElapsedTimer t;
        t.start();
        while (!f() && t.elapsed() < ms)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        return f();
    }
    void Simulate() {
        draw->m_nAnimate = 1;
        draw->StartOnPaint();
    }
};
} // namespace

TEST(DrawWnd, StopWorkerWithoutWorkerAndPlaneSwitchWithout) {
    Window w(100);
    EXPECT_EQ(w.draw->StopWorker(), 0);
    EXPECT_EQ(w.draw->IsWorkerRunning(), 0);
    int shown = w.parent.shown;
    EXPECT_EQ(w.draw->SetPlane(1), 1);
    EXPECT_GT(w.parent.shown, shown);
    EXPECT_EQ(w.draw->ScreenImage(), w.draw->Surface().Picture(1));
    EXPECT_EQ(w.draw->cursor().shape(), Qt::BlankCursor);
}

TEST(DrawWnd, AnimationFinishesOnceAndLeavesItsBufferBlack) {
    CWatchdog dog(30);
    Window w(300);
    w.Simulate();
    EXPECT_EQ(w.parent.started, "Drawing graphs....");
    ASSERT_TRUE(Window::WaitFor([&] { return w.parent.finished == 1; }));
    ASSERT_TRUE(Window::WaitFor([&] { return !w.draw->IsWorkerRunning(); }));
    Window::Pump(20);
    EXPECT_EQ(w.parent.finished, 1);
    EXPECT_EQ(w.parent.progress, 30);
    EXPECT_EQ(w.draw->WorkersStarted(), 1);
    const QImage& buffer = w.draw->Surface().AnimationBuffer(0);
    for (int y = 0; y < buffer.height(); ++y)
        for (int x = 0; x < buffer.width(); ++x)
            ASSERT_EQ(buffer.pixel(x, y), 0xFF000000u);
    EXPECT_NE(w.draw->ScreenImage(), buffer); // the screen keeps the last copy
    EXPECT_EQ(w.draw->StopWorker(), 0);
}

TEST(DrawWnd, PauseWithinTenPointsResumeWithoutSecondWorkerAndStop) {
    CWatchdog dog(60);
    Window w(2000000);
    w.Simulate();
    ASSERT_TRUE(Window::WaitFor([&] { return w.parent.progress >= 5; }));
    w.draw->m_nAnimate = 0;
    w.draw->Pause();
    // The worker ends its batch of at most ten points and blocks: one more progress at most.
    const int atPause = w.parent.progress;
    Window::Pump(100);
    const int settled = w.parent.progress;
    EXPECT_LE(settled - atPause, 1);
    Window::Pump(100);
    EXPECT_EQ(w.parent.progress, settled);
    EXPECT_TRUE(w.draw->IsWorkerRunning());

    // Simulate again: the paint opens the gate for the same worker.
    w.Simulate();
    EXPECT_TRUE(RunGate().IsSet());
    ASSERT_TRUE(Window::WaitFor([&] { return w.parent.progress > settled + 5; }));
    EXPECT_EQ(w.draw->WorkersStarted(), 1);

    // Stop while running, then while paused.
    EXPECT_EQ(w.draw->StopWorker(), 1);
    EXPECT_FALSE(w.draw->IsWorkerRunning());
    EXPECT_EQ(w.parent.finished, 0);
    const int before = w.parent.progress;
    w.Simulate();
    ASSERT_TRUE(Window::WaitFor([&] { return w.parent.progress > before + 2; }));
    w.draw->Pause();
    Window::Pump(30);
    EXPECT_EQ(w.draw->StopWorker(), 1);
    EXPECT_EQ(w.parent.finished, 0);
    EXPECT_TRUE(RunGate().IsSet());
}

TEST(DrawWnd, PlaneSwitchDuringAnimationStopsTheWorker) {
    CWatchdog dog(30);
    Window w(2000000);
    w.Simulate();
    ASSERT_TRUE(Window::WaitFor([&] { return w.parent.progress >= 3; }));
    EXPECT_EQ(w.draw->SetPlane(2), 0);
    EXPECT_FALSE(w.draw->IsWorkerRunning());
    EXPECT_EQ(w.draw->m_nPlane, 2);
}

TEST(DrawWnd, PaintWithoutWorkerRunsTheWholeAnimationOnTheCallingThread) {
    Window w(50);
    w.draw->m_nAnimate = 1;
    w.draw->RedrawNow(); // no start pending: the paint draws the pass itself
    EXPECT_EQ(w.draw->WorkersStarted(), 0);
    EXPECT_EQ(w.parent.finished, 1);
    EXPECT_EQ(w.draw->m_nAnimate, 0);
}

TEST(DrawWnd, NoDeadlockWhenTheEndMessageRacesStopWorker) {
    // Short passes end while StopWorker waits, so the worker often sends its end message
    // into that wait.
    CWatchdog dog(120);
    Window w(10);
    int stopped = 0;
    for (int i = 0; i < 300; ++i) {
        w.draw->m_nAnimate = 1;
        w.draw->StartOnPaint();
        std::this_thread::sleep_for(std::chrono::microseconds(200 + (i % 7) * 150));
        stopped += w.draw->StopWorker();
        ASSERT_FALSE(w.draw->IsWorkerRunning());
    }
    Window::Pump(50);
    EXPECT_EQ(w.draw->WorkersStarted(), 300);
    // Every pass either finished or was stopped; none was counted twice.
    EXPECT_LE(w.parent.finished, 300);
    EXPECT_GT(w.parent.finished + stopped, 0);
}

TEST(DrawWnd, StopOrPauseRightAfterTheStartIsNotLost) {
    // The worker may not have begun its pass yet; the request must still hold.
    CWatchdog dog(60);
    Window w(2000000);
    for (int i = 0; i < 20; ++i) {
        w.Simulate();
        EXPECT_EQ(w.draw->StopWorker(), 1);
        EXPECT_FALSE(w.draw->IsWorkerRunning());
    }
    EXPECT_EQ(w.parent.finished, 0);
    Window::Pump(20);
    const int before = w.parent.progress;
    w.Simulate();
    w.draw->m_nAnimate = 0;
    w.draw->Pause();
    Window::Pump(100);
    EXPECT_TRUE(w.draw->IsWorkerRunning()); // paused, not ended
    const int settled = w.parent.progress;
    Window::Pump(100);
    EXPECT_EQ(w.parent.progress, settled);
    EXPECT_LE(settled - before, 1);
    EXPECT_EQ(w.draw->StopWorker(), 1);
}

TEST(DrawWnd, ClearPlaneBlacksTheScreenAndThePicture) {
    Window w(500);
    w.draw->SetPlane(0);
    w.draw->ClearPlane(0);
    const QImage screen = w.draw->ScreenImage();
    const QImage& pic = w.draw->Surface().Picture(0);
    for (int y = 0; y < pic.height(); y += 3)
        for (int x = 0; x < pic.width(); x += 3) {
            ASSERT_EQ(screen.pixel(x, y), 0xFF000000u);
            ASSERT_EQ(pic.pixel(x, y), 0xFF000000u);
        }
}

// A worker whose end message has been handled only clears its buffer before it returns. It
// must count as ended at once: Simulate pressed in that moment used to start nothing (Stop
// stayed enabled over a still picture), and a plane switch restarted the animation.
TEST(DrawWnd, AWorkerThatHasFinishedCountsAsEndedAtOnce) {
    CWatchdog dog(60);
    Window w(20);
    for (int round = 0; round < 20; ++round) {
        const int started = w.draw->WorkersStarted();
        w.Simulate();
        ASSERT_EQ(w.draw->WorkersStarted(), started + 1) << round;
        ASSERT_TRUE(Window::WaitFor([&] { return w.parent.finished == round + 1; })) << round;
        // No pause here: the worker may still be on its way out.
        if (round % 2 == 0) {
            EXPECT_EQ(w.draw->SetPlane(round % 4), 1) << round;
            EXPECT_EQ(w.draw->WorkersStarted(), started + 1) << round;
        }
    }
    EXPECT_EQ(w.draw->StopWorker(), 0);
}
