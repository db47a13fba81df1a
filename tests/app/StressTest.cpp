#include "AppFixture.h"

#include "res/ResourceIds.h"

#include <QAction>
#include <QCheckBox>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

// Random sequences of what a user can do to the main window, with the real worker thread.
// After every step the buttons must match the state table, at most one worker may exist, and
// a buffer that no pass draws into must be black. Each sequence has its own seed:
//   QEL_STRESS_SEQUENCES=n   how many sequences (default 150)
//   QEL_STRESS_SEED=s        the seed of the first; a failure names the seed to replay
namespace {

int EnvInt(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::atoi(v) : fallback;
}

// Six kinds with small point counts, so that an animation ends within a few batches.
std::string StressSettings() {
    std::string s;
    for (const char* kind : {"Henon", "Ikeda", "Lorenz", "Pickover", "Rossler", "Sorvan"}) {
        s += std::string("[") + kind + "]\nZoom=20.000\nStartColorChangeIter=10\n";
        s += "XYPlaneCenter=0,0\nXZPlaneCenter=0,5\nYZPlaneCenter=0,5\nXYZPlaneCenter=0,5\n";
        s += "Variation=(0.0100,0.0001,0.1000)\nIteration=(60,1,10000000)\n";
        s += "A=(0.5000,0.0000,50.0000)\nB=(0.5000,0.0000,10.0000)\nC=(0.8000,0.0000,20.0000)\n";
        s += "D=(1.0000,0.0000,20.0000)\nE=(0.1000,-2.0000,2.0000)\nF=(0.2000,0.0000,0.9900)\n";
        s += "G=(0.3000,0.0000,0.9900)\nInitialConditionX=(0.1000,-5.0000,5.0000)\n";
        s += "InitialConditionY=(0.1000,-5.0000,5.0000)\n";
        s += "InitialConditionZ=(0.1000,-5.0000,5.0000)\nEqX=x'\nEqY=y'\nEqZ=z'\n";
    }
    return s;
}

// Threads that carry the process's own name: the main thread, our worker, and whatever the
// sanitizer runtime starts once. Qt names its own threads.
int UnnamedThreads() {
    std::string self;
    std::ifstream("/proc/self/comm") >> self;
    int count = 0;
    if (DIR* d = ::opendir("/proc/self/task")) {
        while (dirent* e = ::readdir(d)) {
            if (e->d_name[0] == '.')
                continue;
            std::string comm;
            std::ifstream(std::string("/proc/self/task/") + e->d_name + "/comm") >> comm;
            count += comm == self;
        }
        ::closedir(d);
    }
    return count;
}

bool IsBlack(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((row[x] & 0xFFFFFF) != 0)
                return false;
    }
    return true;
}

// The main window, telling the test of every end of an animation as it is handled.
class CWatchedDlg : public CQel2Dlg {
public:
    std::function<void()> m_onFinished;
    long OnPlotMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override {
        const long r = CQel2Dlg::OnPlotMessage(message, wParam, lParam);
        if (message == WM_PLOT_FINISHED && m_onFinished)
            m_onFinished();
        return r;
    }
};

// What the state table says the buttons show, and the flags that decide the next step.
struct CModel {
    bool run = true, simulate = true, stop = false;
    bool simulating = false, halted = false;

    std::string Buttons() const {
        return std::string(run ? "R" : "-") + (simulate ? "S" : "-") + (stop ? "T" : "-");
    }
    void Run() {
        halted = false;
        run = simulate = true;
        stop = false;
    }
    void Simulate() {
        simulating = true;
        halted = false;
        simulate = false;
        stop = true;
    }
    void Stop() {
        simulate = true;
        stop = false;
    }
    void Finished() {
        simulate = true;
        stop = false;
    }
    void Clear() {
        if (simulating) {
            halted = true;
            simulate = true;
            stop = false;
        }
        simulating = false;
    }
    void Switch() {
        Clear();
        halted = false;
        run = simulate = true;
        stop = false;
    }
};

// Stops the process if one step takes longer than any step could: a hang is a fault, and
// the test could never report it otherwise.
class CStepWatchdog {
public:
    explicit CStepWatchdog(int seconds) : m_nLimitMs(seconds * 1000) {
        m_thread = std::thread([this] {
            while (!m_bDone) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                const long long started = m_nStepStart.load();
                if (started && NowMs() - started > m_nLimitMs) {
                    std::fprintf(stderr, "stress watchdog: step blocked for over %d ms\n%s\n",
                                 m_nLimitMs, Log().c_str());
                    std::abort();
                }
            }
        });
    }
    ~CStepWatchdog() {
        m_bDone = true;
        m_thread.join();
    }
    void Begin(const std::string& what) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_strStep = what;
        }
        m_nStepStart = NowMs();
    }
    void End() { m_nStepStart = 0; }
    std::string Log() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_strLog + " >> " + m_strStep;
    }
    void Record(const std::string& line) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_strLog = line;
    }

private:
    static long long NowMs() {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    const int m_nLimitMs;
    std::atomic<bool> m_bDone{false};
    std::atomic<long long> m_nStepStart{0};
    std::mutex m_mutex;
    std::string m_strStep, m_strLog;
    std::thread m_thread;
};

class StressTest : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<CWatchedDlg> dlg;
    CModel model;

    void SetUp() override {
        TempDir::Write(dir.File("Attractors.ini"), StressSettings());
        TempDir::Write(dir.File("countries.xml"), kTestCountries);
        platform::SetModuleDirectoryOverride(dir.Path());
        platform::SetMessageBoxResponder(
            [](const platform::MessageBoxRequest&) { return platform::IDOK; });
    }
    void TearDown() override {
        dlg.reset();
        platform::SetMessageBoxResponder({});
        platform::SetModuleDirectoryOverride("");
        RunGate().Set();
    }
    void Open() {
        dlg.reset();
        model = CModel();
        dlg = std::make_unique<CWatchedDlg>();
        dlg->m_onFinished = [this] { model.Finished(); };
        dlg->OnInitDialog();
    }
    void Close() {
        dlg->reject();
        dlg.reset();
    }
    static void Pump(int ms) {
        QElapsedTimer t;
        t.start();
        do
            QApplication::processEvents(QEventLoop::AllEvents, 2);
        while (t.elapsed() < ms);
    }
    void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void Type(int index, const QString& text) {
        dlg->m_edit[index]->selectAll();
        dlg->m_edit[index]->del();
        QTest::keyClicks(dlg->m_edit[index], text);
    }
    std::string Buttons() const {
        return std::string(dlg->m_btnRun->isEnabled() ? "R" : "-") +
               (dlg->m_btnSimulate->isEnabled() ? "S" : "-") +
               (dlg->m_btnStop->isEnabled() ? "T" : "-");
    }
    // Everything that must hold between two steps; empty when it does.
    std::string Check(int baseThreads) {
        if (Buttons() != model.Buttons())
            return "buttons " + Buttons() + ", the state table says " + model.Buttons();
        if (UnnamedThreads() > baseThreads + 1)
            return "more than one worker thread";
        CDrawWnd* w = dlg->DrawWnd();
        if (!w->IsWorkerRunning()) {
            for (int p = 0; p < 4; ++p)
                if (!IsBlack(w->Surface().AnimationBuffer(p)))
                    return "animation buffer " + std::to_string(p) + " not black without a pass";
            // Stop enabled means an animation is under way: a worker must be drawing it.
            if (model.stop)
                return "Stop is enabled but no worker runs";
        }
        return {};
    }

    // One random step; returns its name for the log.
    std::string Step(std::mt19937& rng) {
        auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        CDrawWnd* w = dlg->DrawWnd();
        switch (pick(20)) {
        case 0:
        case 1:
        case 2:
            if (dlg->m_btnRun->isEnabled())
                model.Run();
            Click(dlg->m_btnRun);
            return "Run";
        case 3:
        case 4:
        case 5:
        case 6: {
            if (dlg->m_btnSimulate->isEnabled())
                model.Simulate();
            Click(dlg->m_btnSimulate);
            return "Simulate";
        }
        case 7:
        case 8:
        case 9:
            if (dlg->m_btnStop->isEnabled())
                model.Stop();
            Click(dlg->m_btnStop);
            return "Stop";
        case 10:
        case 11:
            model.Clear();
            Click(dlg->m_btnClear);
            return "Clear";
        case 12:
        case 13: {
            const int plane = pick(4);
            const bool existed = w->IsWorkerRunning() || model.stop;
            const bool halted = model.halted;
            const int started = w->WorkersStarted();
            dlg->m_display[plane]->click();
            if (w->WorkersStarted() != started) {
                if (!halted && !existed)
                    return "!a display change started an animation from idle";
                model.Simulate();
            } else if (halted) {
                return "!a display change after Clear started no animation";
            }
            return "Display " + std::to_string(plane);
        }
        case 14: {
            const int kind = pick(ATTRACTOR_COUNT);
            QAction* action = dlg->CommandAction(kAttractorCommands[kind]);
            if (action->isEnabled())
                model.Switch();
            action->trigger();
            return "Attractor " + std::to_string(kind);
        }
        case 15:
        case 16: {
            const int points = 1 + pick(250);
            Type(EDIT_ITERATION, QString::number(points));
            return "Iteration " + std::to_string(points);
        }
        case 17: {
            QCheckBox* box = dlg->findChild<QCheckBox*>();
            if (!box || !box->isVisible())
                return "Accumulate (hidden)";
            if (dlg->m_bAccumulate)
                model.Run(); // unchecking runs
            Click(box);
            return "Accumulate";
        }
        case 18: {
            Pump(pick(30));
            return "Wait";
        }
        default:
            if (pick(4) != 0) {
                Pump(1);
                return "Events";
            }
            Close();
            Open();
            return "Close and reopen";
        }
    }
};

} // namespace

TEST_F(StressTest, RandomButtonSequencesKeepTheProtocol) {
    const int sequences = EnvInt("QEL_STRESS_SEQUENCES", 150);
    const int firstSeed = EnvInt("QEL_STRESS_SEED", 1);
    const int stepsPerSequence = 24;
    CStepWatchdog watchdog(60);
    int steps = 0;
    for (int s = 0; s < sequences; ++s) {
        const int seed = firstSeed + s;
        std::mt19937 rng(static_cast<unsigned>(seed));
        std::ostringstream log;
        log << "seed " << seed << ":";
        watchdog.Begin("open");
        Open();
        const int baseThreads = UnnamedThreads();
        watchdog.End();
        for (int i = 0; i < stepsPerSequence; ++i, ++steps) {
            watchdog.Begin(log.str());
            std::string name = Step(rng);
            log << " " << (name[0] == '!' ? name.substr(1) : name);
            watchdog.Record(log.str());
            if (name[0] == '!')
                FAIL() << log.str() << "\n  replay: QEL_STRESS_SEED=" << seed
                       << " QEL_STRESS_SEQUENCES=1";
            // Let queued messages through before judging, as the user's next click would.
            Pump(1);
            const std::string fault = Check(baseThreads);
            watchdog.End();
            if (!fault.empty())
                FAIL() << fault << "\n  " << log.str() << "\n  replay: QEL_STRESS_SEED=" << seed
                       << " QEL_STRESS_SEQUENCES=1";
        }
        watchdog.Begin("close after " + log.str());
        Close();
        watchdog.End();
    }
    std::printf("stress: %d sequences, %d steps\n", sequences, steps);
}
