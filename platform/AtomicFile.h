#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The one way every file is written. The bytes go into a temporary of a unique name beside the
// target, every write and the close checked, then fsync and a rename over the target: a failure
// at any point leaves the earlier file as it was and no temporary behind. A target that is not
// a regular file (a device, a FIFO, "-" for standard output) is written in place as a stream and
// never replaced; a symbolic link is followed, so the file it points to is replaced and the link
// stays. A new file gets the usual mode (0666 less the umask), a replaced one keeps its mode.
class CAtomicFile {
public:
    explicit CAtomicFile(std::string path);
    ~CAtomicFile(); // not committed: abandoned
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // Creates the temporary (or opens the stream). Write opens on first use.
    bool Open();
    // Buffered; false from the first failure on.
    bool Write(const void* data, std::size_t size);
    bool Write(std::string_view text) { return Write(text.data(), text.size()); }
    // The last write, fsync, close and rename. False on failure, with nothing left behind.
    bool Commit();
    // Removes the temporary; the target stays as it was.
    void Abandon();
    // "PATH: reason" after a failure.
    const std::string& Error() const { return m_strError; }

private:
    bool Fail(int error);
    bool Flush();

    std::string m_strPath;   // as given, for the messages
    std::string m_strTarget; // the file the links lead to
    std::string m_strTemp;   // empty when writing in place
    int m_fd = -1;
    bool m_bFailed = false, m_bDone = false;
    std::vector<char> m_buffer;
    std::string m_strError;
};

// The file a path names once its symbolic links are followed; it may not exist yet.
std::string FollowLinks(std::string path);

// The whole content at once. False on failure, with the error in *error when asked for.
bool WriteFileAtomically(const std::string& path, std::string_view data,
                         std::string* error = nullptr);

} // namespace platform
