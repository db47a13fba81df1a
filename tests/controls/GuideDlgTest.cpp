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
const std::filesystem::path kSource = std::filesystem::path(QEL_SOURCE_DIR);

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
    GuideText g("<\\GAA     BB>\n<\\crRED> plain");
    EXPECT_EQ(g.text->LineHeight(), 12);
    const auto runs = g.text->Layout();
    ASSERT_EQ(runs.size(), 5u); // the white space between RED and plain is no run
    EXPECT_TRUE(runs[0].m_nX == 5 && runs[0].m_nY == 5 && runs[3].m_nY == 23);
    const QImage img = Grab(*g.text);
    // Nothing left of x 5 or above y 5; grey behind the first line's letters and spaces only.
    EXPECT_EQ(Count(img, IsNot(kWhite), 0, 0, INT_MAX, 5) + Count(img, IsNot(kWhite), 0, 0, 5), 0);
    ASSERT_TRUE(runs[1].m_bSpaces);
    EXPECT_TRUE(At(img, runs[1].m_nX + runs[1].m_nWidth / 2, 11) == kGrey &&
                At(img, 6, 6) == kGrey);
    EXPECT_EQ(Count(img, Is(kGrey), 0, 23), 0);
    const GUIDE_RUN &red = runs[3], &plain = runs[4];
    EXPECT_GT(Count(img, IsReddish, red.m_nX, 23, red.m_nX + red.m_nWidth, 41), 10);
    EXPECT_EQ(Count(img, IsReddish, plain.m_nX, 23, plain.m_nX + plain.m_nWidth, 41), 0);
    EXPECT_GT(Count(img, IsDark, plain.m_nX, 23, plain.m_nX + plain.m_nWidth, 41), 10);
    EXPECT_EQ(Count(img, IsNot(kWhite), plain.m_nX + plain.m_nWidth + 2), 0);
}

TEST(GuideStatic, LayoutWidthsMatchWhatIsDrawnAndWrapInsideTheControl) {
    // The tables carry the overhang Windows reports, so that after the per-character
    // adjustment a word is as wide as its glyphs: words neither overlap nor drift apart.
    const GUIDE_WIDTHS widths = MeasureGuideWidths(ArialFont(12));
    for (int v = 0; v < GFV_COUNT; ++v) {
        TEXT_SEGMENT s;
        s.m_bBold = v == GFV_BOLD || v == GFV_BOLD_ITALIC;
        s.m_bItalic = v == GFV_ITALIC || v == GFV_BOLD_ITALIC;
        QFont f = ArialFont(12);
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
    // Nothing is painted in the reserve at the right.
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "word ";
    GuideText g(text, QSize(200, 300));
    ASSERT_EQ(g.text->Layout().size(), 40u);
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
    QScrollBar& bar = g.text->ScrollBar();
    ASSERT_FALSE(bar.isHidden());
    EXPECT_EQ(bar.maximum(), g.text->ContentHeight() - 100);
    EXPECT_GE(bar.geometry().left(), 300 - 15); // in the margin the wrap keeps
    EXPECT_EQ(Count(Grab(*g.text), IsReddish, 0, 0, 280), 0);
    // Scrolled to the end, the last line shows; the wheel scrolls back.
    bar.setValue(bar.maximum());
    EXPECT_GT(Count(Grab(*g.text), IsReddish, 0, 0, 280), 10);
    QWheelEvent up(QPointF(50, 50), g.text->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 1200),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.text, &up);
    EXPECT_EQ(g.text->ScrollPos(), 0);
    // New text starts at the top again.
    bar.setValue(50);
    g.text->SetGuideText("short");
    EXPECT_TRUE(bar.isHidden() && g.text->ScrollPos() == 0);
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
    SetWindowColor(parent, RGB(0, 200, 255));
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
        const QString shipped = QString::fromStdString((kSource / "res/guide/guide.png").string());
        EXPECT_EQ(picture->Picture().size(), QImage(shipped).size());
    }
}

TEST(GuideDlg, LoadsTheGuideBesideTheProgramOrStaysEmptyAndEnds) {
    TempDir dir;
    platform::SetModuleDirectoryOverride(dir.Path() + "/");
    {
        CGuideDlg dlg;
        EXPECT_TRUE(dlg.TextControl().Segments().empty());
        const QImage img = Grab(dlg.TextControl());
        EXPECT_EQ(Count(img, IsNot(kWhite), 1, 1, img.width() - 1, img.height() - 1), 0);
        EXPECT_EQ(ExecWith(dlg, [&] { dlg.OkButton().click(); }), QDialog::Accepted);
    }
    TempDir::Write(dir.File("QelGuide.txt"), "<\\bQEL> guide\r\n");
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        CGuideDlg dlg;
        ASSERT_EQ(dlg.TextControl().Segments().size(), 2u);
        EXPECT_TRUE(dlg.TextControl().Segments()[0].m_bBold && dlg.OkButton().isDefault());
        EXPECT_EQ(ExecWith(dlg, [&] { QTest::keyClick(&dlg, key); }),
                  key == Qt::Key_Escape ? QDialog::Rejected : QDialog::Accepted);
    }
    // The shipped guide: balanced markup, and no word wider than the dialog's lines.
    std::filesystem::copy_file(kSource / "data/QelGuide.txt", dir.File("QelGuide.txt"),
                               std::filesystem::copy_options::overwrite_existing);
    CGuideDlg dlg;
    platform::SetModuleDirectoryOverride("");
    const CGdStatic& text = dlg.TextControl();
    ASSERT_GT(text.Segments().size(), 100u);
    for (const TEXT_SEGMENT& s : text.Segments())
        EXPECT_EQ(s.m_strText.find('>'), std::string::npos) << s.m_strText;
    EXPECT_FALSE(dlg.TextControl().ScrollBar().isHidden());
    const int width = text.contentsRect().width();
    for (const GUIDE_RUN& run : LayoutGuideRuns(text.Segments(), text.font(), width, INT_MAX))
        EXPECT_TRUE(run.m_bSpaces || run.m_nX + run.m_nWidth < width - 15) << run.m_strText;
}

} // namespace
