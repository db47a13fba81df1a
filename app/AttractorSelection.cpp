#include "app/FileChoice.h"
#include "app/Qel2Dlg.h"
#include "app/RecordHost.h"

#include "controls/ClrStatic.h"
#include "controls/xStatic.h"
#include "engine/DrawWnd.h"
#include "model/Attractor.h"
#include "res/ResourceIds.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

void CQel2Dlg::OnSelectAttractor(int kind) {
    if (kind == m_nAttractor || kind < 0 || kind >= ATTRACTOR_COUNT)
        return;
    if (m_drawWnd && m_pAttractor)
        OnClear();
    m_nAttractor = kind;
    SelectAttractor();
    OnUpdateAttractorMenu();
}

void CQel2Dlg::SelectAttractor() {
    std::unique_ptr<CAttractor> record(CreateAttractor(m_nAttractor));
    // A missing file or section gives an empty record, as it always has; a refused file says so.
    if (std::string why; record->LoadSettings(&why) == ESettingsRead::Unreadable)
        ReportCannotRead(this, why);
    AdoptRecord(std::move(record));
    ApplyAttractorLayout();
}

// The record replaces the current one, with no accumulation, and the boxes show it.
void CQel2Dlg::AdoptRecord(std::unique_ptr<CAttractor> record) {
    // Nothing may still draw with the record that goes now.
    m_drawWnd->StopWorker();
    m_pAttractor = std::move(record);
    m_bAccumulate = false;
    m_accumulateBox->setChecked(false);
    m_accumulated.clear();
    m_drawWnd->SetAttractor(m_pAttractor.get());
    LoadEntriesFromAttractor();
}

void CQel2Dlg::ApplyAttractorLayout() {
    RelabelControls();
    const bool sorvan = m_nAttractor == SORVAN_KIND;
    m_qelmeterCaption->setVisible(sorvan);
    m_qelmeterValue->setVisible(sorvan);
    for (QWidget* w :
         {static_cast<QWidget*>(m_staticCountry), static_cast<QWidget*>(m_comboCountry),
          static_cast<QWidget*>(m_accumulatedLabel), static_cast<QWidget*>(m_accumulateBox)})
        w->setVisible(m_bCountriesLoaded);
    m_btnStop->setEnabled(false);
    m_btnSimulate->setEnabled(false);
    m_btnRun->setEnabled(false);
    m_drawWnd->m_nAnimate = 0;
    m_bHalted = false;
    PreparePlot();
    emit Host().RecordReplaced();
    m_btnSimulate->setEnabled(true);
    m_btnRun->setEnabled(true);
}

void CQel2Dlg::OnUpdateAttractorMenu() {
    for (int k = 0; k < ATTRACTOR_COUNT; ++k)
        if (QAction* action = CommandAction(kAttractorCommands[k])) {
            action->setChecked(k == m_nAttractor);
            action->setEnabled(k != m_nAttractor);
        }
}

void CQel2Dlg::OnDisplayPlane(int plane) {
    m_nPlane = plane;
    if (m_bHalted) {
        m_bHalted = false;
        m_btnSimulate->setEnabled(true);
        m_drawWnd->m_nPlane = plane;
        OnSimulate();
        return;
    }
    if (!m_drawWnd->SetPlane(plane))
        OnSimulate();
}
