#include "AppFixture.h"
#include "app/BifurcationWnd.h"
#include "app/EquilibriaWnd.h"
#include "app/StabilityMapWnd.h"

#include <QLineEdit>
#include <QSpinBox>
#include <fstream>

namespace {

class AnalysisWndTest : public AppTest {
protected:
    template <class W> W* Open(int command) {
        dlg->CommandAction(command)->trigger();
        auto* w = dlg->findChild<W*>();
        EXPECT_TRUE(w && w->isVisible());
        return w;
    }
    static void Settle(CAnalysisWnd* w, const char* what) {
        ASSERT_TRUE(WaitFor([&] { return !w->IsComputing(); }, 20000)) << "waited for " << what;
        Pump(20);
    }
    static QPoint Pixel(QCustomPlot* p, double x, double y) {
        return QPointF(p->xAxis->coordToPixel(x), p->yAxis->coordToPixel(y)).toPoint();
    }
};

} // namespace

// The economic model's default map (Inertion against Adaptation over their limits): the title
// says what it describes; cells that settle or turn chaotic take their exponent's colour on the
// scale, the other classes their own, as the legend names them; hover gives the exponent with
// its error; a click puts the cell's economy into the boxes for the next Run and says that the
// Run draws the equations with its own step.
TEST_F(AnalysisWndTest, MapComputesShowsClassesAndClickRunsThatEconomy) {
    auto* w = Open<CStabilityMapWnd>(ID_ANALYSIS_STABILITY_MAP);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->m_rows[0].pParam->currentText(), "a Inertion");
    EXPECT_EQ(w->m_rows[1].pParam->currentText(), "d Adaptation");
    EXPECT_EQ(w->m_rows[1].pLo->text() + ":" + w->m_rows[1].pHi->text(), "0:20");
    w->m_pGridW->setValue(6);
    w->m_pGridH->setValue(5);
    w->m_pLongest->setValue(300);
    w->m_pError->setValue(0.05);
    w->m_pZeroLine->setChecked(true);
    w->resize(760, 700);
    Click(w->m_btnCompute);
    EXPECT_FALSE(w->m_btnCompute->isEnabled());
    Settle(w, "the 6 x 5 map");
    EXPECT_EQ(w->m_pProgress->value(), w->m_pProgress->maximum());
    EXPECT_EQ(w->m_pStatus->text(), "Done.");
    EXPECT_TRUE(w->m_btnCompute->isEnabled() && !w->m_btnCancel->isEnabled());
    // Beside the map, the whole spectrum at the cross.
    ASSERT_TRUE(WaitFor([&] { return !w->m_pSpectrum->text().contains("computing"); }, 20000))
        << "waited for the spectrum at the cross";
    EXPECT_TRUE(w->m_pSpectrum->text().contains(QString::fromUtf8(" per unit model time; "
                                                                  "Kaplan-Yorke dimension ")))
        << w->m_pSpectrum->text().toStdString();

    CMapPlot* plot = w->Plot();
    EXPECT_TRUE(plot->Title()->text().startsWith("Equations: Dormand-Prince 5(4)"));
    EXPECT_EQ(plot->ColorScale()->axis()->label(),
              "largest Lyapunov exponent (per unit model time)");
    QStringList legend;
    for (int k = 0; k < plot->plottableCount(); ++k)
        if (plot->legend->hasItemWithPlottable(plot->plottable(k)))
            legend << plot->plottable(k)->name();
    EXPECT_EQ(legend.join("|"), QString::fromUtf8("settles (λ < 0)|≈ 0: cycles|chaos (λ > 0)|"
                                                  "explosive|diverged"));
    // The scale is symmetric around zero.
    EXPECT_EQ(plot->ColorMap()->dataRange().lower, -plot->ColorMap()->dataRange().upper);
    const QImage shot = plot->grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    int onScale = 0;
    for (int cell = 0; cell < 30; ++cell) {
        const int i = cell % 6, j = cell / 6;
        const double a = qel::SweepValue(10, 50, i, 6), d = qel::SweepValue(0, 20, j, 5);
        // Away from the cross and the zero line, at the cell's centre.
        const QPoint at = Pixel(plot, a, d) + QPoint(i == 1 ? 12 : 0, 12);
        const qel::CMapCell& c = plot->Cells()[cell];
        ASSERT_NE(c.r.eOutcome, qel::EOutcome::Cancelled) << cell;
        const qel::EClass k = qel::Classify(c.r);
        const bool scale = k == qel::EClass::Settles || k == qel::EClass::Chaos;
        const QRgb want =
            scale ? plot->ColorMap()->gradient().color(c.r.dExponent, plot->ColorMap()->dataRange())
                  : CMapPlot::ClassColour(k).rgb();
        EXPECT_EQ(shot.pixel(at * ratio) & 0xFFFFFF, want & 0xFFFFFF) << cell;
        onScale += scale;
        EXPECT_EQ(plot->CellAt(at), cell);
    }
    EXPECT_GT(onScale, 0);
    // a d = b c with b = 1.5, c = 0.8 from the settings: d = 0.1 at a = 12.
    auto zero = plot->QelmeterLine()->data()->findBegin(12.0);
    EXPECT_TRUE(plot->QelmeterLine()->visible());
    EXPECT_NEAR(zero->value * zero->key, 1.2, 1e-12);
    EXPECT_FALSE(plot->QelmeterNote()->visible());

    const QPoint cell = Pixel(plot, qel::SweepValue(10, 50, 3, 6), qel::SweepValue(0, 20, 2, 5));
    QMouseEvent move(QEvent::MouseMove, cell, plot->mapToGlobal(cell), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(plot, &move);
    const qel::CMapCell& hovered = plot->Cells()[2 * 6 + 3];
    const QString text = w->m_pStatus->text();
    EXPECT_TRUE(text.startsWith("a Inertion = 34   d Adaptation = 10   ")) << text.toStdString();
    if (hovered.r.eOutcome == qel::EOutcome::Value) {
        EXPECT_TRUE(text.contains(
            QString::fromUtf8("λ = ") +
            QString::fromStdString(qel::ValueWithError(hovered.r.dExponent, hovered.r.dError))))
            << text.toStdString();
    }
    QTest::mouseClick(plot, Qt::LeftButton, {}, cell);
    EXPECT_EQ(Box(IDC_PARAM_A)->text().trimmed(), "34");
    EXPECT_EQ(Box(IDC_PARAM_D)->text().trimmed(), "10");
    EXPECT_TRUE(w->m_pStatus->text().endsWith("the Run draws them with its step at Variation " +
                                              QString::number(A().m_variation.m_value) + ".)"))
        << w->m_pStatus->text().toStdString();
    Click(Button(IDC_RUN));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(A().m_param[0].m_value, 34.0);
    EXPECT_EQ(A().m_param[3].m_value, 10.0);
    EXPECT_EQ(Item<CxStatic>(IDC_QELMETER_VALUE)->Text(), "338.800"); // 34 * 10 - 1.5 * 0.8

    // Numbers and pictures as the user saves them; a bad range is refused with a message.
    answer = dir.File("map.csv");
    Click(w->m_btnSaveData);
    std::ifstream csv(*answer);
    std::string line, header, first;
    while (std::getline(csv, line) && line[0] == '#')
        ;
    header = line;
    std::getline(csv, first);
    EXPECT_EQ(header, "a,d,lyapunov,error,model_time,class");
    EXPECT_EQ(first.substr(0, 5), "10,0,");
    answer = dir.File("map.pdf");
    Click(w->m_btnSavePicture);
    EXPECT_GT(std::filesystem::file_size(*answer), 1000u);
    w->m_rows[0].pLo->setText("50");
    Click(w->m_btnCompute);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "The range of a Inertion must be two numbers, the first below the second.");
    EXPECT_FALSE(w->IsComputing());

    // The Qelmeter's zero line d = 1.2 / a misses a map of d from 5 up: the map says where it
    // lies instead of drawing nothing.
    w->m_rows[0].pLo->setText("10");
    w->m_rows[1].pLo->setText("5");
    w->m_pGridW->setValue(2);
    w->m_pGridH->setValue(2);
    Click(w->m_btnCompute);
    Settle(w, "the 2 x 2 map");
    w->m_pZeroLine->setChecked(false);
    w->m_pZeroLine->setChecked(true);
    EXPECT_TRUE(plot->QelmeterNote()->visible());
    EXPECT_EQ(plot->QelmeterNote()->text(),
              "The Qelmeter zero line a d = b c lies outside the map:\nat a = 30 it is at d = "
              "0.04 (the map shows d from 5 to 20).");
    EXPECT_TRUE(w->m_pStatus->text().startsWith("The Qelmeter zero line a d = b c lies outside"));
}

// Cancel, closing the window and closing the program all end a computation that would run for
// hours. The window
// keeps painting meanwhile: Qt's own painting borrows threads from the global pool, so the
// analysis must not fill it.
TEST_F(AnalysisWndTest, CancelAndCloseStopLongWorkThatPaintsMeanwhile) {
    CWatchdog dog(60, "painting and stopping the analysis windows");
    auto* w = Open<CStabilityMapWnd>(ID_ANALYSIS_STABILITY_MAP);
    ASSERT_TRUE(w);
    w->m_pGridW->setValue(8);
    w->m_pGridH->setValue(8);
    w->m_pLongest->setValue(1e7);
    w->m_pError->setValue(0.0001);
    w->resize(1200, 900);
    Click(w->m_btnCompute);
    Pump(100);
    const QImage shot = w->grab().toImage();
    ASSERT_TRUE(w->IsComputing());
    EXPECT_EQ(shot.size(), w->size() * shot.devicePixelRatio());
    EXPECT_TRUE(w->m_btnCancel->isEnabled());
    Click(w->m_btnCancel);
    Settle(w, "the map to stop after Cancel");
    EXPECT_TRUE(w->m_pStatus->text().startsWith("Cancelled"));
    EXPECT_LT(w->m_pProgress->value(), 64);
    EXPECT_TRUE(w->m_btnCompute->isEnabled());

    auto* b = Open<CBifurcationWnd>(ID_ANALYSIS_BIFURCATION);
    ASSERT_TRUE(b);
    b->m_pTransient->setValue(1e7);
    b->m_pLongest->setValue(1e7);
    Click(b->m_btnCompute);
    ASSERT_TRUE(b->IsComputing());
    b->close();
    EXPECT_FALSE(b->IsComputing()); // closing waits for the cells to see the cancel flag
    // Closing the program while the map computes and a Run draws ends it too. The map is wide
    // enough to outlast the Run on any machine: the shipped economy's cells here end in seconds.
    w->m_pGridW->setValue(128);
    w->m_pGridH->setValue(128);
    Click(w->m_btnCompute);
    Type(IDC_ITERATION, "10000000");
    Click(Button(IDC_RUN));
    ASSERT_TRUE(w->IsComputing());
    dlg.reset();
}

// A Lorenz diagram over a: the points are the maxima of x, a click on a column writes a.
TEST_F(AnalysisWndTest, BifurcationColumnsAndClick) {
    Select(2);
    auto* b = Open<CBifurcationWnd>(ID_ANALYSIS_BIFURCATION);
    ASSERT_TRUE(b);
    // Before the first Compute the diagram is empty: no line of the current value.
    const QImage empty = b->Plot()->grab().toImage();
    for (int y = 0; y < empty.height(); ++y)
        for (int x = 0; x < empty.width(); ++x) {
            const QRgb p = empty.pixel(x, y);
            ASSERT_FALSE(qRed(p) - qGreen(p) > 100 && qRed(p) - qBlue(p) > 100) << x << "," << y;
        }
    EXPECT_EQ(b->m_row.pParam->currentText(), "a");
    EXPECT_EQ(b->m_pVariable->currentText(), "x");
    b->m_pColumns->setValue(5);
    b->resize(700, 560);
    Click(b->m_btnCompute);
    Settle(b, "the Lorenz diagram");
    CBifurcationPlot* plot = b->Plot();
    EXPECT_TRUE(plot->Title()->text().startsWith("Equations: "));
    int points = 0, steady = 0;
    for (const auto& c : plot->Columns())
        (c.bSteady ? steady : points) += static_cast<int>(c.maxima.size());
    EXPECT_GT(points, 5);
    EXPECT_EQ(plot->Points()->data()->size(), points);
    // Below a = 24.74 Lorenz settles: the first column (a = 10) shows its steady state,
    // x = +-sqrt(b (a - 1)), in the steady states' own colour, and says so on hover.
    ASSERT_TRUE(plot->Columns()[0].bSteady);
    EXPECT_EQ(plot->SteadyPoints()->data()->size(), steady);
    const double rest = plot->Columns()[0].maxima[0];
    EXPECT_NEAR(std::fabs(rest), std::sqrt(A().m_param[1].m_value * 9), 1e-4);
    EXPECT_TRUE(b->DescribeColumn(0).startsWith("a = 10   settles: steady state x = "))
        << b->DescribeColumn(0).toStdString();
    const QImage steadyShot = plot->grab().toImage();
    const QRgb green = steadyShot.pixel(Pixel(plot, 10, rest) * steadyShot.devicePixelRatio());
    EXPECT_GT(qGreen(green), qRed(green) + 60) << std::hex << green;
    // A maximum drawn where it lies: a dark point at its place in the picture.
    const QImage shot = plot->grab().toImage();
    const double a = plot->Points()->data()->begin()->key;
    const double x = plot->Points()->data()->begin()->value;
    const QRgb p = shot.pixel(Pixel(plot, a, x) * shot.devicePixelRatio());
    EXPECT_LT(qBlue(p) + qRed(p) + qGreen(p), 3 * 160) << std::hex << p;
    QTest::mouseClick(plot, Qt::LeftButton, {}, Pixel(plot, 30, x));
    EXPECT_EQ(Box(IDC_PARAM_A)->text().trimmed(), "30");
    Click(Button(IDC_RUN));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(A().m_param[0].m_value, 30.0);
}

// Lorenz's equilibria from the real menu: the origin a saddle, (+-sqrt(b (a - 1)), ...,
// a - 1) saddle-foci; marked, each shows as a ring over the plot at its projection, while the
// plot's own picture stays as drawn; unmarked, the rings go.
TEST_F(AnalysisWndTest, EquilibriaListedAndMarkedOverThePlot) {
    Select(2);
    Command(ID_ANALYSIS_EQUILIBRIA);
    auto* w = dlg->findChild<CEquilibriaWnd*>();
    ASSERT_TRUE(w && w->isVisible());
    ASSERT_EQ(w->m_pTable->rowCount(), 3);
    const double q = std::sqrt(A().m_param[1].m_value * (A().m_param[0].m_value - 1));
    const char* types[3] = {"saddle-focus", "saddle", "saddle-focus"};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(w->m_pTable->item(r, 3)->text(), types[r]) << r;
        EXPECT_NEAR(w->m_pTable->item(r, 0)->text().toDouble(), (r - 1) * q, 1e-4) << r;
    }
    EXPECT_EQ(w->m_pStatus->text(), "3 equilibria: 1 saddle, 2 saddle-foci.");
    CDrawWnd* plot = Draw();
    const QImage before = plot->grab().toImage();
    const QImage picture = plot->Surface().Picture(plot->m_nPlane).copy();
    w->m_pMark->setChecked(true);
    Pump(20);
    ASSERT_EQ(plot->Marks().size(), 3u);
    const QImage marked = plot->grab().toImage();
    for (const CPlotMark& m : plot->Marks()) {
        QPoint at;
        ASSERT_TRUE(plot->PixelOf(m, at));
        // The ring's right edge, five pixels out: white, where the picture had something else.
        const QPoint edge = (at + QPoint(5, 0)) * marked.devicePixelRatio();
        EXPECT_EQ(marked.pixel(edge) & 0xFFFFFF, 0xFFFFFFu) << at.x() << "," << at.y();
    }
    EXPECT_NE(marked, before);
    EXPECT_EQ(plot->Surface().Picture(plot->m_nPlane), picture);
    w->m_pMark->setChecked(false);
    Pump(20);
    EXPECT_EQ(plot->grab().toImage(), before);
}
