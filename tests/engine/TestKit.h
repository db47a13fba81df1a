#pragma once
// Helpers shared by the engine and the main-window tests.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <chrono>
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

// Aborts the process when an armed stretch outlasts its limit: a hang is a fault that the test
// could never report otherwise.
class CWatchdog {
public:
    explicit CWatchdog(int seconds, const std::string& what = {}) : m_nLimitMs(seconds * 1000) {
        Arm(what);
        m_thread = std::thread([this] {
            for (;;) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_bDone)
                    return;
                if (m_nStart && NowMs() - m_nStart > m_nLimitMs) {
                    std::fprintf(stderr, "watchdog: blocked for over %d ms in %s\n", m_nLimitMs,
                                 m_strWhat.c_str());
                    std::abort();
                }
            }
        });
    }
    ~CWatchdog() {
        Arm({}, true);
        m_thread.join();
    }
    // Starts the clock for what follows; an empty name stops it.
    void Arm(const std::string& what, bool done = false) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_strWhat = what;
        m_nStart = what.empty() ? 0 : NowMs();
        m_bDone = done;
    }

private:
    static long long NowMs() {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    const int m_nLimitMs;
    bool m_bDone = false;
    long long m_nStart = 0;
    std::mutex m_mutex;
    std::string m_strWhat;
    std::thread m_thread;
};
