#include "app/Runner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThreadPool>
#include <QTimer>
#include <cerrno>
#include <condition_variable>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

QThreadPool* g_pPool = nullptr;
int g_nThreads = 0; // that started
std::string g_strPoolFailure;
int g_nWorkNice = 0; // the windows' nice value and then some
void (*g_pReport)(const std::string&) = nullptr;

// Qt says that a thread could not start only in a warning, from the thread that asked for it.
thread_local std::string t_strStartError;
QtMessageHandler g_pOtherHandler = nullptr;

void NoteThreadStart(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    static const QString failed = "QThread::start: Thread creation error";
    if (!text.startsWith(failed))
        return g_pOtherHandler ? g_pOtherHandler(type, context, text) : void();
    // "... error (REASON)": the reason goes into one message of our own.
    const qsizetype open = text.indexOf('(', failed.size());
    t_strStartError = (open < 0 ? text.mid(failed.size()) : text.mid(open + 1).chopped(1))
                          .trimmed()
                          .toStdString();
}

// Runs on each thread as it starts, until all have started: a thread that waits here is not
// idle, so the pool makes a new one for the next.
struct CGate {
    std::mutex mutex;
    std::condition_variable open;
    bool bOpen = false;
};

} // namespace

CRunner::CRunner(QObject* parent) : QObject(parent) {
    // Work that counts its own progress is looked at a few times a second.
    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(100);
    connect(m_pTimer, &QTimer::timeout, this, &CRunner::Report);
}

CRunner::~CRunner() {
    Wait();
}

QThreadPool* CRunner::Pool() {
    if (!g_pPool)
        StartPool(0);
    return g_pPool;
}

bool CRunner::StartPool(int threads, std::string* why) {
    if (!g_pPool) {
        const int wanted = threads > 0 ? threads : QThread::idealThreadCount();
        errno = 0;
        const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)));
        g_nWorkNice = errno ? 5 : std::min(nice + 5, 19);
        g_pPool = new QThreadPool(QCoreApplication::instance());
        g_pPool->setObjectName("qel-work");
        g_pPool->setExpiryTimeout(-1); // kept, so that none has to start again later
        g_pPool->setMaxThreadCount(wanted);
        auto gate = std::make_shared<CGate>();
        g_pOtherHandler = qInstallMessageHandler(NoteThreadStart);
        for (g_nThreads = 0; g_nThreads < wanted; ++g_nThreads) {
            t_strStartError.clear();
            g_pPool->start([gate] {
                std::unique_lock lock(gate->mutex);
                gate->open.wait(lock, [&] { return gate->bOpen; });
            });
            if (!t_strStartError.empty())
                break;
        }
        qInstallMessageHandler(g_pOtherHandler);
        {
            std::lock_guard lock(gate->mutex);
            gate->bOpen = true;
        }
        gate->open.notify_all();
        // Every thread idle before the first job: QtConcurrent starts a job's threads only as
        // it begins, and one still busy with the gate then would leave the job a thread short
        // for good (a qel-render map on two threads ran on one). Not waitForDone: that deletes
        // the threads, and the job would have to start them again.
        while (g_nThreads == wanted && g_pPool->activeThreadCount() > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        if (g_nThreads < wanted) {
            g_strPoolFailure = "cannot start " + std::to_string(wanted) + " threads, only " +
                               std::to_string(g_nThreads) + ": " + t_strStartError;
            // The thread that did not start counts as busy for ever: the pool may start no
            // other, and waiting for it to be idle would never end, so it is never deleted.
            g_pPool->setMaxThreadCount(g_nThreads + 1);
            g_pPool->setParent(nullptr);
            // Work runs on fewer threads; with none, each job fails and says so itself.
            if (g_nThreads > 0 && g_pReport)
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(), [] { g_pReport(g_strPoolFailure); },
                    Qt::QueuedConnection);
        }
    }
    if (why)
        *why = g_strPoolFailure;
    return g_strPoolFailure.empty();
}

bool CRunner::HasThreads() {
    return Pool() && g_nThreads > 0;
}

std::string CRunner::PoolFailure() {
    return g_strPoolFailure;
}

void CRunner::BelowTheWindows() {
    // Linux keeps a nice value per thread; the GUI thread keeps its own.
    thread_local const bool lowered =
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), g_nWorkNice) == 0;
    (void)lowered;
}

void CRunner::SetFailureReport(void (*report)(const std::string&)) {
    g_pReport = report;
}

std::string CRunner::Failure() const {
    if (!m_pTask)
        return {};
    std::lock_guard lock(m_pTask->m_mutex);
    return m_pTask->m_strFailure;
}

void CRunnerTask::Fail(const char* why) {
    {
        std::lock_guard lock(m_mutex);
        if (m_strFailure.empty())
            m_strFailure = why;
    }
    m_bFailed = true;
    m_bCancel = true;
}

void CRunner::Begin(QFutureWatcher<int>* watcher, int count, int64_t total) {
    delete m_pWatcher; // a job before this one: its late signals go with it
    m_pWatcher = watcher;
    m_bCountItems = total < 0;
    m_nTotal = m_bCountItems ? count : total;
    m_nItemsDone = 0;
    m_bEnded = false;
    connect(watcher, &QFutureWatcherBase::finished, this, [this] {
        m_pTimer->stop();
        m_bEnded = true;
        Report();
        if (const std::string why = Failure(); !why.empty() && g_pReport)
            g_pReport(why);
        emit Finished();
    });
    if (!m_bCountItems)
        m_pTimer->start();
    emit Progress(0, m_nTotal);
}

void CRunner::Report() {
    const int64_t done = m_bCountItems ? m_nItemsDone : m_pTask->m_nDone.load();
    emit Progress(std::min(done, m_nTotal), m_nTotal);
}

void CRunner::Cancel() {
    if (!IsRunning())
        return;
    m_pTask->m_bCancel = true;
    m_pWatcher->cancel();
}

void CRunner::Wait() {
    Cancel();
    if (m_pWatcher)
        m_pWatcher->waitForFinished();
}

void CRunner::RunToEnd() {
    if (!m_pWatcher || m_bEnded)
        return;
    QEventLoop loop;
    connect(this, &CRunner::Finished, &loop, &QEventLoop::quit);
    if (!m_bEnded)
        loop.exec();
}

bool CRunner::IsRunning() const {
    return m_pWatcher && m_pWatcher->isRunning();
}
