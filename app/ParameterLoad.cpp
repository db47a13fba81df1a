#include "app/FileChoice.h"
#include "app/Qel2Dlg.h"
#include "app/ValueBoxes.h"

#include "model/Attractor.h"
#include "platform/Dialogs.h"
#include "platform/ProfileFile.h"
#include "res/StringTable.h"

#include <QComboBox>
#include <cstdio>

void CQel2Dlg::OnLoadParameters() {
    const auto chosen =
        AskFileInFiles(this, false, "Ini Files (*.ini)|*.ini||", "Parameters.ini", "");
    if (!chosen)
        return;
    // A missing file and a file without the record's section hold no parameters for it; one
    // refused (a folder, a FIFO, a device, too large) cannot be read. Only this load reads the
    // chosen file; the record keeps the settings file as its own.
    std::unique_ptr<CAttractor> loaded(CreateAttractor(m_nAttractor));
    platform::CProfileText file;
    std::string why;
    if (const auto read = file.Read(*chosen, &why);
        read == platform::EFileRead::NotAFile || read == platform::EFileRead::Refused) {
        ReportCannotRead(this, why);
        return;
    }
    if (!loaded || !loaded->ReadSettings(file)) {
        char text[4096];
        std::snprintf(text, sizeof text, LoadString(IDS_NO_PARAMETERS), chosen->c_str(),
                      AttractorKindName(m_nAttractor));
        platform::MessageBox(this, text);
        return;
    }

    // The rest is a selection of the current kind with the loaded record.
    OnClear();
    AdoptRecord(std::move(loaded));
    if (m_nAttractor == SORVAN_KIND) {
        // The file's values, not a country's: no country is chosen.
        for (const CValueBox& box : kValueBoxes)
            if (box.nRow >= 0 && box.nRow < 7)
                BoundText(box) = box.Text(box.Stored(*m_pAttractor));
        m_comboCountry->setCurrentIndex(-1);
        CopyMembersToControls();
        UpdateQelmeter();
    }
    ApplyAttractorLayout();
    // The boxes show what the record holds: nothing waits for a Run to accept it, and a
    // value beyond its limits from a country's file is not refused again.
    for (const CValueBox& box : kValueBoxes)
        box.Parameter(*m_pAttractor).m_bModified = 0;
}
