#include "controls/GuideDlg.h"
#include "ControlsTestUtil.h"
#include "controls/GuidePicture.h"
#include "controls/GuideStatic.h"
#include "platform/ModulePath.h"
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <climits>
#include <filesystem>
#include <gtest/gtest.h>

using namespace controls_test;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kGrey = RGB(180, 180, 180);

// A text control without a border, so client and widget coordinates agree.
struct GuideText {
    QWidget parent;
    CGdStatic* text = new CGdStatic(&parent);
    explicit GuideText(const std::string& bytes, QSize size = QSize(300, 200)) {
        text->setFont(ArialFont(12));
        text->resize(size);
        text->SetGuideText(bytes);
    }
};

TEST(GuideStatic, InkStartsAtTheRunsInTheirColours) {
    GuideText g("<\\GAA     BB>\n<\\crRED> <\\cbBLUE>");
    EXPECT_EQ(g.text->LineHeight(), 12);
    const auto runs = g.text->Layout();
    ASSERT_EQ(runs.size(), 5u); // the white space between RED and BLUE is no run
    EXPECT_TRUE(runs[0].m_nX == 5 && runs[0].m_nY == 5 && runs[3].m_nY == 23);
    const QImage img = Grab(*g.text);
    // Nothing left of x 5 or above y 5; grey behind the first line's letters and spaces only.
    EXPECT_EQ(Count(
                  img, [](COLORREF c) { return c != kWhite; }, 0, 0, INT_MAX, 5),
              0);
    EXPECT_EQ(Count(
                  img, [](COLORREF c) { return c != kWhite; }, 0, 0, 5, INT_MAX),
              0);
    ASSERT_TRUE(runs[1].m_bSpaces);
    EXPECT_EQ(At(img, runs[1].m_nX + runs[1].m_nWidth / 2, 11), kGrey);
    EXPECT_EQ(At(img, 6, 6), kGrey);
    EXPECT_EQ(Count(img, Is(kGrey), 0, 23), 0);
    auto blue = [](COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 100; };
    const GUIDE_RUN &red = runs[3], &blu = runs[4];
    EXPECT_GT(Count(img, IsReddish, red.m_nX, 23, red.m_nX + red.m_nWidth, 41), 10);
    EXPECT_EQ(Count(img, blue, red.m_nX, 23, red.m_nX + red.m_nWidth, 41), 0);
    EXPECT_GT(Count(img, blue, blu.m_nX, 23, blu.m_nX + blu.m_nWidth, 41), 10);
    EXPECT_EQ(At(img, (red.m_nX + red.m_nWidth + blu.m_nX) / 2, 29), kWhite);
    EXPECT_EQ(Count(
                  img, [](COLORREF c) { return c != kWhite; }, blu.m_nX + blu.m_nWidth + 2),
              0);
}

TEST(GuideStatic, LayoutWidthsMatchWhatIsDrawnAndWrapInsideTheControl) {
    // The tables carry the overhang Windows reports, so that after the per-character
    // adjustment a word is as wide as its glyphs: words neither overlap nor drift apart.
    const QFont font = ArialFont(12);
    const GUIDE_WIDTHS widths = MeasureGuideWidths(font);
    for (int v = 0; v < GFV_COUNT; ++v) {
        TEXT_SEGMENT s;
        s.m_bBold = v == GFV_BOLD || v == GFV_BOLD_ITALIC;
        s.m_bItalic = v == GFV_ITALIC || v == GFV_BOLD_ITALIC;
        QFont f = font;
        f.setBold(s.m_bBold);
        f.setItalic(s.m_bItalic);
        const int drawn = QFontMetrics(f).horizontalAdvance("Qelmeter");
        const long long laid = GuideWordWidth("Qelmeter", s, widths);
        EXPECT_TRUE(laid <= drawn + 1 && laid >= drawn - 4) << v; // italic takes up to 5 more off
        EXPECT_EQ(widths.m_width[v][' '] - kGuideWidthAdjust[v],
                  QFontMetrics(f).horizontalAdvance(u' '));
    }
    // Control bytes count (and show) as a question mark.
    EXPECT_EQ(widths.m_width[GFV_NORMAL]['\t'], widths.m_width[GFV_NORMAL]['?']);
    EXPECT_EQ(GuideStringFromBytes("a\tb\x80\xE9"), QString::fromUtf8("a?b\u20AC\u00E9"));

    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "word ";
    GuideText g(text, QSize(200, 300));
    const auto runs = g.text->Layout();
    ASSERT_EQ(runs.size(), 40u);
    EXPECT_GT(runs.back().m_nY, 5 + 3 * 18);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_LT(runs[i].m_nX + runs[i].m_nWidth, 200 - 15);
        if (i && runs[i].m_nY != runs[i - 1].m_nY) {
            EXPECT_TRUE(runs[i].m_nX == 5 && runs[i].m_nY == runs[i - 1].m_nY + 18) << i;
        }
    }
    EXPECT_EQ(Count(Grab(*g.text), IsDark, 200 - 15), 0);
}

TEST(GuideStatic, LongTextScrollsShortTextDoesNot) {
    GuideText g("One\nTwo", QSize(300, 100));
    EXPECT_TRUE(g.text->ScrollBar().isHidden());
    std::string text = "Top";
    for (int i = 0; i < 20; ++i)
        text += "\nline";
    g.text->SetGuideText(text + "\n<\\crBottom>");
    EXPECT_EQ(g.text->ContentHeight(), 5 + 21 * 18 + 18 + 5); // the last line and the margin
    ASSERT_FALSE(g.text->ScrollBar().isHidden());
    EXPECT_EQ(g.text->ScrollBar().maximum(), g.text->ContentHeight() - 100);
    EXPECT_GE(g.text->ScrollBar().geometry().left(), 300 - 15); // in the margin the wrap keeps
    EXPECT_EQ(Count(Grab(*g.text), IsReddish, 0, 0, 280), 0);
    // Scrolled to the end, the last line shows; the wheel scrolls back.
    g.text->ScrollBar().setValue(g.text->ScrollBar().maximum());
    EXPECT_GT(Count(Grab(*g.text), IsReddish, 0, 0, 280), 10);
    QWheelEvent up(QPointF(50, 50), g.text->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 1200),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.text, &up);
    EXPECT_EQ(g.text->ScrollPos(), 0);
    // New text starts at the top again.
    g.text->ScrollBar().setValue(50);
    g.text->SetGuideText("short");
    EXPECT_TRUE(g.text->ScrollBar().isHidden());
    EXPECT_EQ(g.text->ScrollPos(), 0);
}

TEST(GuideStatic, LoadTextFailuresAndHugeFiles) {
    TempDir dir;
    GuideText g("something");
    for (const std::string& path : {dir.File("nothing-here.txt"), dir.Path()}) {
        g.text->LoadText(path);
        EXPECT_TRUE(g.text->Segments().empty()) << path;
    }
    EXPECT_EQ(Count(Grab(*g.text), Is(kWhite)), 300 * 200);
    // A huge file is cut where reading stops.
    TempDir::Write(dir.File("huge.txt"), std::string(kGuideMaxBytes, 'a') + "\n<\\bEND>");
    g.text->LoadText(dir.File("huge.txt"));
    ASSERT_EQ(g.text->Segments().size(), 1u);
    EXPECT_EQ(g.text->Segments()[0].m_strText.size(), kGuideMaxBytes);
}

TEST(GuidePicture, StretchedWithoutKeepingTheAspectRatioAndNothingOnFailure) {
    TempDir dir;
    const QString png = SavePattern(dir, "p.png", "PNG");
    TempDir::Write(dir.File("cut.png"), TempDir::Read(dir.File("p.png")).substr(0, 20));
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(0, 200, 255));
    parent.setPalette(pal);
    auto* picture = new CBmpStatic(&parent);
    picture->resize(80, 20);
    ASSERT_TRUE(picture->LoadPictureFrom(png));
    const QImage img = Grab(*picture);
    EXPECT_TRUE(At(img, 2, 2) == RGB(0, 0, 255) && At(img, 77, 2) == RGB(255, 0, 0) &&
                At(img, 2, 18) == RGB(255, 0, 0));
    for (const QString& bad :
         {QString::fromStdString(dir.File("missing.png")), SavePattern(dir, "p.bmp", "BMP"),
          QString::fromStdString(dir.File("cut.png")), QString(":/no/such")}) {
        ASSERT_TRUE(picture->LoadPictureFrom(png));
        // A failed load also frees the picture held before.
        EXPECT_FALSE(picture->LoadPictureFrom(bad)) << bad.toStdString();
        EXPECT_FALSE(picture->HasPicture());
        EXPECT_EQ(Count(Grab(*picture), Is(RGB(0, 200, 255))), 80 * 20) << bad.toStdString();
    }
    // Built in, the guide resource decodes to the picture in res/guide.
    const bool bBuiltIn = QFile::exists(QString::fromLatin1(kGuidePictureResource));
    EXPECT_EQ(picture->LoadPicture(), bBuiltIn);
    if (bBuiltIn) {
        EXPECT_EQ(picture->Picture().size(),
                  QImage(QString::fromStdString(std::filesystem::path(__FILE__).parent_path() /
                                                "../../res/guide/guide.png"))
                      .size());
    }
}

TEST(GuideDlg, LoadsTheGuideBesideTheProgramOrStaysEmptyAndEnds) {
    TempDir dir;
    platform::SetModuleDirectoryOverride(dir.Path() + "/");
    {
        CGuideDlg dlg;
        EXPECT_TRUE(dlg.TextControl().Segments().empty());
        const QImage img = Grab(dlg.TextControl());
        EXPECT_EQ(Count(img, Is(kWhite), 1, 1, img.width() - 1, img.height() - 1),
                  (img.width() - 2) * (img.height() - 2));
        EXPECT_EQ(ExecWith(dlg, [&] { dlg.OkButton().click(); }), QDialog::Accepted);
    }
    TempDir::Write(dir.File("QelGuide.txt"), "<\\bQEL> guide\r\n");
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        CGuideDlg dlg;
        ASSERT_EQ(dlg.TextControl().Segments().size(), 2u);
        EXPECT_TRUE(dlg.TextControl().Segments()[0].m_bBold);
        EXPECT_TRUE(dlg.OkButton().isDefault());
        EXPECT_EQ(ExecWith(dlg, [&] { QTest::keyClick(&dlg, key); }),
                  key == Qt::Key_Escape ? QDialog::Rejected : QDialog::Accepted);
    }
    platform::SetModuleDirectoryOverride("");
}

TEST(GuideDlg, ShippedGuideUsesTheMarkupAndFitsItsControl) {
    const std::string bytes = ReadGuideFile(
        (std::filesystem::path(__FILE__).parent_path() / "../../data/QelGuide.txt").string());
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.find_first_of("\r\xFF"), std::string::npos);
    const auto segments = ParseGuideText(bytes);
    unsigned nStyles = 0;
    std::string all;
    for (const TEXT_SEGMENT& s : segments) {
        nStyles |= s.m_bBold | s.m_bItalic << 1 | s.m_bUnderline << 2 |
                   (s.m_crText == kGuideRed) << 3 | (s.m_crText == kGuideBlue) << 4 |
                   (s.m_crBkgnd == kGuideGrey) << 5;
        all += s.m_strText;
        // Unbalanced markup would show a stray bracket.
        EXPECT_EQ(s.m_strText.find('>'), std::string::npos) << s.m_strText;
    }
    EXPECT_EQ(nStyles, 63u);
    for (const char* term : {"Qelmeter", "Accumulated Countries", "Sorvan", "Parameters.ini",
                             "Previous data remains."})
        EXPECT_NE(all.find(term), std::string::npos) << term;

    // In the dialog's text control no word is wider than a line, and the text scrolls.
    TempDir dir;
    TempDir::Write(dir.File("QelGuide.txt"), bytes);
    platform::SetModuleDirectoryOverride(dir.Path() + "/");
    CGuideDlg dlg;
    platform::SetModuleDirectoryOverride("");
    const int width = dlg.TextControl().contentsRect().width();
    const auto runs = LayoutGuideRuns(segments, dlg.TextControl().font(), width, INT_MAX);
    ASSERT_GT(runs.size(), 300u);
    EXPECT_GT(runs.back().m_nY, dlg.TextControl().contentsRect().height());
    EXPECT_FALSE(dlg.TextControl().ScrollBar().isHidden());
    for (const GUIDE_RUN& run : runs)
        EXPECT_TRUE(run.m_bSpaces || run.m_nX + run.m_nWidth < width - 15) << run.m_strText;
}

} // namespace
