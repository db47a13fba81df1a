#include "app/FileChoice.h"
#include "app/Qel2Dlg.h"
#include "app/ValueBoxes.h"

#include "controls/FloatEdit.h"
#include "controls/xStatic.h"
#include "countries/CountryPresets.h"
#include "model/Attractor.h"
#include "model/KindTable.h"
#include "platform/CRuntime.h"
#include "platform/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <cstdio>

// Limits are skipped only while the economic model has a country other than the first
// chosen: presets may go beyond them. Without a country list every value is checked.
bool CQel2Dlg::ChecksLimits() const {
    return !(m_nAttractor == SORVAN_KIND && m_bCountriesLoaded &&
             m_comboCountry->currentIndex() > 0);
}

void CQel2Dlg::OnEntryChanged(const CValueBox& box) {
    if (m_pAttractor)
        box.Parameter(*m_pAttractor).m_bModified = 1;
}

QString& CQel2Dlg::BoundText(const CValueBox& box) {
    return m_strBound[&box - kValueBoxes];
}

void CQel2Dlg::CopyMembersToControls() {
    for (const CValueBox& box : kValueBoxes)
        qobject_cast<CFloatEdit*>(Box(box))->setText(BoundText(box));
}

void CQel2Dlg::LoadEntriesFromAttractor() {
    for (const CValueBox& box : kValueBoxes)
        BoundText(box) = box.Text(box.Stored(*m_pAttractor));
    m_bCountriesLoaded = false;
    if (m_nAttractor == SORVAN_KIND) {
        m_countries.Clear();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        std::string why;
        const bool loaded = m_countries.Load("countries.xml", &why) != 0;
        QApplication::restoreOverrideCursor();
        if (!why.empty())
            ReportCannotRead(this, why);
        if (loaded) {
            m_bCountriesLoaded = true;
            LoadCountry("Qelland");
            FillCountryList();
        } else {
            UpdateQelmeter();
        }
    }
    CopyMembersToControls();
}

// A box is read only when its text changed since a Run last accepted it. A value outside its
// limits gets the message naming the box in the kind's words and every box its bound text
// back; the parameter keeps its flag.
bool CQel2Dlg::ValidateEntry(const CValueBox& box, bool sorvan) {
    PARAMETER& param = box.Parameter(*m_pAttractor);
    if (!param.m_bModified)
        return false;
    const unsigned labelId = sorvan ? box.nSorvanLabel : box.nOtherLabel;
    const QString text = qobject_cast<CFloatEdit*>(Box(box))->text();
    char message[1024];
    if (box.eText == CValueBox::Whole) {
        auto& p = static_cast<long_PARAM&>(param);
        const uint32_t value = platform::AtoUnsigned(text.toLatin1().constData());
        const int32_t signedValue = static_cast<int32_t>(value);
        if (ChecksLimits() && !p.IsWithinLimits(signedValue)) {
            std::snprintf(message, sizeof message, LoadString(IDS_RANGE_INT), LoadString(labelId),
                          p.m_lower, p.m_upper);
            return RejectEntry(message);
        }
        p.m_value = signedValue;
        BoundText(box) = box.Text(value);
    } else {
        auto& p = static_cast<double_PARAM&>(param);
        const double value = text.isEmpty() ? 0.0 : platform::Atof(text.toLatin1().constData());
        if (ChecksLimits() && !p.IsWithinLimits(value)) {
            // The Zoom box has no label string of its own.
            const char* label = labelId ? LoadString(labelId) : "Zoom";
            std::snprintf(message, sizeof message, LoadString(IDS_RANGE_REAL), label, p.m_lower,
                          p.m_upper);
            return RejectEntry(message);
        }
        p.m_value = value;
        BoundText(box) = text;
    }
    m_bAccepted = true;
    param.m_bModified = 0;
    return true;
}

bool CQel2Dlg::RejectEntry(const char* message) {
    platform::MessageBox(this, message);
    CopyMembersToControls();
    RepaintNow();
    return false;
}

void CQel2Dlg::UpdateQelmeter() {
    const CAttractor& a = *m_pAttractor;
    const double value = qel::Qelmeter(a.m_param[0].m_value, a.m_param[1].m_value,
                                       a.m_param[2].m_value, a.m_param[3].m_value);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.3f", value);
    m_qelmeterValue->SetWindowText(QString::fromLatin1(buf));
}
