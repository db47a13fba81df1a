#pragma once
#include <cstddef>
#include <string>

namespace platform {

// The most a settings, parameter or country file may hold: such a file is a few kilobytes, and
// a larger one is a wrong file that would only fill the memory.
constexpr std::size_t kMaxReadBytes = std::size_t{16} << 20;

enum class EFileRead { Read, Missing, NotAFile, Refused };

// The whole of a regular file of at most kMaxReadBytes, without its UTF-8 byte-order mark. A
// folder, FIFO or device (NotAFile) or a larger file is refused at once, without reading or
// waiting; the text is then empty and *error says "PATH: reason", as for a missing file.
EFileRead ReadWholeFile(const std::string& path, std::string& text, std::string* error = nullptr);

} // namespace platform
