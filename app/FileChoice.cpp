#include "app/FileChoice.h"

#include "platform/Dialogs.h"
#include "platform/ModulePath.h"
#include "res/StringTable.h"

#include <cstdio>
#include <sys/stat.h>

std::string FilesFolderPath() {
    const std::string folder = platform::GetModuleDirectory() + "Files";
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        ::mkdir(folder.c_str(), 0755); // a failure shows when the file is opened
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
