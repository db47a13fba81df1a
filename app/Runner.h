#pragma once
#include "platform/Failure.h"
#include "platform/ThreadHandOver.h"

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentMap>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class QThreadPool;
class QTimer;

// What a piece of long work sees while it runs: whether to stop, and where to count progress.
class CRunnerTask {
public:
    bool Cancelled() const { return m_bCancel.load(std::memory_order_relaxed); }
    const std::atomic<bool>* CancelFlag() const { return &m_bCancel; }
    void AddDone(int64_t n) { m_nDone.fetch_add(n, std::memory_order_relaxed); }

private:
    friend class CRunner;
    // Runs one item on a pool thread: nothing it throws leaves the thread; the first failure
    // is kept and cancels the rest. False when the item has no result.
    template <class Fn> bool Guarded(Fn fn);
    void Fail(const char* why);

    std::atomic<bool> m_bCancel{false}, m_bFailed{false};
    std::atomic<int64_t> m_nDone{0};
    std::mutex m_mutex;
    std::string m_strFailure;
};

// The one way long work runs (map cells, diagram columns, time-series envelopes, exports and
// qel-render's analyses): items mapped by QtConcurrent on the one pool every window shares,
// each result handed to this object's thread as it comes (QFutureWatcher), with progress and
// cancel. Results go through platform::HandOver, so ThreadSanitizer sees their hand-over.
class CRunner : public QObject {
    Q_OBJECT
public:
    explicit CRunner(QObject* parent = nullptr);
    ~CRunner() override; // cancels and waits

    // The pool of all long work, sized to the machine's cores unless StartPool sized it. It is
    // not Qt's global pool: Qt paints with helpers from that one, and painting must not wait
    // for a map.
    static QThreadPool* Pool();
    // Makes the pool threads wide (0: the cores) and starts every thread at once, to be kept:
    // a thread that cannot start shows here, not as work that waits for it for ever. False,
    // with the reason in *why, when not all could start; work then runs on those that did, or
    // fails at once when none did.
    static bool StartPool(int threads, std::string* why = nullptr);
    // Shows a job's failure, on this object's thread (the program: a message box).
    static void SetFailureReport(void (*report)(const std::string& why));

    // Cancels and waits for any job, then runs work(item, task) -> R for each item on the pool
    // and hands each result to take(item, R&&) on this object's thread as it comes. Progress
    // counts finished items, or, with total >= 0, what the work adds through task.AddDone.
    template <class R, class Work, class Take>
    void Start(const QList<int>& items, Work work, Take take, int64_t total = -1);

    // The work sees task.Cancelled(); Finished follows when it has stopped.
    void Cancel();
    // Cancels and blocks until the work has stopped; Finished still follows.
    void Wait();
    // Blocks, handing over every result, until the job has ended (for callers without an
    // event loop of their own, such as qel-render).
    void RunToEnd();
    bool IsRunning() const;
    bool WasCancelled() const { return m_pTask && m_pTask->Cancelled(); }
    // Why the last job ended early (memory that could not be had, no thread to run on), or
    // empty. Its items that failed or did not run hand over nothing.
    std::string Failure() const;

signals:
    void Progress(qint64 done, qint64 total);
    void Finished();

private:
    friend class CRunnerTask;
    static bool HasThreads();
    static std::string PoolFailure();
    // Once on each pool thread: long work gives way to the windows.
    static void BelowTheWindows();
    void Begin(QFutureWatcher<int>* watcher, int count, int64_t total);
    void Report();

    std::shared_ptr<CRunnerTask> m_pTask;
    QFutureWatcher<int>* m_pWatcher = nullptr;
    QTimer* m_pTimer = nullptr;
    int64_t m_nTotal = 0, m_nItemsDone = 0;
    bool m_bCountItems = true, m_bEnded = true;
};

template <class R, class Work, class Take>
void CRunner::Start(const QList<int>& items, Work work, Take take, int64_t total) {
    Wait();
    m_pTask = std::make_shared<CRunnerTask>();
    // Each result waits in its own slot until the watcher says it is ready.
    auto store = std::make_shared<std::vector<R>>(static_cast<std::size_t>(items.size()));
    QList<int> places;
    for (int k = 0; k < items.size(); ++k)
        places.push_back(k);
    auto* watcher = new QFutureWatcher<int>(this);
    connect(watcher, &QFutureWatcherBase::resultsReadyAt, this,
            [this, watcher, store, items, take](int begin, int end) mutable {
                for (int i = begin; i < end; ++i) {
                    const int k = watcher->resultAt(i);
                    if (k < 0)
                        continue;
                    platform::TakeOver(&(*store)[k]);
                    take(items[k], std::move((*store)[k]));
                    ++m_nItemsDone;
                }
                if (m_bCountItems)
                    Report();
            });
    Begin(watcher, static_cast<int>(items.size()), total);
    if (!HasThreads()) {
        m_pTask->Fail(PoolFailure().c_str());
        watcher->setFuture(QtFuture::makeReadyFuture<int>(QList<int>{}));
        return;
    }
    watcher->setFuture(
        QtConcurrent::mapped(Pool(), places, [task = m_pTask, store, items, work](int k) {
            if (!task->Guarded([&] { (*store)[k] = work(items[k], *task); }))
                return -1;
            platform::HandOver(&(*store)[k]);
            return k;
        }));
}

template <class Fn> bool CRunnerTask::Guarded(Fn fn) {
    if (m_bFailed)
        return false;
    CRunner::BelowTheWindows();
    try {
        fn();
        return true;
    } catch (...) {
        Fail(platform::CurrentFailure().c_str());
    }
    return false;
}
