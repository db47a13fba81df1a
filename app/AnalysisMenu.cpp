#include "app/BifurcationWnd.h"
#include "app/Qel2Dlg.h"
#include "app/StabilityMapWnd.h"
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
    for (int k = 0; k < count; ++k) {
        const int p = params[k];
        if (p < 0 || p > 6)
            continue;
        char text[512];
        std::snprintf(text, sizeof text, "%8f", values[k]);
        m_strParam[p] = TrimZeros(QString::fromLatin1(text));
        m_pAttractor->m_param[p].m_bModified = 1;
        // Only the swept boxes: whatever else the user typed stays.
        m_edit[EDIT_A + p]->setText(m_strParam[p]);
    }
}
