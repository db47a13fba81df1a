#include "app/FileChoice.h"
#include "app/Qel2Dlg.h"

#include "engine/BmpWriter.h"
#include "engine/DrawWnd.h"
#include "model/Attractor.h"
#include "platform/AtomicFile.h"
#include "platform/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <QImage>
#include <QPushButton>
#include <memory>

QString CQel2Dlg::AskParameterFile() {
    auto chosen = AskFileInFiles(this, true, "Ini Files (*.ini)|*.ini||", "Parameters.ini", "");
    return chosen ? QString::fromStdString(*chosen) : QString();
}

void CQel2Dlg::OnSaveParameters() {
    const QString path = AskParameterFile();
    if (path.isEmpty())
        return;
    // All six sections are written in memory and replace the file once, so a failure part of
    // the way leaves the earlier file exactly as it was.
    if (!SaveParameterFile(path.toStdString(), *m_pAttractor))
        ReportErrorCreatingFile(this, path);
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

bool CQel2Dlg::WritePicture(const QString& path) {
    // A bitmap's file is made before the picture is drawn, as the classic window did; both go
    // through the atomic writer, so a failure leaves the earlier file as it was.
    const std::string name = path.toStdString();
    platform::CAtomicFile file(name);
    if (IsBmpExtension(name) && !file.Open()) {
        ReportErrorCreatingFile(this, path);
        return false;
    }
    const std::string bytes = EncodeImageFile(CaptureBitmap(), name);
    if (bytes.empty() || !file.Write(bytes) || !file.Commit()) {
        ReportErrorCreatingFile(this, path);
        return false;
    }
    return true;
}

void CQel2Dlg::OnSaveAs() {
    auto chosen = AskFileInFiles(this, true, "Bmp Files (*.bmp)|*.bmp|PngFiles (*.png)|*.Png||",
                                 "graph", "bmp");
    if (!chosen)
        return;
    // The canvas is not for two threads: a running or paused animation ends first.
    if (m_drawWnd->StopWorker()) {
        m_btnStop->setEnabled(false);
        m_btnSimulate->setEnabled(true);
        m_drawWnd->m_nAnimate = 0;
    }
    WritePicture(QString::fromStdString(*chosen));
}
