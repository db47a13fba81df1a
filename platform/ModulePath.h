#pragma once
#include <string>

namespace platform {

// Directory of the running executable, with a trailing '/'. Files that come with the
// program are looked up here.
std::string GetModuleDirectory();

// Lets tests point the program at a folder of their own; empty restores the real one.
void SetModuleDirectoryOverride(const std::string& dir);

// A Windows-style path ("res\\Blinking.bmp", "c:\\temp\\debug.txt") as a path on this system:
// backslashes become '/', and a drive prefix is dropped so the path is rooted.
std::string MapWindowsPath(const std::string& path);

} // namespace platform
