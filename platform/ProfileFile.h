#pragma once
#include <cstddef>
#include <string>

// The INI reader and writer that settings and saved parameter files go through.
// Names match without regard to case; a missing file, section or key reads as the default.
namespace platform {

// The value of key in section, trimmed of blanks and cut to size - 1 characters.
std::string GetPrivateProfileString(const char* section, const char* key, const char* def,
                                    std::size_t size, const std::string& path);

// Replaces the key's value in place, or appends the key at the end of its section, or the
// section at the end of the file. Other lines stay byte for byte. The file is replaced
// atomically, so a failed write leaves the old file as it was. Returns false on failure.
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const std::string& path);

} // namespace platform
