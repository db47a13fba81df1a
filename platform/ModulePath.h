#pragma once
#include <string>

namespace platform {

// Directory of the running executable, with a trailing '/'. Files that come with the
// program are looked up here.
std::string GetModuleDirectory();

// A file that comes with the program (NAME relative, as "res/Blinking.bmp"): beside the
// executable, as in a build folder; else in share/qel beside the executable's folder, as
// installed (<prefix>/bin/qel reads <prefix>/share/qel); if in neither, the path beside the
// executable, so that a message names where it was looked for first.
std::string GetProgramFilePath(const std::string& name);

// Lets tests point the program at a folder of their own; empty restores the real one.
void SetModuleDirectoryOverride(const std::string& dir);

// A Windows-style path ("res\\Blinking.bmp", "c:\\temp\\debug.txt") as a path on this system:
// backslashes become '/', and a drive prefix is dropped so the path is rooted.
std::string MapWindowsPath(const std::string& path);

} // namespace platform
