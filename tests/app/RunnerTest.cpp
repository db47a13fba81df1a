#include "app/Runner.h"
#include "../engine/TestKit.h"
#include "../support/TempDir.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"

#include <QThreadPool>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>

namespace {
std::vector<std::string> g_said;

// Runs work over 400 items to the end; the items whose results were handed over.
template <class Work> std::set<int> RunAll(CRunner& runner, Work work) {
    QList<int> items(400);
    std::iota(items.begin(), items.end(), 0);
    std::set<int> taken;
    runner.Start<int>(items, work, [&](int k, int&& v) { taken.insert(v == k ? k : -1); });
    runner.RunToEnd();
    return taken;
}
// The threads of this process that carry the pool's name.
int PoolThreads() {
    int n = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        n += TempDir::Read(task.path() / "comm") == "qel-work\n";
    return n;
}
} // namespace

// Work that runs out of memory ends its job with the reason, reported once; the item that failed
// hands nothing over, and the pool goes on. Two jobs at once share the pool's threads, as many as
// the cores, named, below the windows' priority, started once and kept.
TEST(Runner, WorkThatThrowsEndsItsJobAndTwoJobsShareThePool) {
    CRunner::Pool();
    EXPECT_EQ(PoolThreads(), QThread::idealThreadCount());
    CRunner::SetFailureReport([](const std::string& why) { g_said.push_back(why); });
    CRunner runner, other;
    const auto taken =
        RunAll(runner, [](int k, CRunnerTask&) { return k != 40 ? k : throw std::bad_alloc(); });
    EXPECT_EQ(runner.Failure(), "out of memory");
    EXPECT_EQ(g_said, std::vector<std::string>{"out of memory"});
    EXPECT_FALSE(taken.count(40) || taken.count(-1));
    CRunner::SetFailureReport(nullptr);
    std::mutex mutex;
    // The nice value (of the calling thread, on Linux) and name of each item's thread.
    std::set<std::pair<int, QString>> seen;
    CWatchdog watchdog(60, "two jobs of 400 items on the pool");
    other.Start<int>(
        QList<int>(400), [&](int k, CRunnerTask&) { return k; }, [](int, int&&) {});
    const auto all = RunAll(runner, [&](int k, CRunnerTask&) {
        std::lock_guard lock(mutex);
        seen.insert({::getpriority(PRIO_PROCESS, 0), QThread::currentThread()->objectName()});
        return k;
    });
    EXPECT_EQ(all.size(), 400u);
    other.RunToEnd();
    EXPECT_EQ(runner.Failure(), "");
    EXPECT_EQ(CRunner::Pool()->maxThreadCount(), QThread::idealThreadCount());
    EXPECT_EQ(seen, (std::set<std::pair<int, QString>>{
                        {std::min(::getpriority(PRIO_PROCESS, 0) + 5, 19), "qel-work"}}));
}

// The first job after the pool starts has every thread: two items that each wait for the other
// meet (each waits at most 10 s, so items run one after the other fail instead of hanging).
TEST(Runner, TheFirstJobRunsOnEveryThread) {
    ASSERT_TRUE(CRunner::StartPool(2));
    std::mutex mutex;
    std::condition_variable met;
    int arrived = 0, alone = 0;
    CRunner runner;
    runner.Start<int>(
        {0, 1},
        [&](int, CRunnerTask&) {
            std::unique_lock lock(mutex);
            ++arrived;
            met.notify_all();
            alone += !met.wait_for(lock, std::chrono::seconds(10), [&] { return arrived == 2; });
            return 0;
        },
        [](int, int&&) {});
    runner.RunToEnd();
    EXPECT_EQ(alone, 0) << "the first job's two items did not run side by side on two threads";
}

// A handler that lets an exception out: once it has returned, a message box says why, and the
// program goes on.
TEST(Application, AnExceptionFromAHandlerIsToldAndTheProgramGoesOn) {
    platform::SetMessageBoxResponder([](const platform::MessageBoxRequest& r) {
        g_said.push_back(r.text);
        return platform::IDOK;
    });
    struct CThrower : QObject {
        bool event(QEvent*) override { throw std::runtime_error("bad thing"); }
    } thrower;
    g_said.clear();
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&thrower);
    EXPECT_TRUE(g_said.empty());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(g_said, std::vector<std::string>{"The work stopped: bad thing."});
    platform::SetMessageBoxResponder(nullptr);
}
