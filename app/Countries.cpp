#include "app/Qel2Dlg.h"
#include "app/ValueBoxes.h"

#include "countries/CountryPresets.h"
#include "model/Attractor.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>

void CQel2Dlg::LoadCountry(const std::string& name) {
    CountryValues values;
    if (!CountryTexts(m_countries, name, values)) {
        platform::MessageBox(nullptr, "Could not find country name", "Internal");
        return;
    }
    for (int i = 0; i < 7; ++i)
        BoundText(*RowValueBox(i)) = QString::fromStdString(values.text[i]);
    UpdateQelmeter();
    for (int i = 0; i < 7; ++i)
        m_pAttractor->m_param[i].m_bModified = 1;
    CopyMembersToControls();
}

void CQel2Dlg::FillCountryList() {
    m_comboCountry->clear();
    for (const std::string& name : CountryNames(m_countries))
        m_comboCountry->addItem(QString::fromStdString(name));
    m_comboCountry->setCurrentIndex(m_comboCountry->count() > 0 ? 0 : -1);
}

void CQel2Dlg::OnCountryChanged() {
    if (m_comboCountry->currentIndex() >= 0)
        LoadCountry(m_comboCountry->currentText().toStdString());
}

void CQel2Dlg::OnAccumulatedCountries() {
    m_bAccumulate = !m_bAccumulate;
    m_accumulateBox->setChecked(m_bAccumulate);
    if (m_bAccumulate) {
        if (m_comboCountry->currentIndex() >= 0)
            m_accumulated.push_back(m_comboCountry->currentText().toStdString());
    } else {
        m_accumulated.clear();
        OnRun();
    }
}
