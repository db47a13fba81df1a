#pragma once
#include <string>

// Numbers and names as CSV fields, the same in every file the program writes.
namespace platform {

// At least this many characters fit any number FormatCsvNumber prints.
inline constexpr int kCsvNumberMax = 32;

// One number as "%.17g" prints it in the "C" locale (so it reads back to the same double),
// whatever the locale is; returns the end of the text.
char* FormatCsvNumber(char* out, double value);

// A name as one CSV field: quoted when it holds a separator, a quote or a line break.
std::string CsvField(const std::string& name);

} // namespace platform
