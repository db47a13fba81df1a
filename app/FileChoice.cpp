#include "app/FileChoice.h"

#include "platform/Dialogs.h"
#include "platform/ModulePath.h"
#include "res/StringTable.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

std::string FilesFolderPath() {
    // Beside the program when its files are (a build folder); an installed program's folder
    // (/usr/bin) is no place for a user's files: theirs are in the user's data folder.
    const std::string dir = platform::GetModuleDirectory();
    std::string folder = dir + "Files";
    if (platform::GetProgramFilePath("Attractors.ini") != dir + "Attractors.ini") {
        const char* data = std::getenv("XDG_DATA_HOME");
        const char* home = std::getenv("HOME");
        std::string base = data && *data == '/' ? data
                           : home && *home      ? std::string(home) + "/.local/share"
                                                : std::string();
        if (!base.empty())
            folder = base + "/qel/Files";
    }
    std::error_code ignored; // a failure shows when the file is opened
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

std::optional<std::string> AskFileInFiles(QWidget* parent, bool save, const char* filter,
                                          const char* name, const char* extension) {
    platform::FileDialogRequest request;
    request.save = save;
    request.filter = filter;
    request.initialDir = FilesFolderPath();
    request.fileName = name;
    request.defaultExtension = extension;
    return platform::AskFileName(parent, request);
}

void ReportErrorCreatingFile(QWidget* parent, const QString& path) {
    char text[4096];
    std::snprintf(text, sizeof text, LoadString(IDS_ERROR_CREATING_FILE),
                  path.toLocal8Bit().constData());
    platform::MessageBox(parent, text);
}

void ReportCannotRead(QWidget* parent, const std::string& why) {
    char text[4096];
    std::snprintf(text, sizeof text, LoadString(IDS_CANNOT_READ), why.c_str());
    platform::MessageBox(parent, text);
}
