#include "app/AnalysisWnd.h"

#include "app/FileChoice.h"
#include "app/PlotPicture.h"
#include "app/RecordHost.h"
#include "app/Runner.h"
#include "model/Attractor.h"
#include "platform/Dialogs.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <qcustomplot.h>

using namespace qel;

namespace {

QString Number(double v) {
    return QString::number(v, 'g', 10);
}

QDoubleSpinBox* TimeBox(double value) {
    auto* box = new QDoubleSpinBox;
    box->setRange(0, 1e7);
    box->setDecimals(0);
    box->setSingleStep(100);
    box->setValue(value);
    box->setGroupSeparatorShown(false);
    return box;
}

// The limits of an axis: a parameter, a start value or the Variation.
const double_PARAM& AxisLimits(const CAttractor& a, int axis) {
    const double_PARAM* other[4] = {&a.m_initX, &a.m_initY, &a.m_initZ, &a.m_variation};
    return axis >= 0 && axis < 7 ? a.m_param[axis] : *other[std::clamp(axis - kAxisX0, 0, 3)];
}

} // namespace

CAnalysisWnd::CAnalysisWnd(CRecordHost& host, QWidget* owner, const QString& title)
    : QWidget(owner, Qt::Window), m_host(host) {
    setWindowTitle(title);
    m_pRunner = new CRunner(this);
    auto* layout = new QVBoxLayout(this);
    m_pSettings = new QGridLayout;
    layout->addLayout(m_pSettings);
    m_pMethod = new QComboBox;
    m_pMethod->addItem("Equations (accurate, independent of the Variation)");
    m_pMethod->addItem("As drawn (the Run's step at the Variation)");
    m_pTransient = TimeBox(100);
    m_pLongest = TimeBox(10000);
    m_pLongest->setMinimum(1);
    auto* buttons = new QHBoxLayout;
    m_btnCompute = new QPushButton("&Compute");
    m_btnCancel = new QPushButton("C&ancel");
    m_btnSavePicture = new QPushButton("Save &Picture...");
    m_btnSaveData = new QPushButton("Save &Data...");
    m_pProgress = new QProgressBar;
    m_pProgress->setRange(0, 1);
    m_pProgress->setValue(0);
    buttons->addWidget(m_btnCompute);
    buttons->addWidget(m_btnCancel);
    buttons->addWidget(m_pProgress, 1);
    buttons->addWidget(m_btnSavePicture);
    buttons->addWidget(m_btnSaveData);
    layout->addLayout(buttons);
    m_pStatus = new QLabel(" ");
    layout->addWidget(m_pStatus);
    m_btnCancel->setEnabled(false);
    m_btnSavePicture->setEnabled(false);
    m_btnSaveData->setEnabled(false);
    resize(820, 720);
    connect(m_btnCompute, &QPushButton::clicked, this, &CAnalysisWnd::OnCompute);
    connect(m_btnCancel, &QPushButton::clicked, this, &CAnalysisWnd::OnCancel);
    connect(m_btnSavePicture, &QPushButton::clicked, this, &CAnalysisWnd::OnSavePicture);
    connect(m_btnSaveData, &QPushButton::clicked, this, &CAnalysisWnd::OnSaveData);
    connect(m_pRunner, &CRunner::Progress, this, [this](qint64 done, qint64 total) {
        m_pProgress->setRange(0, static_cast<int>(total));
        m_pProgress->setValue(static_cast<int>(done));
    });
    connect(m_pRunner, &CRunner::Finished, this, &CAnalysisWnd::OnFinished);
    // Results arrive by the thousand: the picture is redrawn a few times a second at most.
    m_pRedraw = new QTimer(this);
    m_pRedraw->setInterval(150);
    connect(m_pRedraw, &QTimer::timeout, this, [this] {
        if (m_bDirty) {
            m_bDirty = false;
            Redraw();
        }
    });
}

CAnalysisWnd::~CAnalysisWnd() {
    StopAndWait();
}

CAnalysisWnd::CParamRow CAnalysisWnd::AddParamRow(int row, const QString& label) {
    CParamRow r;
    r.pParam = new QComboBox;
    r.pLo = new QLineEdit;
    r.pHi = new QLineEdit;
    m_pSettings->addWidget(new QLabel(label), row, 0);
    m_pSettings->addWidget(r.pParam, row, 1);
    m_pSettings->addWidget(new QLabel("from"), row, 2);
    m_pSettings->addWidget(r.pLo, row, 3);
    m_pSettings->addWidget(new QLabel("to"), row, 4);
    m_pSettings->addWidget(r.pHi, row, 5);
    connect(r.pParam, &QComboBox::activated, this, [this, r] {
        const int p = ParamOf(r);
        if (p >= 0) {
            r.pLo->setText(Number(AxisLimits(m_host.Record(), p).m_lower));
            r.pHi->setText(Number(AxisLimits(m_host.Record(), p).m_upper));
        }
    });
    return r;
}

void CAnalysisWnd::FillParamRow(CParamRow& r, int param) {
    const CAttractor* a = &m_host.Record();
    r.pParam->clear();
    for (int p = 0; p < kAxisCount; ++p)
        if (p >= UsedParameterCount(m_nKind) && p < 7)
            continue;
        else
            r.pParam->addItem(QString::fromStdString(AxisTitle(m_nKind, p)), p);
    r.pParam->setCurrentIndex(r.pParam->findData(param));
    r.pLo->setText(Number(AxisLimits(*a, param).m_lower));
    r.pHi->setText(Number(AxisLimits(*a, param).m_upper));
}

int CAnalysisWnd::ParamOf(const CParamRow& r) const {
    return r.pParam->currentIndex() < 0 ? -1 : r.pParam->currentData().toInt();
}

EMethod CAnalysisWnd::Method() const {
    return m_pMethod->currentIndex() == 1 ? EMethod::AsDrawn : EMethod::Equations;
}

bool CAnalysisWnd::ReadRange(const CParamRow& r, double& lo, double& hi) {
    bool okLo = false, okHi = false;
    lo = r.pLo->text().trimmed().toDouble(&okLo);
    hi = r.pHi->text().trimmed().toDouble(&okHi);
    if (okLo && okHi && std::isfinite(lo) && std::isfinite(hi) && lo < hi)
        return true;
    platform::MessageBox(this, "The range of " + r.pParam->currentText().toStdString() +
                                   " must be two numbers, the first below the second.");
    return false;
}

void CAnalysisWnd::Open() {
    if (m_host.Record().GetKind() != m_nKind && !IsComputing()) {
        m_nKind = m_host.Record().GetKind();
        ResetSettings();
    }
    show();
    raise();
    activateWindow();
}

bool CAnalysisWnd::IsComputing() const {
    return m_pRunner->IsRunning();
}

void CAnalysisWnd::OnCompute() {
    StopAndWait();
    const CAttractor& a = m_host.Record();
    if (a.GetKind() != m_nKind) {
        m_nKind = a.GetKind();
        ResetSettings();
    }
    CSweep sweep = CSweep::FromRecord(a);
    if (!ReadSettings(sweep))
        return;
    m_nComputedKind = m_nKind;
    Launch(sweep);
    m_btnCompute->setEnabled(false);
    m_btnCancel->setEnabled(true);
    m_btnSavePicture->setEnabled(true);
    m_btnSaveData->setEnabled(true);
    ShowStatus("Computing...");
    Redraw();
    m_pRedraw->start();
}

void CAnalysisWnd::OnCancel() {
    m_pRunner->Cancel();
}

void CAnalysisWnd::StopAndWait() {
    // Cells look at the cancel flag every few thousand steps: this wait is short.
    m_pRunner->Wait();
}

void CAnalysisWnd::OnFinished() {
    m_pRedraw->stop();
    m_bDirty = false;
    Redraw();
    m_btnCompute->setEnabled(true);
    m_btnCancel->setEnabled(false);
    if (m_pRunner->WasCancelled())
        ShowStatus("Cancelled: the picture shows what was computed.");
    else {
        m_pProgress->setValue(m_pProgress->maximum());
        ShowStatus("Done.");
    }
}

void CAnalysisWnd::closeEvent(QCloseEvent* event) {
    StopAndWait();
    QWidget::closeEvent(event);
}

void CAnalysisWnd::SetPlot(QCustomPlot* plot) {
    m_pPlotWidget = plot;
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, plot, 1);
}

void CAnalysisWnd::ShowStatus(const QString& text) {
    m_pStatus->setText(text);
}

void CAnalysisWnd::WriteToMainWindow(const int* axes, const double* values, int count,
                                     EMethod method) {
    const CAttractor* a = &m_host.Record();
    if (a->GetKind() != m_nComputedKind) {
        ShowStatus("This picture belongs to another attractor; compute it again first.");
        return;
    }
    m_host.WriteValues(axes, values, count);
    QStringList parts;
    bool variation = false;
    for (int k = 0; k < count; ++k) {
        parts << QString("%1 = %2")
                     .arg(QString::fromStdString(AxisKey(axes[k])))
                     .arg(Number(values[k]));
        variation = variation || axes[k] == kAxisVariation;
    }
    QString text = parts.join(", ") + " written into the main window: Run shows this economy.";
    if (method == EMethod::Equations && !variation)
        text += QString(" (This picture describes the equations; the Run draws them with its "
                        "step at Variation %1.)")
                    .arg(Number(a->m_variation.m_value));
    ShowStatus(text);
}

void CAnalysisWnd::OnSavePicture() {
    const auto chosen = AskFileInFiles(
        this, true, "PNG Files (*.png)|*.png|PDF Files (*.pdf)|*.pdf||", "picture.png", "png");
    if (chosen && !SavePlotPicture(*m_pPlotWidget, *chosen))
        ReportErrorCreatingFile(this, QString::fromStdString(*chosen));
}

void CAnalysisWnd::OnSaveData() {
    const auto chosen = AskFileInFiles(this, true, "CSV Files (*.csv)|*.csv||", "data.csv", "csv");
    if (chosen && !SaveData(*chosen))
        ReportErrorCreatingFile(this, QString::fromStdString(*chosen));
}
