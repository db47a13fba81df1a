#include "app/EquilibriaWnd.h"

#include "app/RecordHost.h"
#include "model/Attractor.h"
#include "model/KindTable.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <map>

using namespace qel;

namespace {

QString Number(double v) {
    return QString::number(v, 'g', 6);
}

// "2 saddle-foci", "3 stable nodes".
QString Plural(const std::string& type) {
    QString t = QString::fromStdString(type);
    if (t.endsWith("focus"))
        return t.chopped(2) + "i";
    return t.endsWith("node") || t.endsWith("saddle") ? t + "s" : t;
}

QString Eigenvalue(const std::complex<double>& e) {
    if (e.imag() == 0)
        return Number(e.real());
    return Number(e.real()) + (e.imag() > 0 ? " + " : " - ") + Number(std::fabs(e.imag())) + "i";
}

} // namespace

CEquilibriaWnd::CEquilibriaWnd(CRecordHost& host, QWidget* owner)
    : QWidget(owner, Qt::Window), m_host(host) {
    setWindowTitle("Equilibria");
    auto* layout = new QVBoxLayout(this);
    m_pAbout = new QLabel;
    m_pAbout->setWordWrap(true);
    layout->addWidget(m_pAbout);
    m_pTable = new QTableWidget(0, 5);
    m_pTable->setHorizontalHeaderLabels({"X", "Y", "Z", "Type", "Eigenvalues of the Jacobian"});
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    m_pTable->verticalHeader()->setVisible(false);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_pTable, 1);
    m_pMark = new QCheckBox("Mark them on the plot (filled: stable)");
    layout->addWidget(m_pMark);
    m_pStatus = new QLabel(" ");
    m_pStatus->setWordWrap(true);
    layout->addWidget(m_pStatus);
    resize(720, 240);
    connect(m_pMark, &QCheckBox::toggled, this, &CEquilibriaWnd::Mark);
    connect(&m_host, &CRecordHost::RecordReplaced, this, [this] {
        if (isVisible())
            Refresh();
    });
}

CEquilibriaWnd::~CEquilibriaWnd() {
    m_host.MarkPoints({});
}

void CEquilibriaWnd::Open() {
    Refresh();
    show();
    raise();
    activateWindow();
}

void CEquilibriaWnd::Refresh() {
    const CAttractor& a = m_host.Record();
    const double lo[3] = {a.m_initX.m_lower, a.m_initY.m_lower, a.m_initZ.m_lower};
    const double hi[3] = {a.m_initX.m_upper, a.m_initY.m_upper, a.m_initZ.m_upper};
    m_found = FindEquilibria(a.GetKind(), CStepParams::From(a), lo, hi);
    m_pAbout->setText(QString("Equilibria of the equations of %1 (the Equations box, z0 = z) "
                              "inside the start values' limits: X from %2 to %3, Y from %4 to "
                              "%5, Z from %6 to %7. Newton's method from a grid of seeds.")
                          .arg(KindInfo(a.GetKind()).szName)
                          .arg(Number(lo[0]), Number(hi[0]), Number(lo[1]), Number(hi[1]),
                               Number(lo[2]), Number(hi[2])));
    m_pTable->setRowCount(static_cast<int>(m_found.size()));
    std::map<std::string, int> types;
    for (int r = 0; r < static_cast<int>(m_found.size()); ++r) {
        const CEquilibrium& e = m_found[r];
        const QString cells[5] = {Number(e.x[0]), Number(e.x[1]), Number(e.x[2]),
                                  EquilibriumTypeName(e.eType),
                                  Eigenvalue(e.eigen[0]) + ",  " + Eigenvalue(e.eigen[1]) + ",  " +
                                      Eigenvalue(e.eigen[2])};
        for (int c = 0; c < 5; ++c)
            m_pTable->setItem(r, c, new QTableWidgetItem(cells[c]));
        ++types[EquilibriumTypeName(e.eType)];
    }
    m_pTable->resizeColumnsToContents();
    QStringList parts;
    for (const auto& [name, n] : types)
        parts << QString("%1 %2").arg(n).arg(n == 1 ? QString::fromStdString(name) : Plural(name));
    m_pStatus->setText(m_found.empty() ? QString("No equilibrium inside these limits.")
                                       : QString("%1 equilibri%2: %3.")
                                             .arg(m_found.size())
                                             .arg(m_found.size() == 1 ? "um" : "a")
                                             .arg(parts.join(", ")));
    Mark();
}

void CEquilibriaWnd::Mark() {
    std::vector<CPlotMark> marks;
    if (m_pMark->isChecked() && isVisible())
        for (const CEquilibrium& e : m_found)
            marks.push_back({e.x[0], e.x[1], e.x[2], e.Stable()});
    m_host.MarkPoints(std::move(marks));
}

void CEquilibriaWnd::closeEvent(QCloseEvent* event) {
    m_host.MarkPoints({});
    QWidget::closeEvent(event);
}
