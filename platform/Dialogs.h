#pragma once
#include <functional>
#include <optional>
#include <string>

class QWidget;

// Message boxes, file dialogs and the beep go through here, so that tests can answer them
// without a human and without blocking.
namespace platform {

enum { IDOK = 1, IDCANCEL = 2, MB_OK = 0, MB_ICONEXCLAMATION = 0x30 };

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    unsigned type = MB_OK;
};
using MessageBoxResponder = std::function<int(const MessageBoxRequest&)>;

// Shows a modal box with an OK button; returns the button pressed.
int MessageBox(QWidget* parent, const std::string& text, const std::string& caption = {},
               unsigned type = MB_OK);
void SetMessageBoxResponder(MessageBoxResponder responder);

struct FileDialogRequest {
    bool save = true;
    // Windows filter text, pairs separated by '|' and ended by "||".
    std::string filter;
    std::string initialDir;
    std::string fileName;
    std::string defaultExtension; // without the dot; empty: none
};
using FileDialogResponder = std::function<std::optional<std::string>(const FileDialogRequest&)>;

// The full path chosen, or nothing when the user cancelled.
std::optional<std::string> AskFileName(QWidget* parent, const FileDialogRequest& request);
void SetFileDialogResponder(FileDialogResponder responder);

// Converts "Ini Files (*.ini)|*.ini||" into Qt's "Ini Files (*.ini)" list.
std::string QtFilterFromWindows(const std::string& filter);

void Beep();
void SetBeepHook(std::function<void()> hook);

} // namespace platform
