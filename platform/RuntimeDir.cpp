#include "RuntimeDir.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool IsPrivateDirOf(const std::string& dir, unsigned uid) {
    struct stat st;
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid &&
           (st.st_mode & 0777) == 0700;
}

std::string EnsureRuntimeDir() {
    const char* set = std::getenv("XDG_RUNTIME_DIR");
    if (set && *set)
        return set;
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = tmp && *tmp ? tmp : "/tmp";
    // One folder per user, reused by every run; if someone else holds the name, a fresh one.
    std::string dir = base + "/qel-runtime-" + std::to_string(::getuid());
    if (::mkdir(dir.c_str(), 0700) != 0 && !IsPrivateDirOf(dir, ::getuid())) {
        std::string templ = base + "/qel-runtime-XXXXXX";
        if (!::mkdtemp(templ.data()))
            return std::string();
        dir = templ;
    }
    if (!IsPrivateDirOf(dir, ::getuid()))
        return std::string();
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    return dir;
}

} // namespace platform
