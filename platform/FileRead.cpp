#include "platform/FileRead.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

EFileRead ReadWholeFile(const std::string& path, std::string& text, std::string* error) {
    const std::size_t limit = kMaxReadBytes;
    text.clear();
    auto fail = [&](EFileRead result, const std::string& why) {
        text.clear();
        if (error)
            *error = path + ": " + why;
        return result;
    };
    // Not blocking: opening a FIFO without a writer must not wait for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return fail(errno == ENOENT ? EFileRead::Missing : EFileRead::Refused,
                    std::strerror(errno));
    struct CClose {
        int fd;
        ~CClose() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(EFileRead::Refused, std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        return fail(EFileRead::NotAFile, std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode))
        return fail(EFileRead::NotAFile, "not a regular file (a FIFO, device or socket)");
    const std::string tooLarge = "larger than " + std::to_string(limit >> 20) + " MB";
    if (static_cast<unsigned long long>(st.st_size) > limit)
        return fail(EFileRead::Refused, tooLarge);
    // Read to the end rather than to the size: a file may grow meanwhile.
    try {
        text.reserve(static_cast<std::size_t>(st.st_size));
        char chunk[1 << 16];
        for (;;) {
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return fail(EFileRead::Refused, std::strerror(errno));
            if (n == 0)
                break;
            if (text.size() + static_cast<std::size_t>(n) > limit)
                return fail(EFileRead::Refused, tooLarge);
            text.append(chunk, static_cast<std::size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        return fail(EFileRead::Refused, std::strerror(ENOMEM));
    }
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    return EFileRead::Read;
}

} // namespace platform
