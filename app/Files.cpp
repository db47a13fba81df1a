#include "app/FileChoice.h"
#include "app/Qel2Dlg.h"

#include "countries/CountryPresets.h"
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

void CQel2Dlg::OnSaveParameters() {
    const auto chosen =
        AskFileInFiles(this, true, "Ini Files (*.ini)|*.ini||", "Parameters.ini", "");
    // All six sections are written in memory and replace the file once, so a failure part of
    // the way leaves the earlier file exactly as it was.
    if (chosen && !SaveParameterFile(*chosen, *m_pAttractor))
        ReportErrorCreatingFile(this, QString::fromStdString(*chosen));
}

QImage CQel2Dlg::CaptureBitmap() {
    const QRect frame = GetDlgItem(IDC_PLOT_FRAME)->geometry();
    QImage capture(frame.size(), QImage::Format_RGB32);
    if (capture.isNull())
        return capture;
    capture.fill(Qt::black);
    if (IsAccumulating() && !m_accumulated.empty()) {
        for (const std::string& name : m_accumulated) {
            ApplyCountryToAttractor(m_countries, name, *m_pAttractor);
            m_drawWnd->RenderPlaneInto(capture);
        }
    } else {
        m_drawWnd->RenderPlaneInto(capture);
    }
    m_drawWnd->CopyToScreen(capture); // the screen shows what was exported
    return capture;
}

bool CQel2Dlg::WritePicture(const QString& path) {
    // A bitmap's file is made before the picture is drawn, so an unwritable name is reported
    // before the screen changes; both go through the atomic writer.
    const std::string name = path.toStdString();
    platform::CAtomicFile file(name);
    if (IsBmpExtension(name) && !file.Open()) {
        ReportErrorCreatingFile(this, path);
        return false;
    }
    if (!WriteImageTo(CaptureBitmap(), name, file) || !file.Commit()) {
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
    StopForSave();
    WritePicture(QString::fromStdString(*chosen));
}
