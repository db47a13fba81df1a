#include "app/StabilityMapWnd.h"

#include "analysis/SweepCsv.h"
#include "app/RecordHost.h"
#include "app/Runner.h"
#include "model/Attractor.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QThreadPool>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

using namespace qel;

namespace {

QString SpectrumText(const CSpectrum& s) {
    if (s.eOutcome == EOutcome::Cancelled)
        return "At the cross: not computed.";
    if (s.eOutcome != EOutcome::Value)
        return QString("At the cross the economy is %1: no exponents.")
            .arg(s.eOutcome == EOutcome::Explosive ? "explosive" : "diverged");
    auto v = [&](int k) {
        return QString::fromStdString(ValueWithError(s.dExponent[k], s.dError[k]));
    };
    QString text = QString::fromUtf8("At the cross: λ1 = %1, λ2 = %2, λ3 = %3 per unit model time; "
                                     "Kaplan-Yorke dimension %4")
                       .arg(v(0), v(1), v(2))
                       .arg(s.KaplanYorke(), 0, 'f', 3);
    if (std::isfinite(s.dTrace))
        text += QString::fromUtf8("; their sum %1 against the mean trace of the Jacobian %2")
                    .arg(s.dExponent[0] + s.dExponent[1] + s.dExponent[2], 0, 'f', 4)
                    .arg(s.dTrace, 0, 'f', 4);
    return text + ".";
}

} // namespace

CStabilityMapWnd::CStabilityMapWnd(CRecordHost& host, QWidget* owner)
    : CAnalysisWnd(host, owner, "Stability Map") {
    m_rows[0] = AddParamRow(0, "Across");
    m_rows[1] = AddParamRow(1, "Up");
    m_pGridW = new QSpinBox;
    m_pGridH = new QSpinBox;
    for (QSpinBox* box : {m_pGridW, m_pGridH}) {
        box->setRange(1, 2048);
        box->setValue(64);
    }
    m_pSettings->addWidget(new QLabel("Grid"), 2, 0);
    m_pSettings->addWidget(m_pGridW, 2, 1);
    m_pSettings->addWidget(new QLabel("by"), 2, 2);
    m_pSettings->addWidget(m_pGridH, 2, 3);
    m_pZeroLine = new QCheckBox("Qelmeter zero line (a d = b c)");
    m_pSettings->addWidget(m_pZeroLine, 2, 4, 1, 2);
    m_pSettings->addWidget(new QLabel("Method"), 3, 0);
    m_pSettings->addWidget(m_pMethod, 3, 1, 1, 3);
    m_pSteady = new QCheckBox("Edge of stable steady states");
    m_pSettings->addWidget(m_pSteady, 3, 4, 1, 2);
    m_pError = new QDoubleSpinBox;
    m_pError->setDecimals(4);
    m_pError->setRange(0.0001, 1);
    m_pError->setSingleStep(0.001);
    m_pError->setValue(0.005);
    m_pSettings->addWidget(new QLabel("Transient (model time)"), 4, 0);
    m_pSettings->addWidget(m_pTransient, 4, 1);
    m_pSettings->addWidget(new QLabel("Error target"), 4, 2);
    m_pSettings->addWidget(m_pError, 4, 3);
    m_pSettings->addWidget(new QLabel("Longest run"), 4, 4);
    m_pSettings->addWidget(m_pLongest, 4, 5);
    m_pPlot = new CMapPlot;
    m_pPlot->setMinimumSize(560, 440);
    m_pPlot->setMouseTracking(true);
    SetPlot(m_pPlot);
    m_pSpectrum = new QLabel(" ");
    m_pSpectrum->setWordWrap(true);
    static_cast<QVBoxLayout*>(layout())->insertWidget(2, m_pSpectrum);
    m_pSpectrumRunner = new CRunner(this);
    connect(m_btnCancel, &QPushButton::clicked, m_pSpectrumRunner, &CRunner::Cancel);
    connect(m_pZeroLine, &QCheckBox::toggled, this, [this](bool on) {
        m_pPlot->ShowQelmeterLine(on);
        m_pPlot->replot();
        if (on && !m_pPlot->QelmeterLineOutside().isEmpty())
            ShowStatus(m_pPlot->QelmeterLineOutside().replace('\n', ' '));
    });
    connect(m_pPlot, &QCustomPlot::mouseMove, this, [this](QMouseEvent* e) {
        const int cell = m_pPlot->CellAt(e->position());
        if (cell >= 0)
            ShowStatus(DescribeCell(cell));
    });
    connect(m_pPlot, &QCustomPlot::mousePress, this, [this](QMouseEvent* e) {
        if (e->button() == Qt::LeftButton)
            ClickCell(m_pPlot->CellAt(e->position()));
    });
}

void CStabilityMapWnd::ResetSettings() {
    // The economic model's default: Inertion against Adaptation, the Qelmeter's positive terms.
    FillParamRow(m_rows[0], 0);
    FillParamRow(m_rows[1], std::min(3, UsedParameterCount(m_nKind) - 1));
    m_pZeroLine->setEnabled(m_nKind == SORVAN_KIND);
    if (m_nKind != SORVAN_KIND)
        m_pZeroLine->setChecked(false);
}

bool CStabilityMapWnd::ReadSettings(CSweep& sweep) {
    sweep.run.eMethod = Method();
    for (int k = 0; k < 2; ++k) {
        sweep.nAxis[k] = ParamOf(m_rows[k]);
        if (!ReadRange(m_rows[k], sweep.lo[k], sweep.hi[k]))
            return false;
        const std::string why = AxisRefusal(sweep.nKind, sweep.nAxis[k], sweep.run.eMethod);
        if (!why.empty()) {
            platform::MessageBox(this,
                                 m_rows[k].pParam->currentText().toStdString() + ": " + why + ".");
            return false;
        }
    }
    if (sweep.nAxis[0] == sweep.nAxis[1]) {
        platform::MessageBox(this, "Choose two different axes for the map.");
        return false;
    }
    sweep.nCount[0] = m_pGridW->value();
    sweep.nCount[1] = m_pGridH->value();
    sweep.run.dTransient = m_pTransient->value();
    sweep.run.dTargetError = m_pError->value();
    sweep.run.dMaxTime = m_pLongest->value();
    sweep.bSteadyStates = m_pSteady->isChecked();
    return true;
}

void CStabilityMapWnd::Launch(const CSweep& sweep) {
    m_pPlot->Start(sweep, sweep.base.Axis(sweep.nAxis[0]), sweep.base.Axis(sweep.nAxis[1]));
    m_pPlot->ShowQelmeterLine(m_pZeroLine->isChecked());
    QList<int> order;
    for (int cell : CoarseToFineOrder(sweep.nCount[0], sweep.nCount[1]))
        order.push_back(cell);
    // Tiles of the coarse-to-fine order, each computed on the lanes of one thread; progress
    // counts cells.
    const int size =
        MapTileCells(static_cast<int>(order.size()), CRunner::Pool()->maxThreadCount());
    QList<int> tiles;
    for (int t = 0; t * size < order.size(); ++t)
        tiles.push_back(t);
    Runner()->Start<std::vector<CMapCell>>(
        tiles,
        [sweep, order, size](int t, CRunnerTask& task) {
            const int from = t * size, n = std::min(size, static_cast<int>(order.size()) - from);
            std::vector<CMapCell> part(static_cast<size_t>(n));
            MapCells(sweep, order.data() + from, n, part.data(), task.CancelFlag());
            task.AddDone(std::count_if(part.begin(), part.end(), [](const CMapCell& c) {
                return c.r.eOutcome != EOutcome::Cancelled;
            }));
            return part;
        },
        [this, order, size](int t, std::vector<CMapCell>&& part) {
            for (size_t i = 0; i < part.size(); ++i)
                m_pPlot->SetCell(order[t * size + static_cast<int>(i)], part[i]);
            MarkChanged();
        },
        order.size());
    // The whole spectrum where the cross is, the record's own values, beside the map.
    m_pSpectrum->setText(QString::fromUtf8("At the cross: computing λ1, λ2, λ3..."));
    m_pSpectrumRunner->Start<CSpectrum>(
        {0},
        [sweep](int, CRunnerTask& task) {
            const CCellSetup& c = sweep.base;
            return LyapunovSpectrum(sweep.nKind, c.params, c.init[0], c.init[1], c.init[2],
                                    sweep.run, task.CancelFlag());
        },
        [this](int, CSpectrum&& s) { m_pSpectrum->setText(SpectrumText(s)); });
}

void CStabilityMapWnd::Redraw() {
    m_pPlot->Refresh();
}

QString CStabilityMapWnd::DescribeCell(int cell) const {
    const CSweep& s = m_pPlot->Sweep();
    const int i = cell % s.nCount[0], j = cell / s.nCount[0];
    QString text;
    for (int k = 0; k < 2; ++k)
        text += QString("%1 = %2   ")
                    .arg(QString::fromStdString(AxisTitle(s.nKind, s.nAxis[k])))
                    .arg(SweepValue(s.lo[k], s.hi[k], k ? j : i, s.nCount[k]), 0, 'g', 8);
    const CMapCell& c = m_pPlot->Cells()[cell];
    const EClass k = Classify(c.r);
    if (k == EClass::Unknown)
        return text + "not computed yet";
    if (k == EClass::Explosive)
        text += "explosive: grows without bound";
    else if (k == EClass::Diverged)
        text += "diverged";
    else {
        text += QString::fromUtf8("λ = %1 (%2), %3 time units")
                    .arg(QString::fromStdString(ValueWithError(c.r.dExponent, c.r.dError)))
                    .arg(k == EClass::Cycles ? QString::fromUtf8("≈ 0: cycles") : ClassName(k))
                    .arg(c.r.dTime, 0, 'f', 0);
        if (!c.r.bConverged)
            text += ", not converged";
    }
    if (c.nStable >= 0)
        text += c.nStable ? ", stable steady state" : ", no stable steady state";
    return text;
}

void CStabilityMapWnd::ClickCell(int cell) {
    if (cell < 0)
        return;
    const CSweep& s = m_pPlot->Sweep();
    const int i = cell % s.nCount[0], j = cell / s.nCount[0];
    const double values[2] = {SweepValue(s.lo[0], s.hi[0], i, s.nCount[0]),
                              SweepValue(s.lo[1], s.hi[1], j, s.nCount[1])};
    WriteToMainWindow(s.nAxis, values, 2, s.run.eMethod);
}

bool CStabilityMapWnd::SaveData(const std::string& path) {
    return WriteMapCsv(path, m_pPlot->Sweep(), m_pPlot->Cells());
}
