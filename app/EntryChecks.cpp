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

namespace {
QString Format8f(double v) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%8f", v);
    return QString::fromLatin1(buf);
}

} // namespace

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

QString CQel2Dlg::TrimZeros(const QString& text) {
    if (text.isEmpty() || !text.contains('.'))
        return text;
    QString t = text;
    int i = t.size() - 1;
    while (i >= 0 && t[i] == '0')
        t[i--] = ' ';
    if (i >= 0 && t[i] == '.')
        t[i] = ' ';
    return t;
}

void CQel2Dlg::CopyMembersToControls() {
    for (const CValueBox& box : kValueBoxes) {
        const QString* text = BoundText(*this, box);
        m_edit[box.nEdit]->setText(text ? *text : QString::number(m_nIteration));
    }
}

void CQel2Dlg::LoadEntriesFromAttractor() {
    CAttractor& a = *m_pAttractor;
    m_nIteration = static_cast<unsigned>(a.m_iteration.m_stored);
    m_strVariation = TrimZeros(Format8f(a.m_variation.m_stored));
    char zoom[512];
    std::snprintf(zoom, sizeof zoom, "%.2f", a.m_zoom.m_value);
    m_strZoom = QString::fromLatin1(zoom);
    for (int i = 0; i < 7; ++i)
        m_strParam[i] = TrimZeros(Format8f(a.m_param[i].m_stored));
    m_bCountriesLoaded = false;
    if (m_nAttractor == SORVAN_KIND) {
        m_countries.Clear();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool loaded = m_countries.Load("countries.xml") != 0;
        QApplication::restoreOverrideCursor();
        if (loaded) {
            m_bCountriesLoaded = true;
            LoadCountry("Qelland");
            FillCountryList();
        } else {
            UpdateQelmeter();
        }
    }
    m_strX = TrimZeros(Format8f(a.m_initX.m_stored));
    m_strY = TrimZeros(Format8f(a.m_initY.m_stored));
    m_strZ = TrimZeros(Format8f(a.m_initZ.m_stored));
    CopyMembersToControls();
}

bool CQel2Dlg::ValidateIntEntry(PARAMETER& param, int id, unsigned labelId, unsigned& target) {
    if (!param.m_bModified)
        return false;
    auto& p = static_cast<long_PARAM&>(param);
    CFloatEdit* box = qobject_cast<CFloatEdit*>(GetDlgItem(id));
    const uint32_t value = platform::AtoUnsigned(box->text().toLatin1().constData());
    const int32_t signedValue = static_cast<int32_t>(value);
    if (ChecksLimits() && !p.IsWithinLimits(signedValue)) {
        char text[1024];
        std::snprintf(text, sizeof text, LoadString(IDS_RANGE_INT), LoadString(labelId), p.m_lower,
                      p.m_upper);
        return RejectEntry(text);
    }
    p.m_value = signedValue;
    target = value;
    return AcceptEntry(p);
}

bool CQel2Dlg::ValidateRealEntry(PARAMETER& param, int id, unsigned labelId, QString& target) {
    if (!param.m_bModified)
        return false;
    auto& p = static_cast<double_PARAM&>(param);
    CFloatEdit* box = qobject_cast<CFloatEdit*>(GetDlgItem(id));
    const QString text = box->text();
    const double value = text.isEmpty() ? 0.0 : platform::Atof(text.toLatin1().constData());
    if (ChecksLimits() && !p.IsWithinLimits(value)) {
        // The Zoom box has no label string of its own.
        const char* label = labelId ? LoadString(labelId) : "Zoom";
        char message[1024];
        std::snprintf(message, sizeof message, LoadString(IDS_RANGE_REAL), label, p.m_lower,
                      p.m_upper);
        return RejectEntry(message);
    }
    p.m_value = value;
    target = text;
    return AcceptEntry(p);
}

// The message, then the bound texts back in every box; the parameter keeps its flag.
bool CQel2Dlg::RejectEntry(const char* message) {
    platform::MessageBox(this, message);
    CopyMembersToControls();
    RepaintNow();
    return false;
}

bool CQel2Dlg::AcceptEntry(PARAMETER& param) {
    m_bAccepted = true;
    param.m_bModified = 0;
    return true;
}

void CQel2Dlg::UpdateQelmeter() {
    const CAttractor& a = *m_pAttractor;
    const double value = qel::Qelmeter(a.m_param[0].m_value, a.m_param[1].m_value,
                                       a.m_param[2].m_value, a.m_param[3].m_value);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.3f", value);
    m_qelmeterValue->SetWindowText(QString::fromLatin1(buf));
}
