#include "app/BifurcationWnd.h"
#include "app/Qel2Dlg.h"
#include "app/StabilityMapWnd.h"
#include "app/ValueBoxes.h"
#include "controls/FloatEdit.h"
#include "model/Attractor.h"
#include "res/ResourceIds.h"

#include <QScreen>
#include <algorithm>
#include <cstdio>

void CQel2Dlg::OnAnalysis(int command) {
    CAnalysisWnd*& wnd = command == ID_ANALYSIS_STABILITY_MAP ? m_pMapWnd : m_pBifurcationWnd;
    if (!wnd) {
        if (command == ID_ANALYSIS_STABILITY_MAP)
            wnd = new CStabilityMapWnd(this);
        else
            wnd = new CBifurcationWnd(this);
        // Beside the main window, as far as the screen allows.
        const QRect main = frameGeometry();
        QPoint at(main.right() + 8, main.top());
        if (const QScreen* s = screen()) {
            const QRect avail = s->availableGeometry();
            at.setX(std::max(avail.left(), std::min(at.x(), avail.right() - wnd->width())));
            at.setY(std::max(avail.top(), std::min(at.y(), avail.bottom() - wnd->height())));
        }
        wnd->move(at);
    }
    wnd->Open();
}

CAnalysisWnd* CQel2Dlg::AnalysisWindow(int command) const {
    return command == ID_ANALYSIS_STABILITY_MAP ? m_pMapWnd : m_pBifurcationWnd;
}

void CQel2Dlg::CloseAnalysisWindows() {
    // Their work must end before the record and the boxes go.
    delete m_pMapWnd;
    delete m_pBifurcationWnd;
    m_pMapWnd = m_pBifurcationWnd = nullptr;
}

void CQel2Dlg::WriteSweptValues(const int* params, const double* values, int count) {
    // Axes 0..10 (a..g, X0, Y0, Z0, Variation) are the boxes' own positions.
    for (int k = 0; k < count; ++k)
        for (const CValueBox& box : kValueBoxes) {
            if (box.nEdit != params[k] || box.bInteger || box.nEdit > EDIT_VARIATION)
                continue;
            char text[512];
            std::snprintf(text, sizeof text, "%8f", values[k]);
            QString* bound = BoundText(*this, box);
            *bound = TrimZeros(QString::fromLatin1(text));
            box.Parameter(*m_pAttractor).m_bModified = 1;
            // Only the swept boxes: whatever else the user typed stays.
            m_edit[box.nEdit]->setText(*bound);
        }
}
