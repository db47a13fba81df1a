#pragma once
#include "platform/FileRead.h"

#include <cstddef>
#include <string>
#include <vector>

// The INI reader and writer that settings and saved parameter files go through.
// Names match without regard to case; a missing file, section or key reads as the default.
namespace platform {

// A profile file held in memory, so that a record reads its file once and a save of many keys
// replaces the file once. Lines keep their endings: what is not written stays byte for byte.
class CProfileText {
public:
    // Reads the whole file through platform::ReadWholeFile and says how that went; a file not
    // read holds nothing here.
    EFileRead Read(const std::string& path, std::string* error = nullptr);
    // The same; a missing file reads as empty.
    // False, leaving this empty, when it exists but cannot be read or is refused (a folder, a
    // FIFO, a device, too large), with "PATH: reason" in *error.
    bool Load(const std::string& path, std::string* error = nullptr);
    // The same before the file is replaced: one that is not a regular file is written as a
    // stream and reads as empty.
    bool LoadForUpdate(const std::string& path, std::string* error = nullptr);
    // The value of key in section, trimmed of blanks and cut to size - 1 characters.
    std::string Get(const char* section, const char* key, const char* def, std::size_t size) const;
    // Replaces the key's value in place, or appends the key at the end of its section, or the
    // section at the end of the file.
    void Write(const char* section, const char* key, const char* value);
    // Replaces the file through the atomic writer (platform/AtomicFile.h); a failure leaves the
    // old file as it was. False on failure.
    bool Save(const std::string& path) const;
    std::string Text() const;

private:
    std::vector<std::string> m_lines; // each with its line ending, if any
};

// One key read from the file at path.
std::string GetPrivateProfileString(const char* section, const char* key, const char* def,
                                    std::size_t size, const std::string& path);

// One key written into the file at path, which is replaced atomically. Returns false on
// failure.
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::string& path);

} // namespace platform
