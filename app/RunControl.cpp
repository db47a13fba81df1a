#include "app/Qel2Dlg.h"
#include "app/RecordHost.h"
#include "app/ValueBoxes.h"

#include "controls/xStatic.h"
#include "engine/DrawWnd.h"
#include "engine/RunGate.h"
#include "model/Attractor.h"
#include "res/ResourceIds.h"

#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>

bool CQel2Dlg::IsAccumulating() const {
    return m_bAccumulate && m_nAttractor == SORVAN_KIND;
}

void CQel2Dlg::OnRun() {
    m_bHalted = false;
    m_drawWnd->StopWorker();
    m_drawWnd->m_nAnimate = 0;
    m_btnSimulate->setEnabled(false);
    m_btnRun->setEnabled(false);
    m_btnStop->setEnabled(false);
    m_progress->hide();
    m_status->SetWindowText("");

    const bool sorvan = m_nAttractor == SORVAN_KIND;
    for (const CValueBox& box : kValueBoxes)
        ValidateEntry(box, sorvan);

    if (m_bAccepted || IsAccumulating()) {
        PreparePlot();
        m_bAccepted = false;
        if (sorvan) {
            UpdateQelmeter();
            if (m_bAccumulate && m_comboCountry->currentIndex() >= 0)
                m_accumulated.push_back(m_comboCountry->currentText().toStdString());
        }
        emit Host().RecordReplaced();
    }
    m_btnSimulate->setEnabled(true);
    m_btnRun->setEnabled(true);
    m_drawWnd->RedrawNow();
}

void CQel2Dlg::PreparePlot() {
    m_nProgressDivisor =
        static_cast<int>((static_cast<int64_t>(m_pAttractor->m_iteration.m_value) * 3) / 1000);
    m_progress->setValue(0);
    m_progress->show();
    m_status->SetWindowText(m_strPreparing);
    m_status->show();
    RepaintNow();
    m_drawWnd->Reset(IsAccumulating() ? 1 : 0);
    m_progress->hide();
    // The plot repaints with the window: it shows the new picture of the current plane, and
    // its WM_PLOT_SHOWN clears the status line.
    m_drawWnd->Invalidate();
    RepaintNow();
}

long CQel2Dlg::OnPlotProgress() {
    if (++m_nProgressCount < m_nProgressDivisor)
        return 0;
    m_nProgressCount = 0;
    m_progress->setValue(std::min(m_progress->value() + 1, m_progress->maximum()));
    if (m_progress->value() >= 100) {
        m_progress->hide();
        m_progress->setValue(0);
        m_status->SetWindowText(m_strSpilling);
        m_status->repaint();
    } else if (m_progress->isVisible()) {
        m_progress->repaint(); // a Run draws on this thread: show the step now
    }
    return 0;
}

long CQel2Dlg::OnPlotFinished() {
    m_btnStop->setEnabled(false);
    m_btnSimulate->setEnabled(true);
    m_drawWnd->m_nAnimate = 0;
    return 0;
}

long CQel2Dlg::OnPlotShown() {
    m_status->SetWindowText("");
    m_status->update();
    return 0;
}

void CQel2Dlg::OnSimulate() {
    m_bSimulating = true;
    m_bHalted = false;
    m_nProgressDivisor = m_pAttractor->m_iteration.m_value / 1000;
    if (RunGate().IsSet())
        m_progress->setValue(0);
    m_btnSimulate->setEnabled(false);
    m_btnStop->setEnabled(true);
    m_drawWnd->m_nAnimate = 1;
    m_drawWnd->StartOnPaint();
}

void CQel2Dlg::OnStop() {
    m_btnStop->setEnabled(false);
    m_btnSimulate->setEnabled(true);
    m_drawWnd->m_nAnimate = 0;
    m_drawWnd->Pause();
}

void CQel2Dlg::OnClear() {
    if (m_bSimulating) {
        m_bSimulating = false;
        m_bHalted = true;
        m_btnSimulate->setEnabled(true);
        m_btnStop->setEnabled(false);
        m_drawWnd->StopWorker();
        m_drawWnd->ClearPlane(m_nPlane);
        m_progress->setValue(0);
    } else {
        m_drawWnd->ClearPlane(m_nPlane);
    }
    m_accumulated.clear();
    m_bSimulating = false;
}

void CQel2Dlg::StopForSave() {
    // The canvas is not for two threads: a running or paused animation ends first.
    if (m_drawWnd->StopWorker()) {
        m_btnStop->setEnabled(false);
        m_btnSimulate->setEnabled(true);
        m_drawWnd->m_nAnimate = 0;
    }
}
