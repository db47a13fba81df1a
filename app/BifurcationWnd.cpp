#include "app/BifurcationWnd.h"

#include "analysis/SweepCsv.h"
#include "app/RecordHost.h"
#include "app/Runner.h"
#include "model/Attractor.h"
#include "platform/Dialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

using namespace qel;

CBifurcationWnd::CBifurcationWnd(CRecordHost& host, QWidget* owner)
    : CAnalysisWnd(host, owner, "Bifurcation Diagram") {
    m_row = AddParamRow(0, "Parameter");
    m_pColumns = new QSpinBox;
    m_pColumns->setRange(1, 100000);
    m_pColumns->setValue(300);
    m_pVariable = new QComboBox;
    m_pSettings->addWidget(new QLabel("Columns"), 1, 0);
    m_pSettings->addWidget(m_pColumns, 1, 1);
    m_pSettings->addWidget(new QLabel("Maxima of"), 1, 2);
    m_pSettings->addWidget(m_pVariable, 1, 3, 1, 3);
    m_pSettings->addWidget(new QLabel("Method"), 2, 0);
    m_pSettings->addWidget(m_pMethod, 2, 1, 1, 5);
    m_pMaxima = new QSpinBox;
    m_pMaxima->setRange(1, kMaximaPerColumn);
    m_pMaxima->setValue(300);
    m_pSettings->addWidget(new QLabel("Transient at most"), 3, 0);
    m_pSettings->addWidget(m_pTransient, 3, 1);
    m_pSettings->addWidget(new QLabel("Maxima per column"), 3, 2);
    m_pSettings->addWidget(m_pMaxima, 3, 3);
    m_pSettings->addWidget(new QLabel("Measured at most"), 3, 4);
    m_pSettings->addWidget(m_pLongest, 3, 5);
    m_pTransient->setValue(3000);
    m_pLongest->setValue(3000);
    m_pPlot = new CBifurcationPlot;
    m_pPlot->setMinimumSize(560, 400);
    m_pPlot->setMouseTracking(true);
    SetPlot(m_pPlot);
    connect(m_pPlot, &QCustomPlot::mouseMove, this, [this](QMouseEvent* e) {
        const int column = m_pPlot->ColumnAt(e->position());
        if (column >= 0)
            ShowStatus(DescribeColumn(column));
    });
    connect(m_pPlot, &QCustomPlot::mousePress, this, [this](QMouseEvent* e) {
        if (e->button() == Qt::LeftButton)
            ClickColumn(m_pPlot->ColumnAt(e->position()));
    });
}

void CBifurcationWnd::ResetSettings() {
    FillParamRow(m_row, 0);
    m_pVariable->clear();
    for (int v = 0; v < 3; ++v)
        m_pVariable->addItem(QString::fromStdString(VariableTitle(m_nKind, v)));
}

bool CBifurcationWnd::ReadSettings(CSweep& sweep) {
    sweep.nAxis[0] = sweep.nAxis[1] = ParamOf(m_row);
    sweep.diagram.eMethod = Method();
    if (!ReadRange(m_row, sweep.lo[0], sweep.hi[0]))
        return false;
    const std::string why = AxisRefusal(sweep.nKind, sweep.nAxis[0], sweep.diagram.eMethod);
    if (!why.empty()) {
        platform::MessageBox(this, m_row.pParam->currentText().toStdString() + ": " + why + ".");
        return false;
    }
    sweep.diagram.dMaxTransient = m_pTransient->value();
    sweep.diagram.nMaxima = m_pMaxima->value();
    sweep.diagram.dMaxTime = m_pLongest->value();
    sweep.nCount[0] = m_pColumns->value();
    sweep.nCount[1] = 1;
    sweep.nVariable = std::max(0, m_pVariable->currentIndex());
    return true;
}

void CBifurcationWnd::Launch(const CSweep& sweep) {
    m_pPlot->Start(sweep, sweep.base.Axis(sweep.nAxis[0]));
    QList<int> columns;
    for (int c = 0; c < sweep.nCount[0]; ++c)
        columns.push_back(c);
    Runner()->Start<CColumnResult>(
        columns,
        [sweep](int c, CRunnerTask& task) { return DiagramColumn(sweep, c, task.CancelFlag()); },
        [this](int c, CColumnResult&& r) {
            m_pPlot->SetColumn(c, r);
            MarkChanged();
        });
}

void CBifurcationWnd::Redraw() {
    m_pPlot->Refresh();
}

QString CBifurcationWnd::DescribeColumn(int column) const {
    const CSweep& s = m_pPlot->Sweep();
    QString text = QString("%1 = %2   ")
                       .arg(QString::fromStdString(AxisTitle(s.nKind, s.nAxis[0])))
                       .arg(SweepValue(s.lo[0], s.hi[0], column, s.nCount[0]), 0, 'g', 8);
    const CColumnResult& r = m_pPlot->Columns()[column];
    switch (r.eOutcome) {
    case EOutcome::Explosive:
        return text + "explosive: grows without bound";
    case EOutcome::Diverged:
        return text + "diverged";
    case EOutcome::Cancelled:
        return text + "not computed yet";
    default:
        break;
    }
    if (r.bSteady)
        return text + QString("settles: steady state %1 = %2")
                          .arg(QString::fromStdString(VariableTitle(s.nKind, s.nVariable)))
                          .arg(r.maxima.front(), 0, 'g', 8);
    text += QString("%1 maxima after a transient of %2 time units")
                .arg(r.maxima.size())
                .arg(r.dTransient, 0, 'f', 0);
    return r.bSettledIn ? text : text + " (still moving when it was cut)";
}

void CBifurcationWnd::ClickColumn(int column) {
    if (column < 0)
        return;
    const CSweep& s = m_pPlot->Sweep();
    const double value = SweepValue(s.lo[0], s.hi[0], column, s.nCount[0]);
    WriteToMainWindow(s.nAxis, &value, 1, s.diagram.eMethod);
}

bool CBifurcationWnd::SaveData(const std::string& path) {
    return WriteDiagramCsv(path, m_pPlot->Sweep(), m_pPlot->Columns());
}
