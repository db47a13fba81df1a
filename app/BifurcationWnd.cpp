#include "app/BifurcationWnd.h"

#include "analysis/SweepCsv.h"
#include "app/Qel2Dlg.h"
#include "model/Attractor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QtConcurrent>

using namespace qel;

CBifurcationWnd::CBifurcationWnd(CQel2Dlg* owner) : CAnalysisWnd(owner, "Bifurcation Diagram") {
    m_row = AddParamRow(0, "Parameter");
    m_pColumns = new QSpinBox;
    m_pColumns->setRange(1, 100000);
    m_pColumns->setValue(300);
    m_pVariable = new QComboBox;
    m_pSettings->addWidget(new QLabel("Columns"), 1, 0);
    m_pSettings->addWidget(m_pColumns, 1, 1);
    m_pSettings->addWidget(new QLabel("Maxima of"), 1, 2);
    m_pSettings->addWidget(m_pVariable, 1, 3, 1, 3);
    m_pSettings->addWidget(new QLabel("Transient steps"), 2, 0);
    m_pSettings->addWidget(m_pTransient, 2, 1);
    m_pSettings->addWidget(new QLabel("Measured"), 2, 2);
    m_pSettings->addWidget(m_pSteps, 2, 3);
    m_pTransient->setValue(20000);
    m_pSteps->setValue(20000);
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
    sweep.nParam[0] = sweep.nParam[1] = ParamOf(m_row);
    if (!ReadRange(m_row, sweep.lo[0], sweep.hi[0]))
        return false;
    sweep.nCount[0] = m_pColumns->value();
    sweep.nCount[1] = 1;
    sweep.nVariable = std::max(0, m_pVariable->currentIndex());
    return true;
}

QFutureWatcherBase* CBifurcationWnd::Launch(const CSweep& sweep,
                                            std::shared_ptr<std::atomic<bool>> cancel) {
    m_pPlot->Start(sweep, m_pOwner->Attractor()->m_param[sweep.nParam[0]].m_value);
    QList<int> columns;
    for (int c = 0; c < sweep.nCount[0]; ++c)
        columns.push_back(c);
    auto* watcher = new QFutureWatcher<CColumnResult>;
    connect(watcher, &QFutureWatcherBase::resultsReadyAt, this, [this, watcher](int b, int e) {
        for (int k = b; k < e; ++k)
            m_pPlot->SetColumn(k, watcher->resultAt(k));
        MarkChanged();
    });
    watcher->setFuture(QtConcurrent::mapped(Pool(), std::move(columns), [sweep, cancel](int c) {
        return DiagramColumn(sweep, c, cancel.get());
    }));
    return watcher;
}

void CBifurcationWnd::Redraw() {
    m_pPlot->Refresh();
}

QString CBifurcationWnd::DescribeColumn(int column) const {
    const CSweep& s = m_pPlot->Sweep();
    QString text = QString("%1 = %2   ")
                       .arg(QString::fromStdString(ParameterTitle(s.nKind, s.nParam[0])))
                       .arg(SweepValue(s.lo[0], s.hi[0], column, s.nCount[0]), 0, 'g', 8);
    const CColumnResult& r = m_pPlot->Columns()[column];
    if (r.eOutcome == EOutcome::Diverged)
        return text + "diverged";
    if (r.eOutcome == EOutcome::Cancelled)
        return text + "not computed yet";
    return text + QString("%1 maxima").arg(r.maxima.size());
}

void CBifurcationWnd::ClickColumn(int column) {
    if (column < 0)
        return;
    const CSweep& s = m_pPlot->Sweep();
    const double value = SweepValue(s.lo[0], s.hi[0], column, s.nCount[0]);
    WriteToMainWindow(s.nParam, &value, 1);
}

bool CBifurcationWnd::SaveData(const std::string& path) {
    return WriteDiagramCsv(path, m_pPlot->Sweep(), m_pPlot->Columns());
}
