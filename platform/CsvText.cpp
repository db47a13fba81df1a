#include "platform/CsvText.h"

#include <charconv>

namespace platform {

char* FormatCsvNumber(char* out, double value) {
    // to_chars with a precision prints as printf's %.*g does, without looking at the locale.
    return std::to_chars(out, out + kCsvNumberMax, value, std::chars_format::general, 17).ptr;
}

std::string CsvField(const std::string& name) {
    if (name.find_first_of(",\"\r\n") == std::string::npos)
        return name;
    std::string quoted = "\"";
    for (char c : name)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace platform
