#include "app/TimeSeriesWnd.h"

#include "analysis/RecordSnapshot.h"
#include "app/FileChoice.h"
#include "app/PlotPicture.h"
#include "app/Runner.h"
#include "app/TrajectoryFile.h"
#include "model/Attractor.h"
#include "model/KindTable.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

namespace {
const QColor kCurveColors[] = {QColor(31, 95, 191),   QColor(214, 39, 40),  QColor(44, 160, 44),
                               QColor(148, 103, 189), QColor(255, 127, 14), QColor(140, 86, 75),
                               QColor(227, 119, 194), QColor(23, 190, 207)};

QFont PlotFont(bool bold = false) {
    QFont font("Liberation Sans", 9);
    font.setBold(bold);
    return font;
}

void StyleAxis(QCPAxis* axis) {
    axis->setTickLabelFont(PlotFont());
    axis->setLabelFont(PlotFont());
}
} // namespace

CTimeSeriesWnd::CTimeSeriesWnd(CRecordHost* host, QWidget* owner)
    : QWidget(owner, Qt::Window), m_pHost(host) {
    setObjectName("timeSeries");
    setWindowTitle("QEL - Time Series");
    setFont(PlotFont());
    resize(680, 700);

    m_pPlot = new QCustomPlot(this);
    m_pPlot->setFont(PlotFont());
    m_pPlot->plotLayout()->clear();
    m_pPlot->plotLayout()->setRowSpacing(0);
    auto* margins = new QCPMarginGroup(m_pPlot);
    for (int a = 0; a < 3; ++a) {
        m_pTitle[a] = new QCPTextElement(m_pPlot, "", PlotFont(true));
        m_pPlot->plotLayout()->addElement(2 * a, 0, m_pTitle[a]);
        m_pRect[a] = new QCPAxisRect(m_pPlot);
        m_pPlot->plotLayout()->addElement(2 * a + 1, 0, m_pRect[a]);
        m_pRect[a]->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        // Only the time axis moves; the value axis follows what is in view.
        m_pRect[a]->setRangeDrag(Qt::Horizontal);
        m_pRect[a]->setRangeZoom(Qt::Horizontal);
        for (QCPAxis* axis : m_pRect[a]->axes())
            StyleAxis(axis);
        QCPAxis* time = m_pRect[a]->axis(QCPAxis::atBottom);
        time->setTickLabels(a == 2); // one shared time axis, numbered under the last plot
        time->setNumberFormat("f");  // whole steps, not powers of ten
        time->setNumberPrecision(0);
        connect(time, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
                [this, time] { OnRangeChanged(time); });
    }
    // The last plot also carries the two time scales: a larger share keeps the plots alike.
    m_pPlot->plotLayout()->setRowStretchFactor(5, 1.45);
    m_pRect[2]->axis(QCPAxis::atBottom)->setLabel("Step");
    m_pTimeAxis = m_pRect[2]->addAxis(QCPAxis::atBottom);
    StyleAxis(m_pTimeAxis);
    m_pTimeAxis->setLabel("Model time (one step = 2/3 of the Variation)");
    m_pLegend = new QCPLegend;
    m_pRect[0]->insetLayout()->addElement(m_pLegend, Qt::AlignRight | Qt::AlignTop);
    m_pLegend->setLayer("legend");
    m_pLegend->setFont(PlotFont());
    m_pLegend->setVisible(false);
    m_pPlot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    connect(m_pPlot, &QCustomPlot::mouseDoubleClick, this, [this] { ResetView(); });
    // A new size changes the number of pixel columns: their ranges are taken again before
    // the plot is drawn.
    connect(m_pPlot, &QCustomPlot::afterLayout, this, [this] {
        if (m_pRect[0]->width() != m_nColumns)
            Refresh();
    });

    m_pInfo = new QLabel(this);
    m_pInfo->setObjectName("info");
    m_pProgress = new QProgressBar(this);
    m_pCancel = new QPushButton("C&ancel", this);
    m_pCancel->setObjectName("cancel");
    m_pProgress->hide();
    m_pCancel->hide();
    m_pSavePicture = new QPushButton("Save &Picture...", this);
    m_pSaveData = new QPushButton("Save &Data...", this);
    connect(m_pSavePicture, &QPushButton::clicked, this, &CTimeSeriesWnd::OnSavePicture);
    connect(m_pSaveData, &QPushButton::clicked, this, &CTimeSeriesWnd::OnSaveData);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pInfo, 1);
    buttons->addWidget(m_pProgress, 1);
    buttons->addWidget(m_pCancel);
    buttons->addWidget(m_pSavePicture);
    buttons->addWidget(m_pSaveData);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pPlot, 1);
    layout->addLayout(buttons);

    if (m_pHost)
        connect(m_pHost, &CRecordHost::RecordReplaced, this, &CTimeSeriesWnd::Follow);
    m_pRunner = new CRunner(this);
    connect(m_pCancel, &QPushButton::clicked, m_pRunner, &CRunner::Cancel);
    connect(m_pRunner, &CRunner::Progress, this, [this](qint64 done, qint64 total) {
        // In thousandths: the bar's range is an int, the points may not be.
        m_pProgress->setRange(0, 1000);
        m_pProgress->setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 0);
    });
}

CTimeSeriesWnd::~CTimeSeriesWnd() {
    m_pRunner->Wait(); // the builds read nothing of this window, but they end with it
}

void CTimeSeriesWnd::Open() {
    const bool wasVisible = isVisible();
    show();
    raise();
    activateWindow();
    if (!wasVisible) // a hidden window did not follow
        Follow();
}

void CTimeSeriesWnd::Follow() {
    if (!m_pHost || !isVisible())
        return;
    const CAttractor& a = m_pHost->Record();
    const char* const* axes = qel::KindInfo(a.GetKind()).szAxes;
    const std::string names[3] = {axes[0], axes[1], axes[2]};
    SetTrajectories(m_pHost->ShownRecords(), names);
    setWindowTitle(QString("QEL - Time Series, %1").arg(a.GetName()));
}

bool CTimeSeriesWnd::IsBuilding() const {
    return m_bBuilding;
}

void CTimeSeriesWnd::FinishBuilding() {
    m_pRunner->RunToEnd();
}

QString CTimeSeriesWnd::Title(int axis) const {
    return m_pTitle[axis]->text();
}

int64_t CTimeSeriesWnd::MaxPoints() const {
    int64_t n = 0;
    for (const Curve& c : m_curves)
        n = std::max(n, c.envelope.Points());
    return n;
}

void CTimeSeriesWnd::SetTrajectories(std::vector<CNamedRecord> inputs,
                                     const std::string (&axisNames)[3]) {
    m_pRunner->Wait();
    disconnect(m_pRunner, &CRunner::Finished, this, nullptr);
    // Private copies for the workers; the envelopes come back to this thread as they finish.
    auto records = std::make_shared<std::vector<std::unique_ptr<CAttractor>>>();
    m_building.clear();
    QList<int> items;
    int64_t total = 0;
    for (CNamedRecord& in : inputs) {
        if (!in.record)
            continue;
        items.push_back(static_cast<int>(records->size()));
        total += std::max<int64_t>(in.record->m_iteration.m_value, 0) + 1;
        records->push_back(std::move(in.record));
        Curve c;
        c.name = std::move(in.name);
        m_building.push_back(std::move(c));
    }
    // Many curves share the memory of one, at the price of a little more work per view.
    const int64_t buckets = std::max<int64_t>(4096, qel::CTimeEnvelope::kDefaultBuckets /
                                                        std::max<qsizetype>(1, items.size()));
    std::vector<std::string> names(axisNames, axisNames + 3);
    connect(m_pRunner, &CRunner::Finished, this, [this, names] {
        m_bBuilding = false;
        m_pProgress->hide();
        m_pCancel->hide();
        m_pInfo->show();
        if (m_pRunner->WasCancelled()) {
            m_building.clear();
            m_pInfo->setText("Cancelled: the plots show the earlier trajectories.");
            return;
        }
        const std::string axes[3] = {names[0], names[1], names[2]};
        Show(std::move(m_building), axes);
    });
    m_bBuilding = true;
    m_pInfo->hide();
    m_pProgress->show();
    m_pCancel->show();
    m_pRunner->Start<qel::CTimeEnvelope>(
        items,
        [records, buckets](int k, CRunnerTask& task) {
            const CAttractor& r = *(*records)[k];
            qel::CTimeEnvelope envelope;
            int64_t counted = 0;
            envelope.Build(r, r.m_iteration.m_value, buckets, [&](int64_t points) {
                task.AddDone(points - counted);
                counted = points;
                return !task.Cancelled();
            });
            task.AddDone(envelope.Points() - counted);
            return envelope;
        },
        [this, records](int k, qel::CTimeEnvelope&& envelope) {
            m_building[k].envelope = std::move(envelope);
            m_building[k].record = std::move((*records)[k]);
        },
        total);
}

void CTimeSeriesWnd::Show(std::vector<Curve> curves, const std::string (&axisNames)[3]) {
    for (Curve& c : m_curves)
        for (QCPCurve* g : c.graph)
            m_pPlot->removePlottable(g);
    m_pLegend->clearItems();
    m_curves = std::move(curves);
    for (std::size_t k = 0; k < m_curves.size(); ++k) {
        Curve& c = m_curves[k];
        for (int a = 0; a < 3; ++a) {
            c.graph[a] = new QCPCurve(m_pRect[a]->axis(QCPAxis::atBottom),
                                      m_pRect[a]->axis(QCPAxis::atLeft));
            c.graph[a]->setPen(QPen(kCurveColors[k % std::size(kCurveColors)], 1));
            c.graph[a]->setName(QString::fromStdString(c.name));
            c.graph[a]->setAntialiased(false); // a column's range is exactly its pixels
            if (a == 0 && m_curves.size() > 1)
                c.graph[a]->addToLegend(m_pLegend);
        }
    }
    m_pLegend->setVisible(m_curves.size() > 1);
    for (int a = 0; a < 3; ++a)
        m_pTitle[a]->setText(QString::fromStdString(axisNames[a]));
    const double variation = m_curves.empty() ? 0.0 : m_curves.front().record->m_variation.m_value;
    m_dStepTime = qel::ModelTimePerStep(variation);
    const QLocale english(QLocale::English);
    m_pInfo->setText(QString("%1 points, Variation %2")
                         .arg(english.toString(static_cast<qlonglong>(MaxPoints())))
                         .arg(variation));
    ResetView();
}

void CTimeSeriesWnd::ResetView() {
    SetView(0, static_cast<double>(std::max<int64_t>(MaxPoints(), 1)));
}

void CTimeSeriesWnd::SetView(double lo, double hi) {
    const double total = static_cast<double>(std::max<int64_t>(MaxPoints(), 1));
    if (!(hi - lo <= total) || !(hi - lo >= 2.0) || !std::isfinite(lo)) {
        // Wider than the trajectory (or nonsense): all of it. Narrower than two steps: two.
        const double mid = std::isfinite(lo + hi) ? (lo + hi) / 2 : total / 2;
        const double span = !(hi - lo <= total) || !std::isfinite(lo) ? total : 2.0;
        lo = mid - span / 2;
        hi = mid + span / 2;
    }
    if (lo < 0) {
        hi -= lo;
        lo = 0;
    }
    if (hi > total) {
        lo = std::max(0.0, lo - (hi - total));
        hi = total;
    }
    m_dLo = lo;
    m_dHi = hi;
    m_bSyncing = true;
    for (QCPAxisRect* r : m_pRect)
        r->axis(QCPAxis::atBottom)->setRange(lo, hi);
    m_pTimeAxis->setRange(lo * m_dStepTime, hi * m_dStepTime);
    m_bSyncing = false;
    Refresh();
}

void CTimeSeriesWnd::OnRangeChanged(QCPAxis* axis) {
    if (m_bSyncing)
        return;
    SetView(axis->range().lower, axis->range().upper);
}

void CTimeSeriesWnd::Refresh() {
    if (m_bSyncing)
        return;
    // Each pixel column of the plots gets the range of its points. The plot's margins follow
    // the value labels, so the column count is checked again after a layout.
    for (int pass = 0; pass < 3; ++pass) {
        m_nColumns = std::max(1, m_pRect[0]->width());
        double lo[3], hi[3];
        std::fill(lo, lo + 3, HUGE_VAL);
        std::fill(hi, hi + 3, -HUGE_VAL);
        for (Curve& c : m_curves) {
            c.shown = c.envelope.Columns(m_dLo, m_dHi, m_nColumns);
            for (int a = 0; a < 3; ++a) {
                QVector<double> keys, values;
                keys.reserve(2 * m_nColumns);
                values.reserve(2 * m_nColumns);
                for (const qel::CEnvelopeColumn& col : c.shown) {
                    if (col.count == 0 || col.loAt[a] < 0)
                        continue;
                    // Both ends of the column's range in the order the trajectory met them;
                    // a trajectory that left the doubles shows up to where it did.
                    const bool lowFirst = col.loAt[a] <= col.hiAt[a];
                    const int64_t at[2] = {lowFirst ? col.loAt[a] : col.hiAt[a],
                                           lowFirst ? col.hiAt[a] : col.loAt[a]};
                    const double v[2] = {lowFirst ? col.lo[a] : col.hi[a],
                                         lowFirst ? col.hi[a] : col.lo[a]};
                    for (int e = 0; e < (at[0] == at[1] ? 1 : 2); ++e) {
                        if (!std::isfinite(v[e]))
                            continue;
                        keys << double(at[e]);
                        values << v[e];
                        lo[a] = std::min(lo[a], v[e]);
                        hi[a] = std::max(hi[a], v[e]);
                    }
                }
                c.graph[a]->setData(keys, values);
            }
        }
        for (int a = 0; a < 3; ++a) {
            if (!(lo[a] <= hi[a]))
                lo[a] = -1, hi[a] = 1;
            const double pad = std::max((hi[a] - lo[a]) * 0.05, std::abs(hi[a]) * 1e-9 + 1e-12);
            m_pRect[a]->axis(QCPAxis::atLeft)->setRange(lo[a] - pad, hi[a] + pad);
        }
        m_bSyncing = true; // the layout below must not start another pass from its signal
        m_pPlot->replot();
        m_bSyncing = false;
        if (m_pRect[0]->width() == m_nColumns)
            break;
    }
}

void CTimeSeriesWnd::OnSavePicture() {
    const auto chosen = AskFileInFiles(
        this, true, "Png Files (*.png)|*.png|Pdf Files (*.pdf)|*.pdf||", "time-series.png", "png");
    if (!chosen)
        return;
    if (!SavePlotPicture(*m_pPlot, *chosen))
        ReportErrorCreatingFile(this, QString::fromStdString(*chosen));
}

void CTimeSeriesWnd::OnSaveData() {
    if (m_curves.empty())
        return;
    const auto chosen =
        AskFileInFiles(this, true, "CSV Files (*.csv)|*.csv||", "time-series.csv", "csv");
    if (!chosen)
        return;
    // The steps in view, of every curve.
    std::vector<CCsvCurve> curves;
    for (const Curve& c : m_curves)
        curves.push_back({c.name, qel::SnapshotRecord(*c.record), c.envelope.Points() - 1});
    ExportTrajectoryCsv(this, QString::fromStdString(*chosen), std::move(curves),
                        static_cast<int64_t>(std::ceil(m_dLo)),
                        static_cast<int64_t>(std::ceil(m_dHi)) - 1);
}
