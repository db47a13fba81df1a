#include "platform/AtomicFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// A new file beside target, of a name no other writer has, with the usual mode.
int CreateTemporary(const std::string& target, std::string& name) {
    static std::atomic<unsigned> serial{0};
    const std::size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    // Cut so that the name with its suffix stays within a file name's length.
    const std::string base = target.substr(folder.size()).substr(0, 200);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[40];
        std::snprintf(suffix, sizeof suffix, ".%08x%04x.tmp", random(), serial++ & 0xFFFF);
        name = folder + "." + base + suffix;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        std::vector<char> target(PATH_MAX + 1);
        const ssize_t n = ::readlink(path.c_str(), target.data(), PATH_MAX);
        if (n <= 0)
            break;
        std::string link(target.data(), static_cast<std::size_t>(n));
        const std::size_t slash = path.find_last_of('/');
        path =
            link[0] == '/' || slash == std::string::npos ? link : path.substr(0, slash + 1) + link;
    }
    return path;
}

CAtomicFile::CAtomicFile(std::string path) : m_strPath(std::move(path)) {}

CAtomicFile::~CAtomicFile() {
    Abandon();
}

bool CAtomicFile::Fail(int error) {
    if (!m_bFailed)
        m_strError = m_strPath + ": " + std::strerror(error);
    m_bFailed = true;
    Abandon();
    return false;
}

bool CAtomicFile::Open() {
    if (m_fd >= 0 || m_bFailed || m_bDone)
        return m_fd >= 0;
    if (m_strPath == "-") {
        m_fd = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
        return m_fd >= 0 || Fail(errno);
    }
    const std::string target = FollowLinks(m_strPath);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return Fail(EISDIR);
    if (exists && !S_ISREG(st.st_mode)) {
        m_fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        return m_fd >= 0 || Fail(errno);
    }
    m_fd = CreateTemporary(target, m_strTemp);
    if (m_fd < 0) {
        m_strTemp.clear();
        return Fail(errno);
    }
    if (exists && ::fchmod(m_fd, st.st_mode & 07777) != 0)
        return Fail(errno);
    m_strTarget = target;
    return true;
}

bool CAtomicFile::Flush() {
    const char* p = m_buffer.data();
    std::size_t left = m_buffer.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Fail(n < 0 ? errno : EIO);
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    m_buffer.clear();
    return true;
}

bool CAtomicFile::Write(const void* data, std::size_t size) {
    if (!Open())
        return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const std::size_t take = std::min(size, kBufferSize - m_buffer.size());
        m_buffer.insert(m_buffer.end(), p, p + take);
        p += take;
        size -= take;
        if (m_buffer.size() == kBufferSize && !Flush())
            return false;
    }
    return true;
}

bool CAtomicFile::Commit() {
    if (!Open() || !Flush())
        return false;
    // A stream (a device, a FIFO, standard output) has nothing to sync.
    if (!m_strTemp.empty() && ::fsync(m_fd) != 0)
        return Fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        return Fail(errno);
    if (!m_strTemp.empty() && ::rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0)
        return Fail(errno);
    m_strTemp.clear();
    m_bDone = true;
    return true;
}

void CAtomicFile::Abandon() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_strTemp.empty())
        ::unlink(m_strTemp.c_str());
    m_strTemp.clear();
    m_buffer.clear();
}

bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* error) {
    CAtomicFile file(path);
    const bool ok = file.Write(data) && file.Commit();
    if (!ok && error)
        *error = file.Error();
    return ok;
}

} // namespace platform
