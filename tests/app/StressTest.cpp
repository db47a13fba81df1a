#include "AppFixture.h"

#include <dirent.h>
#include <fstream>
#include <random>
#include <sstream>

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
    std::string self, comm;
    std::ifstream("/proc/self/comm") >> self;
    int count = 0;
    if (DIR* d = ::opendir("/proc/self/task")) {
        while (dirent* e = ::readdir(d))
            if (e->d_name[0] != '.' &&
                std::ifstream(std::string("/proc/self/task/") + e->d_name + "/comm") >> comm)
                count += comm == self;
        ::closedir(d);
    }
    return count;
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

// The state table: Run is always enabled, and Simulate exactly when Stop is not.
struct CModel {
    bool stop = false, simulating = false, halted = false;
    std::string Buttons() const { return stop ? "R-T" : "RS-"; }
    void Run() { halted = stop = false; }
    void Simulate() {
        simulating = stop = true;
        halted = false;
    }
    void Stop() { stop = false; }
    void Clear() {
        if (simulating)
            halted = true, stop = false;
        simulating = false;
    }
    void Switch() {
        Clear();
        Run();
    }
};

class StressTest : public AppTest {
protected:
    CModel model;

    void SetUp() override {
        TempDir::Write(dir.File("Attractors.ini"), StressSettings());
        TempDir::Write(dir.File("countries.xml"), kTestCountries);
    }
    CQel2Dlg* NewDialog() override {
        auto* d = new CWatchedDlg;
        d->m_onFinished = [this] { model.Stop(); };
        return d;
    }
    void Open() {
        model = CModel();
        messages.clear();
        Start(nullptr, nullptr, 0);
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
                if (CountPixels(w->Surface().AnimationBuffer(p), Lit) != 0)
                    return "animation buffer " + std::to_string(p) + " not black without a pass";
            // Stop enabled means an animation is under way: a worker must be drawing it.
            if (model.stop)
                return "Stop is enabled but no worker runs";
        }
        return {};
    }

    // One random step; returns its name for the log, with a leading '!' for a fault.
    std::string Step(std::mt19937& rng) {
        auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        // The buttons, by weight out of 20, with the state table's change when pressed.
        const struct {
            int below;
            QAbstractButton* button;
            void (CModel::*change)();
            const char* name;
        } presses[] = {{3, dlg->m_btnRun, &CModel::Run, "Run"},
                       {7, dlg->m_btnSimulate, &CModel::Simulate, "Simulate"},
                       {10, dlg->m_btnStop, &CModel::Stop, "Stop"},
                       {12, dlg->m_btnClear, &CModel::Clear, "Clear"}};
        const int r = pick(20);
        for (const auto& p : presses)
            if (r < p.below) {
                if (p.button->isEnabled() || p.button == dlg->m_btnClear)
                    (model.*p.change)();
                Click(p.button);
                return p.name;
            }
        CDrawWnd* w = dlg->DrawWnd();
        if (r < 14) {
            const int plane = pick(4), started = w->WorkersStarted();
            const bool existed = w->IsWorkerRunning() || model.stop, halted = model.halted;
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
        if (r == 14) {
            const int kind = pick(ATTRACTOR_COUNT);
            QAction* action = dlg->CommandAction(kAttractorCommands[kind]);
            if (action->isEnabled())
                model.Switch();
            action->trigger();
            return "Attractor " + std::to_string(kind);
        }
        if (r < 17) {
            const int points = 1 + pick(250);
            Type(EDIT_ITERATION, QString::number(points));
            return "Iteration " + std::to_string(points);
        }
        if (r == 17) {
            QCheckBox* box = dlg->findChild<QCheckBox*>();
            if (!box || !box->isVisible())
                return "Accumulate (hidden)";
            if (dlg->m_bAccumulate)
                model.Run(); // unchecking runs
            Click(box);
            return "Accumulate";
        }
        if (r == 18 || pick(4) != 0) {
            Pump(r == 18 ? pick(30) : 1);
            return r == 18 ? "Wait" : "Events";
        }
        dlg->reject();
        Open();
        return "Close and reopen";
    }
};

} // namespace

TEST_F(StressTest, RandomButtonSequencesKeepTheProtocol) {
    const int sequences = EnvInt("QEL_STRESS_SEQUENCES", 150);
    const int firstSeed = EnvInt("QEL_STRESS_SEED", 1);
    CWatchdog watchdog(60);
    int steps = 0;
    for (int s = 0; s < sequences; ++s) {
        const int seed = firstSeed + s;
        std::mt19937 rng(static_cast<unsigned>(seed));
        std::ostringstream log;
        log << "seed " << seed << ":";
        watchdog.Arm("open");
        Open();
        const int baseThreads = UnnamedThreads();
        for (int i = 0; i < 24; ++i, ++steps) {
            watchdog.Arm(log.str() + " >> the next step");
            const std::string name = Step(rng);
            std::string fault = name[0] == '!' ? name.substr(1) : "";
            log << " " << (fault.empty() ? name : fault);
            if (fault.empty()) {
                Pump(1); // let queued messages through, as the user's next click would
                fault = Check(baseThreads);
            }
            if (!fault.empty())
                FAIL() << fault << "\n  " << log.str() << "\n  replay: QEL_STRESS_SEED=" << seed
                       << " QEL_STRESS_SEQUENCES=1";
        }
        watchdog.Arm("close after " + log.str());
        dlg->reject();
        dlg.reset();
        watchdog.Arm({});
    }
    std::printf("stress: %d sequences, %d steps\n", sequences, steps);
}
