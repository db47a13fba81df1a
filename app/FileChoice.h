#pragma once
#include <QString>
#include <optional>
#include <string>

class QWidget;

// Every file dialog of the program opens in the "Files" folder beside the executable; the
// folder is created on first use.
std::string FilesFolderPath();
std::optional<std::string> AskFileInFiles(QWidget* parent, bool save, const char* filter,
                                          const char* name, const char* extension);
// "Error creating file %s" in a message box.
void ReportErrorCreatingFile(QWidget* parent, const QString& path);
// "Cannot read PATH: reason" in a message box, for a file refused as platform::ReadWholeFile
// refuses it.
void ReportCannotRead(QWidget* parent, const std::string& why);
