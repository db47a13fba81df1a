#pragma once
#include <exception>
#include <new>
#include <string>

namespace platform {

// Inside a catch block: the exception being handled, in words for a message. Work, handlers and
// main all end a failure with the same words.
inline std::string CurrentFailure() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "out of memory";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "an unknown error";
    }
}

} // namespace platform
