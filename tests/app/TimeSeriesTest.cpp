#include "AppFixture.h"

#include "../analysis/ColumnCheck.h"
#include "app/TimeSeriesWnd.h"

#include <QWheelEvent>
#include <qcustomplot.h>

namespace {
CTimeSeriesWnd* Open(CQel2Dlg& dlg) {
    dlg.CommandAction(ID_ANALYSIS_TIME_SERIES)->trigger();
    return Built(dlg.findChild<CTimeSeriesWnd*>());
}

// Pixels of the plot in the curve's colour inside the axis rect of one value.
int CurvePixels(CTimeSeriesWnd* ts, int curve, int axis) {
    const QImage shot = ts->Plot()->toPixmap().toImage();
    const QColor color = ts->Graph(curve, axis)->pen().color();
    return CountPixels(
        shot, [&](QRgb p) { return (p & 0xFFFFFF) == (color.rgb() & 0xFFFFFF); },
        ts->Rect(axis)->rect());
}

QString Titles(CTimeSeriesWnd* ts) {
    return ts->Title(0) + "|" + ts->Title(1) + "|" + ts->Title(2);
}
} // namespace

// One window, beside the main one, that follows every Run that renders, a switch of attractor
// and the accumulated countries, one curve each in the order accumulated.
TEST_F(AppTest, TimeSeriesFollowsRunsSwitchesAndCountries) {
    CTimeSeriesWnd* ts = Open(*dlg);
    ASSERT_TRUE(ts && ts->isVisible());
    EXPECT_EQ(Titles(ts), "X - Output(Q)|Y - Money (M)|Z - Pricing (P)");
    ASSERT_EQ(ts->CurveCount(), 1);
    EXPECT_EQ(ts->Envelope(0).Points(), 2001);
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_GT(CurvePixels(ts, 0, axis), 100) << axis;
    // Model time: two thirds of the Variation 0.01 per step.
    EXPECT_NEAR(ts->TimeAxis()->range().upper, 2001 * 0.02 / 3, 1e-12);
    ts->resize(900, 700); // more pixel columns, each with its own range
    EXPECT_TRUE(WaitFor([&] {
        return ts->Columns() == ts->Rect(0)->width() && ts->Columns() > 700;
    })) << "the columns did not follow a resize: "
        << ts->Columns();

    Type(IDC_ITERATION, "3000");
    Type(IDC_PARAM_A, "22");
    Click(Button(IDC_RUN));
    EXPECT_EQ(Built(ts)->Envelope(0).Points(), 3001);
    EXPECT_EQ(ts->Envelope(0).Record()->m_param[0].m_value, 22.0);
    Click(Button(IDC_RUN)); // nothing accepted, nothing rendered: the window keeps its curve
    EXPECT_EQ(ts->Envelope(0).Points(), 3001);

    Accumulate({2, 3});
    ASSERT_EQ(Built(ts)->CurveCount(), 3);
    const double countryA[3] = {20, 30, 15}; // Ostravia (listed when checked), Belmark, Zentia
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(ts->Envelope(c).Record()->m_param[0].m_value, countryA[c]) << c;
        EXPECT_GT(CurvePixels(ts, c, 0), 20) << c;
    }

    Select(2);
    EXPECT_EQ(Titles(Built(ts)), "X|Y|Z");
    ASSERT_EQ(ts->CurveCount(), 1);
    EXPECT_EQ(ts->Envelope(0).Record()->GetKind(), 2);
    EXPECT_EQ(ts->Envelope(0).Points(), 2001);
    // Closed, it does not follow; opened again, it catches up.
    ts->close();
    Select(5);
    EXPECT_EQ(ts->Envelope(0).Record()->GetKind(), 2);
    EXPECT_EQ(Open(*dlg), ts);
    EXPECT_EQ(ts->Envelope(0).Record()->GetKind(), 5);
}

// A million points: every pixel column holds exactly the range of its points, the highest
// point is drawn where it is, the wheel zooms the three plots together and a double click
// shows everything again.
TEST_F(AppTest, TimeSeriesEnvelopeHoldsEveryPointOfAMillion) {
    Type(IDC_ITERATION, "1000000");
    Click(Button(IDC_RUN));
    CTimeSeriesWnd* ts = Open(*dlg);
    ASSERT_EQ(ts->Envelope(0).Points(), 1000001);
    const auto points = qel::CollectTrajectory(A(), 1000000);
    const int columns = ts->Columns();
    ASSERT_EQ(columns, ts->Rect(0)->width());
    const double lo = ts->ViewLo(), hi = ts->ViewHi();
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 1000001);
    ExpectColumnsOfPoints(ts->Shown(0), points, lo, hi, columns);
    const int64_t top =
        std::max_element(points.begin(), points.end(), [](auto& p, auto& q) { return p.x < q.x; }) -
        points.begin();
    // The highest X is drawn at its place (one pixel of tolerance for the pen).
    const QImage shot = ts->Plot()->toPixmap().toImage();
    const QRgb pen = ts->Graph(0, 0)->pen().color().rgb() & 0xFFFFFF;
    const int px = static_cast<int>(ts->Rect(0)->axis(QCPAxis::atBottom)->coordToPixel(top));
    const int py =
        static_cast<int>(ts->Rect(0)->axis(QCPAxis::atLeft)->coordToPixel(points[top].x));
    EXPECT_GT(CountPixels(
                  shot, [&](QRgb p) { return (p & 0xFFFFFF) == pen; }, QRect(px - 1, py - 1, 3, 3)),
              0);

    const QPoint inside = ts->Rect(1)->rect().center();
    QWheelEvent wheel(inside, ts->Plot()->mapToGlobal(inside), {}, {0, 120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(ts->Plot(), &wheel);
    EXPECT_LT(ts->ViewHi() - ts->ViewLo(), 1000001);
    for (int a = 0; a < 3; ++a) {
        EXPECT_EQ(ts->Rect(a)->axis(QCPAxis::atBottom)->range().lower, ts->ViewLo());
        EXPECT_EQ(ts->Rect(a)->axis(QCPAxis::atBottom)->range().upper, ts->ViewHi());
    }
    EXPECT_NEAR(ts->TimeAxis()->range().lower, ts->ViewLo() * 0.02 / 3, 1e-9);
    QTest::mouseDClick(ts->Plot(), Qt::LeftButton, {}, inside);
    EXPECT_EQ(ts->ViewLo(), 0);
    EXPECT_EQ(ts->ViewHi(), 1000001);
}

// Save Picture writes PNG or PDF by the name's extension; Save Data the steps in view.
TEST_F(AppTest, TimeSeriesSavesPictureAndData) {
    CTimeSeriesWnd* ts = Open(*dlg);
    for (const char* name : {"Files/ts.png", "Files/ts.PDF", "no/such/ts.png"}) {
        answer = dir.File(name);
        ts->OnSavePicture();
    }
    EXPECT_EQ(QImage(QString::fromStdString(dir.File("Files/ts.png"))).size(), ts->Plot()->size());
    EXPECT_EQ(TempDir::Read(dir.File("Files/ts.PDF")).substr(0, 5), "%PDF-");
    EXPECT_EQ(messages, std::vector<std::string>{"Error creating file " + *answer});
    ts->SetView(100, 110.5);
    answer = dir.File("Files/ts.csv");
    ts->OnSaveData();
    Exported(ts);
    const std::string text = TempDir::Read(*answer);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 12); // header, steps 100 to 110
    const std::string row = text.substr(text.find('\n') + 1);
    EXPECT_EQ(row.substr(0, 4), "100,");
    EXPECT_NEAR(std::strtod(row.c_str() + 4, nullptr), 100 * 0.02 / 3, 1e-12); // model time
}
