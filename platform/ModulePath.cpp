#include "ModulePath.h"

#include <cctype>
#include <climits>
#include <mutex>
#include <unistd.h>

namespace platform {
namespace {
std::mutex g_mutex;
std::string g_override;
} // namespace

std::string GetModuleDirectory() {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (!g_override.empty())
            return g_override;
    }
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return "./";
    std::string path(buf, static_cast<std::size_t>(n));
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string GetProgramFilePath(const std::string& name) {
    const std::string dir = GetModuleDirectory();
    const std::string beside = dir + name;
    if (::access(beside.c_str(), F_OK) == 0)
        return beside;
    const std::size_t parent = dir.size() < 2 ? std::string::npos : dir.rfind('/', dir.size() - 2);
    if (parent == std::string::npos)
        return beside;
    const std::string installed = dir.substr(0, parent + 1) + "share/qel/" + name;
    return ::access(installed.c_str(), F_OK) == 0 ? installed : beside;
}

void SetModuleDirectoryOverride(const std::string& dir) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_override = dir;
    if (!g_override.empty() && g_override.back() != '/')
        g_override += '/';
}

std::string MapWindowsPath(const std::string& path) {
    std::string r = path;
    for (char& c : r)
        if (c == '\\')
            c = '/';
    if (r.size() >= 2 && std::isalpha(static_cast<unsigned char>(r[0])) && r[1] == ':')
        r.erase(0, 2);
    return r;
}

} // namespace platform
