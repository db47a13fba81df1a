#pragma once
#include <condition_variable>
#include <mutex>

// A manual-reset event: open lets plotting proceed, closed makes an animation pass wait.
class CRunGate {
public:
    explicit CRunGate(bool open = true) : m_bOpen(open) {}
    void Set() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bOpen = true;
        }
        m_cv.notify_all();
    }
    void Reset() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bOpen = false;
    }
    void Wait() {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this] { return m_bOpen; });
    }
    // A wait with a zero time-out.
    bool IsSet() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_bOpen;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bOpen;
};

// The one gate of the process, created open on first use; the application touches it before
// any window exists.
CRunGate& RunGate();
