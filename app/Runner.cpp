#include "app/Runner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThreadPool>
#include <QTimer>

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
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool(QCoreApplication::instance());
        p->setMaxThreadCount(QThread::idealThreadCount());
        return p;
    }();
    return pool;
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
