#include "Dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
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

// An empty name makes Qt's dialog select the shown folder itself, a row of the folder above.
// Its later toggling takes that row for the file in the same row number of the list, the
// folder comes back first in the selection: Save greys and Enter only re-enters the folder.
// Only rows of the shown folder stay selected; a typed path elsewhere still counts as typed.
void KeepSelectionInShownFolder(QFileDialog& dialog) {
    auto* view = dialog.findChild<QAbstractItemView*>("listView");
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    if (!view || !name)
        return;
    QObject::connect(name, &QLineEdit::textChanged, &dialog, [view] {
        QItemSelectionModel* selection = view->selectionModel();
        for (const QModelIndex& row : selection->selectedRows())
            if (row.parent() != view->rootIndex())
                selection->select(row, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    });
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
        // Qt reads the patterns from the parentheses of the label, and matches names in any
        // case: a label naming the same patterns in another case is shown as written.
        const int paren = label.indexOf('(');
        if (paren >= 0 && label.endsWith(')') &&
            label.mid(paren + 1, label.size() - paren - 2).compare(patterns, Qt::CaseInsensitive) ==
                0) {
            out << label;
            continue;
        }
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
    KeepSelectionInShownFolder(dialog);
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
