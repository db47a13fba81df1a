#include "Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace platform {
namespace {
MessageBoxResponder g_messageResponder;
FileDialogResponder g_fileResponder;
std::function<void()> g_beepHook;

// Without a window manager nothing hands the keyboard back to the window that opened a dialog,
// and its menu keys go nowhere afterwards.
void GiveFocusBack(QWidget* parent) {
    if (parent && parent->window()->isVisible())
        parent->window()->activateWindow();
}
} // namespace

int MessageBox(QWidget* parent, const std::string& text, const std::string& caption,
               unsigned type) {
    MessageBoxRequest request{text, caption.empty() ? std::string("QEL") : caption, type};
    if (g_messageResponder)
        return g_messageResponder(request);
    QMessageBox box(type & MB_ICONEXCLAMATION ? QMessageBox::Warning : QMessageBox::Information,
                    QString::fromStdString(request.caption), QString::fromStdString(text),
                    QMessageBox::Ok, parent);
    box.exec();
    GiveFocusBack(parent);
    return IDOK;
}

void SetMessageBoxResponder(MessageBoxResponder responder) {
    g_messageResponder = std::move(responder);
}

std::string QtFilterFromWindows(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        QString label = parts[i];
        // Qt reads the patterns from the parentheses of the label.
        int paren = label.indexOf('(');
        if (paren >= 0)
            label = label.left(paren).trimmed();
        out << QString("%1 (%2)").arg(label, patterns);
    }
    return out.join(";;").toStdString();
}

std::optional<std::string> AskFileName(QWidget* parent, const FileDialogRequest& request) {
    if (g_fileResponder)
        return g_fileResponder(request);
    QFileDialog dialog(parent);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setNameFilters(QString::fromStdString(QtFilterFromWindows(request.filter)).split(";;"));
    if (!request.initialDir.empty())
        dialog.setDirectory(QString::fromStdString(request.initialDir));
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.selectFile(QString::fromStdString(request.fileName));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    GiveFocusBack(parent);
    if (!accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

void SetFileDialogResponder(FileDialogResponder responder) {
    g_fileResponder = std::move(responder);
}

void Beep() {
    if (g_beepHook)
        g_beepHook();
    QApplication::beep();
}

void SetBeepHook(std::function<void()> hook) {
    g_beepHook = std::move(hook);
}

} // namespace platform
