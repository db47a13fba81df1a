#pragma once
// Qt is not instrumented for ThreadSanitizer, so a hand-over through Qt's queues or thread pool
// (under locks it cannot see) looks like a race to it. HandOver on the giving thread and
// TakeOver on the taking one tell it about the ordering; both are nothing in other builds.
#if defined(__SANITIZE_THREAD__)
#define QEL_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QEL_TSAN 1
#endif
#endif

#ifdef QEL_TSAN
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace platform {
#ifdef QEL_TSAN
inline void HandOver(void* p) {
    __tsan_release(p);
}
inline void TakeOver(void* p) {
    __tsan_acquire(p);
}
#else
inline void HandOver(void*) {}
inline void TakeOver(void*) {}
#endif
} // namespace platform
