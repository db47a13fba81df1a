#include "app/FileChoice.h"
#include "app/Qel2Dlg.h"

#include "controls/FloatEdit.h"
#include "engine/DrawWnd.h"
#include "model/Attractor.h"
#include "platform/Dialogs.h"
#include "platform/ProfileFile.h"
#include "res/StringTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <cstdio>

void CQel2Dlg::OnLoadParameters() {
    const auto chosen =
        AskFileInFiles(this, false, "Ini Files (*.ini)|*.ini||", "Parameters.ini", "");
    if (!chosen)
        return;
    // A missing file, an unreadable one and a file without the record's section all hold no
    // parameters for it. Only this load reads the chosen file; the record keeps the settings
    // file as its own.
    std::unique_ptr<CAttractor> loaded(CreateAttractor(m_nAttractor));
    platform::CProfileText file;
    if (!loaded || !file.Load(*chosen) || !loaded->ReadSettings(file)) {
        char text[4096];
        std::snprintf(text, sizeof text, LoadString(IDS_NO_PARAMETERS), chosen->c_str(),
                      AttractorKindName(m_nAttractor));
        platform::MessageBox(this, text);
        return;
    }

    // The rest is a selection of the current kind with the loaded record.
    OnClear();
    m_drawWnd->StopWorker();
    m_pAttractor = std::move(loaded);
    m_bAccumulate = false;
    m_accumulateBox->setChecked(false);
    m_accumulated.clear();
    m_drawWnd->SetAttractor(m_pAttractor.get());
    LoadEntriesFromAttractor();
    if (m_nAttractor == SORVAN_KIND) {
        // The file's values, not a country's: no country is chosen.
        for (int i = 0; i < 7; ++i) {
            char text[512];
            std::snprintf(text, sizeof text, "%8f", m_pAttractor->m_param[i].m_stored);
            m_strParam[i] = TrimZeros(QString::fromLatin1(text));
        }
        m_comboCountry->setCurrentIndex(-1);
        CopyMembersToControls();
        UpdateQelmeter();
    }
    ApplyAttractorLayout();
    // The boxes show what the record holds: nothing waits for a Run to accept it, and a
    // value beyond its limits from a country's file is not refused again.
    for (PARAMETER* p : {static_cast<PARAMETER*>(&m_pAttractor->m_variation),
                         static_cast<PARAMETER*>(&m_pAttractor->m_iteration),
                         static_cast<PARAMETER*>(&m_pAttractor->m_initX),
                         static_cast<PARAMETER*>(&m_pAttractor->m_initY),
                         static_cast<PARAMETER*>(&m_pAttractor->m_initZ),
                         static_cast<PARAMETER*>(&m_pAttractor->m_zoom)})
        p->m_bModified = 0;
    for (double_PARAM& p : m_pAttractor->m_param)
        p.m_bModified = 0;
}
