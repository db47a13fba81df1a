#include "app/Qel2Dlg.h"

#include "engine/BmpWriter.h"
#include "engine/DrawWnd.h"
#include "model/Attractor.h"
#include "platform/Dialogs.h"
#include "platform/ModulePath.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <QImage>
#include <QPushButton>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace {
std::string FilesFolder() {
    const std::string folder = platform::GetModuleDirectory() + "Files";
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        ::mkdir(folder.c_str(), 0755); // a failure shows up when the file is written
    return folder;
}

void ErrorCreatingFile(QWidget* parent, const QString& path) {
    char text[4096];
    std::snprintf(text, sizeof text, LoadString(IDS_ERROR_CREATING_FILE),
                  path.toLocal8Bit().constData());
    platform::MessageBox(parent, text);
}

// The save dialog in the Files folder, which is created on first use.
std::optional<std::string> AskSaveName(QWidget* parent, const char* filter, const char* name,
                                       const char* extension) {
    platform::FileDialogRequest request;
    request.save = true;
    request.filter = filter;
    request.initialDir = FilesFolder();
    request.fileName = name;
    request.defaultExtension = extension;
    return platform::AskFileName(parent, request);
}
} // namespace

QString CQel2Dlg::AskParameterFile() {
    auto chosen = AskSaveName(this, "Ini Files (*.ini)|*.ini||", "Parameters.ini", "");
    return chosen ? QString::fromStdString(*chosen) : QString();
}

void CQel2Dlg::OnSaveParameters() {
    const QString path = AskParameterFile();
    if (path.isEmpty())
        return;
    // All six sections are written in memory and replace the file once, so a failure part of
    // the way leaves the earlier file exactly as it was.
    if (!SaveParameterFile(path.toStdString(), *m_pAttractor))
        ErrorCreatingFile(this, path);
}

QImage CQel2Dlg::CaptureBitmap() {
    const QRect frame = GetDlgItem(IDC_PLOT_FRAME)->geometry();
    QImage capture(frame.size(), QImage::Format_RGB32);
    if (capture.isNull())
        return capture;
    capture.fill(Qt::black);
    if (IsAccumulating() && !m_accumulated.empty()) {
        for (const std::string& name : m_accumulated) {
            ApplyCountryToAttractor(name);
            m_drawWnd->RenderPlaneInto(capture);
        }
    } else {
        m_drawWnd->RenderPlaneInto(capture);
    }
    m_drawWnd->CopyToScreen(capture); // the screen shows what was exported
    return capture;
}

bool CQel2Dlg::WriteBmp(const QString& path) {
    FILE* f = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (!f) {
        ErrorCreatingFile(this, path);
        return false;
    }
    std::fclose(f);
    const QImage capture = CaptureBitmap();
    if (capture.isNull() || !WriteBmpFile(capture, path.toStdString())) {
        ErrorCreatingFile(this, path);
        return false;
    }
    return true;
}

bool CQel2Dlg::WritePng(const QString& path) {
    const QImage capture = CaptureBitmap();
    if (capture.isNull() || !WritePngFile(capture, path.toStdString())) {
        ErrorCreatingFile(this, path);
        return false;
    }
    return true;
}

void CQel2Dlg::OnSaveAs() {
    auto chosen =
        AskSaveName(this, "Bmp Files (*.bmp)|*.bmp|PngFiles (*.png)|*.Png||", "graph", "bmp");
    if (!chosen)
        return;
    // The canvas is not for two threads: a running or paused animation ends first.
    if (m_drawWnd->StopWorker()) {
        m_btnStop->setEnabled(false);
        m_btnSimulate->setEnabled(true);
        m_drawWnd->m_nAnimate = 0;
    }
    const QString path = QString::fromStdString(*chosen);
    if (IsBmpExtension(*chosen))
        WriteBmp(path);
    else
        WritePng(path);
}
