#pragma once
// Helpers shared by the engine and the main-window tests.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

// The pixels of img inside r (all by default), every step-th each way, for which is holds.
template <typename P> int CountPixels(const QImage& img, P is, QRect r = {}, int step = 1) {
    if (r.isNull())
        r = img.rect();
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); y += step)
        for (int x = r.left(); x <= r.right(); x += step)
            n += is(img.pixel(x, y));
    return n;
}
inline bool Lit(QRgb p) {
    return (p & 0xFFFFFF) != 0;
}

// Lets queued events through for at least ms milliseconds.
inline void Pump(int ms) {
    QElapsedTimer t;
    t.start();
    do
        QApplication::processEvents(QEventLoop::AllEvents, 2);
    while (t.elapsed() < ms);
}

// Pumps until f holds; ms only bounds a hang.
template <typename F> bool WaitFor(F&& f, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!f() && t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return f();
}

// Aborts the process when what it guards outlasts its limit: a hang is a fault that the test
// could never report otherwise.
class CWatchdog {
public:
    CWatchdog(int seconds, std::string what)
        : m_thread([this, seconds, what] {
              std::unique_lock<std::mutex> lock(m_mutex);
              if (!m_cv.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_bDone; })) {
                  std::fprintf(stderr, "watchdog: %s took over %d s\n", what.c_str(), seconds);
                  std::abort();
              }
          }) {}
    ~CWatchdog() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bDone = true;
        }
        m_cv.notify_one();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bDone = false;
    std::thread m_thread; // last: it starts once the rest exists
};
