#include "controls/GuideDlg.h"
#include "ControlsTestUtil.h"
#include "controls/GuidePicture.h"
#include "controls/GuideStatic.h"
#include "platform/ModulePath.h"
#include "tests/support/TempDir.h"
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <climits>
#include <filesystem>
#include <gtest/gtest.h>

using namespace controls_test;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(180, 180, 180);

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

bool IsWhite(COLORREF c) {
    return c == kWhite;
}

TEST(GuideStatic, FirstLineAt5And5WithALineAdvanceOf18) {
    GuideText g("Alpha\nBeta");
    EXPECT_EQ(g.text->LineHeight(), 12);
    const auto runs = g.text->Layout();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].m_nX, 5);
    EXPECT_EQ(runs[0].m_nY, 5);
    EXPECT_EQ(runs[1].m_nY, 23);

    // Ink starts at the run's place: nothing left of x 5 or above y 5, something just after.
    const QImage img = Grab(*g.text);
    const int w = runs[0].m_nWidth;
    EXPECT_EQ(Count(img, 0, 0, img.width(), 5, [](COLORREF c) { return !IsWhite(c); }), 0);
    EXPECT_EQ(Count(img, 0, 0, 5, img.height(), [](COLORREF c) { return !IsWhite(c); }), 0);
    EXPECT_GT(Count(img, 5, 5, 5 + w, 5 + 18, IsDark), 10);
    EXPECT_GT(Count(img, 5, 23, 5 + w, 23 + 18, IsDark), 10);
    EXPECT_EQ(Count(img, 5 + w + 2, 0, img.width(), img.height(), IsDark), 0);
}

TEST(GuideStatic, LayoutWidthsMatchWhatIsDrawn) {
    // The tables carry the overhang Windows reports, so that after the per-character
    // adjustment a word is as wide as its glyphs: words neither overlap nor drift apart.
    const QFont font = ArialFont(12);
    const GUIDE_WIDTHS widths = MeasureGuideWidths(font);
    const std::string word = "Qelmeter";
    for (int v = 0; v < GFV_COUNT; ++v) {
        TEXT_SEGMENT s;
        s.m_bBold = v == GFV_BOLD || v == GFV_BOLD_ITALIC;
        s.m_bItalic = v == GFV_ITALIC || v == GFV_BOLD_ITALIC;
        QFont f = font;
        f.setBold(s.m_bBold);
        f.setItalic(s.m_bItalic);
        const int drawn = QFontMetrics(f).horizontalAdvance(QString::fromStdString(word));
        const long long laid = GuideWordWidth(word, s, widths);
        EXPECT_LE(laid, drawn + 1) << v;
        EXPECT_GE(laid, drawn - 4) << v; // italic alone takes up to 5 more off long words
        EXPECT_EQ(widths.m_width[v][' '] - kGuideWidthAdjust[v],
                  QFontMetrics(f).horizontalAdvance(u' '));
    }
    // Control bytes count (and show) as a question mark.
    EXPECT_EQ(widths.m_width[GFV_NORMAL]['\t'], widths.m_width[GFV_NORMAL]['?']);
    EXPECT_EQ(GuideStringFromBytes("a\tb\x80\xE9"), QString::fromUtf8("a?b\u20AC\u00E9"));
}

TEST(GuideStatic, WrapsInsideTheControlWidth) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "word ";
    GuideText g(text, QSize(200, 300));
    const auto runs = g.text->Layout();
    ASSERT_EQ(runs.size(), 40u);
    int lines = 1;
    for (std::size_t i = 1; i < runs.size(); ++i)
        if (runs[i].m_nY != runs[i - 1].m_nY) {
            ++lines;
            EXPECT_EQ(runs[i].m_nX, 5);
            EXPECT_EQ(runs[i].m_nY, runs[i - 1].m_nY + 18);
        }
    EXPECT_GT(lines, 3);
    for (const GUIDE_RUN& run : runs)
        EXPECT_LT(run.m_nX + run.m_nWidth, 200 - 15);
    const QImage img = Grab(*g.text);
    EXPECT_EQ(Count(img, 200 - 15, 0, 200, 300, IsDark), 0);
}

TEST(GuideStatic, GreyBandRunsThroughItsSpacesOnly) {
    GuideText g("<\\GAA     BB>\nCC     DD");
    const auto runs = g.text->Layout();
    ASSERT_EQ(runs.size(), 5u);
    const GUIDE_RUN& greySpaces = runs[1];
    const GUIDE_RUN& whiteGap = runs[4]; // DD; the gap before it is white
    ASSERT_TRUE(greySpaces.m_bSpaces);
    const QImage img = Grab(*g.text);
    const int midGrey = greySpaces.m_nX + greySpaces.m_nWidth / 2;
    EXPECT_EQ(At(img, midGrey, greySpaces.m_nY + 6), kGrey);
    EXPECT_EQ(At(img, runs[0].m_nX + 1, runs[0].m_nY + 1), kGrey); // behind the letters too
    const int midWhite = (runs[3].m_nX + runs[3].m_nWidth + whiteGap.m_nX) / 2;
    EXPECT_EQ(At(img, midWhite, whiteGap.m_nY + 6), kWhite);
    EXPECT_EQ(Count(img, 0, 0, img.width(), img.height(), [](COLORREF c) { return c == kGrey; }) >
                  0,
              true);
    // Nothing grey on the second line.
    EXPECT_EQ(Count(img, 0, 23, img.width(), img.height(), [](COLORREF c) { return c == kGrey; }),
              0);
}

TEST(GuideStatic, ColoursAndBorder) {
    QWidget parent;
    auto* text = new CGdStatic(&parent);
    text->setFont(ArialFont(12));
    text->setFrameStyle(QFrame::Box | QFrame::Plain);
    text->resize(200, 100);
    text->SetGuideText("<\\crRED> <\\cbBLUE>");
    const QImage img = Grab(*text);
    // The border is the frame; the text starts 5 pixels inside it.
    EXPECT_TRUE(IsDark(At(img, 0, 50)));
    EXPECT_TRUE(IsDark(At(img, 199, 0)));
    EXPECT_EQ(At(img, 1, 50), kWhite);
    const auto runs = text->Layout();
    ASSERT_EQ(runs.size(), 2u); // the white space between them is not painted
    EXPECT_EQ(runs[0].m_nX, 5); // client coordinates
    EXPECT_GT(Count(img, 6, 6, 6 + runs[0].m_nWidth, 24, IsReddish), 10);
    const int bx = 1 + runs[1].m_nX;
    EXPECT_GT(Count(img, bx, 6, bx + runs[1].m_nWidth, 24,
                    [](COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 100; }),
              10);
    EXPECT_EQ(Count(img, 6, 6, 6 + runs[0].m_nWidth, 24,
                    [](COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 100; }),
              0);
}

TEST(GuideStatic, LongTextScrollsShortTextDoesNot) {
    GuideText g("One\nTwo", QSize(300, 100));
    EXPECT_TRUE(g.text->ScrollBar().isHidden());
    EXPECT_EQ(g.text->ScrollPos(), 0);

    std::string text = "Top";
    for (int i = 0; i < 20; ++i)
        text += "\nline";
    text += "\n<\\crBottom>";
    g.text->SetGuideText(text);
    const int content = g.text->ContentHeight();
    EXPECT_EQ(content, 5 + 21 * 18 + 18 + 5); // the last line and the bottom margin
    ASSERT_FALSE(g.text->ScrollBar().isHidden());
    EXPECT_EQ(g.text->ScrollBar().maximum(), content - 100);
    // The bar sits in the margin the wrap keeps free.
    EXPECT_GE(g.text->ScrollBar().geometry().left(), 300 - 15);
    EXPECT_EQ(Count(Grab(*g.text), 0, 0, 280, 100, IsReddish), 0);

    // Scrolled to the end, the last line shows and the first is gone.
    g.text->ScrollBar().setValue(g.text->ScrollBar().maximum());
    const QImage end = Grab(*g.text);
    EXPECT_GT(Count(end, 0, 0, 280, 100, IsReddish), 10);
    const auto runs = g.text->Layout();
    EXPECT_EQ(runs.back().m_strText, "Bottom");

    // The wheel scrolls too.
    QWheelEvent up(QPointF(50, 50), g.text->mapToGlobal(QPointF(50, 50)), QPoint(),
                   QPoint(0, 120 * 10), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.text, &up);
    EXPECT_EQ(g.text->ScrollPos(), 0);

    // New text starts at the top again.
    g.text->ScrollBar().setValue(50);
    g.text->SetGuideText("short");
    EXPECT_TRUE(g.text->ScrollBar().isHidden());
    EXPECT_EQ(g.text->ScrollPos(), 0);
}

TEST(GuideStatic, MissingFileLeavesItWhiteAndEmpty) {
    TempDir dir;
    GuideText g("something");
    g.text->LoadText(dir.File("nothing-here.txt"));
    EXPECT_TRUE(g.text->Segments().empty());
    const QImage img = Grab(*g.text);
    EXPECT_EQ(Count(img, 0, 0, img.width(), img.height(), IsWhite), img.width() * img.height());

    // A directory is no file; a huge file is cut where reading stops.
    g.text->LoadText(dir.Path());
    EXPECT_TRUE(g.text->Segments().empty());
    TempDir::Write(dir.File("huge.txt"), std::string(kGuideMaxBytes, 'a') + "\n<\\bEND>");
    EXPECT_EQ(ReadGuideFile(dir.File("huge.txt")).size(), kGuideMaxBytes);
    g.text->LoadText(dir.File("huge.txt"));
    ASSERT_EQ(g.text->Segments().size(), 1u);
    EXPECT_EQ(g.text->Segments()[0].m_strText.size(), kGuideMaxBytes);

    TempDir::Write(dir.File("guide.txt"), "Hello <\\bworld>\r\n");
    g.text->LoadText(dir.File("guide.txt"));
    ASSERT_EQ(g.text->Segments().size(), 2u);
    EXPECT_TRUE(g.text->Segments()[1].m_bBold);
}

QImage Quadrants() {
    QImage img(2, 2, QImage::Format_RGB32);
    img.setPixelColor(0, 0, Qt::red);
    img.setPixelColor(1, 0, Qt::green);
    img.setPixelColor(0, 1, Qt::blue);
    img.setPixelColor(1, 1, Qt::yellow);
    return img;
}

TEST(GuidePicture, StretchedWithoutKeepingTheAspectRatio) {
    TempDir dir;
    const QString png = QString::fromStdString(dir.File("p.png"));
    ASSERT_TRUE(Quadrants().save(png, "PNG"));
    QWidget parent;
    auto* picture = new CBmpStatic(&parent);
    picture->resize(80, 20);
    ASSERT_TRUE(picture->LoadPictureFrom(png));
    EXPECT_EQ(picture->Picture().size(), QSize(2, 2));
    const QImage img = Grab(*picture);
    EXPECT_EQ(At(img, 2, 2), RGB(255, 0, 0));
    EXPECT_EQ(At(img, 77, 2), RGB(0, 255, 0));
    EXPECT_EQ(At(img, 2, 17), RGB(0, 0, 255));
    EXPECT_EQ(At(img, 77, 17), RGB(255, 255, 0));
}

TEST(GuidePicture, MissingOrBrokenPictureDrawsNothing) {
    TempDir dir;
    const QString png = QString::fromStdString(dir.File("p.png"));
    const QString bmp = QString::fromStdString(dir.File("p.bmp"));
    ASSERT_TRUE(Quadrants().save(png, "PNG"));
    ASSERT_TRUE(Quadrants().save(bmp, "BMP"));
    TempDir::Write(dir.File("cut.png"), TempDir::Read(dir.File("p.png")).substr(0, 20));

    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(0, 200, 255));
    parent.setPalette(pal);
    auto* picture = new CBmpStatic(&parent);
    picture->resize(40, 40);
    for (const std::string name : {"missing.png", "p.bmp", "cut.png"}) {
        ASSERT_TRUE(picture->LoadPictureFrom(png));
        // A failed load also frees the picture held before.
        EXPECT_FALSE(picture->LoadPictureFrom(QString::fromStdString(dir.File(name)))) << name;
        EXPECT_FALSE(picture->HasPicture()) << name;
        const QImage img = Grab(*picture);
        EXPECT_EQ(Count(img, 0, 0, 40, 40, [](COLORREF c) { return c == RGB(0, 200, 255); }),
                  40 * 40)
            << name;
    }
    EXPECT_FALSE(picture->LoadPictureFrom(":/no/such/resource"));
}

std::string SourceFile(const char* path) {
    return (std::filesystem::path(__FILE__).parent_path() / "../.." / path).string();
}

TEST(GuidePicture, TheGuideResource) {
    // Built in, it decodes to the picture in res/guide; not built in, the control stays empty.
    CBmpStatic picture;
    const bool bBuiltIn = QFile::exists(QString::fromLatin1(kGuidePictureResource));
    EXPECT_EQ(picture.LoadPicture(), bBuiltIn);
    EXPECT_EQ(picture.HasPicture(), bBuiltIn);
    if (bBuiltIn) {
        const QImage source(QString::fromStdString(SourceFile("res/guide/guide.png")));
        ASSERT_FALSE(source.isNull());
        EXPECT_EQ(picture.Picture().size(), source.size());
    }
}

TEST(GuideDlg, BuiltFromTemplate160AndLoadsTheGuideBesideTheProgram) {
    TempDir dir;
    TempDir::Write(dir.File("QelGuide.txt"), "<\\bQEL> guide\n");
    platform::SetModuleDirectoryOverride(dir.Path() + "/");
    CGuideDlg dlg;
    platform::SetModuleDirectoryOverride("");

    EXPECT_EQ(dlg.windowTitle(), "QEL SIMULATOR GUIDE");
    EXPECT_EQ(dlg.size(), QSize(1245, 683));
    EXPECT_EQ(dlg.font().pixelSize(), 12);
    EXPECT_EQ(dlg.TextControl().geometry(), QRect(15, 16, 578, 618));
    EXPECT_EQ(dlg.TextControl().frameWidth(), 1);
    EXPECT_EQ(dlg.TextControl().LineHeight(), 12);
    EXPECT_EQ(dlg.PictureControl().geometry(), QRect(600, 16, 630, 618));
    EXPECT_EQ(dlg.OkButton().geometry(), QRect(563, 650, 105, 23));
    EXPECT_EQ(dlg.OkButton().text(), "OK");
    EXPECT_TRUE(dlg.OkButton().isDefault());
    ASSERT_EQ(dlg.TextControl().Segments().size(), 2u);
    EXPECT_EQ(dlg.TextControl().Segments()[0].m_strText, "QEL");
}

TEST(GuideDlg, MissingGuideLeavesTheTextEmptySilently) {
    TempDir dir;
    platform::SetModuleDirectoryOverride(dir.Path() + "/");
    CGuideDlg dlg;
    platform::SetModuleDirectoryOverride("");
    EXPECT_TRUE(dlg.TextControl().Segments().empty());
    const QImage img = Grab(dlg.TextControl());
    EXPECT_EQ(Count(img, 1, 1, img.width() - 1, img.height() - 1, IsWhite),
              (img.width() - 2) * (img.height() - 2));
}

TEST(GuideDlg, OkAndEscapeEndTheModalRun) {
    TempDir dir;
    platform::SetModuleDirectoryOverride(dir.Path() + "/");
    {
        CGuideDlg dlg;
        QTimer::singleShot(0, &dlg, [&] { dlg.OkButton().click(); });
        EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    }
    {
        CGuideDlg dlg;
        QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); });
        EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    }
    {
        CGuideDlg dlg;
        QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Return); });
        EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    }
    platform::SetModuleDirectoryOverride("");
}

TEST(GuideDlg, ShippedGuideUsesTheMarkupAndFitsItsControl) {
    const std::string bytes = ReadGuideFile(SourceFile("data/QelGuide.txt"));
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    EXPECT_EQ(bytes.find('\xFF'), std::string::npos);
    const auto segments = ParseGuideText(bytes);
    bool bBold = false, bItalic = false, bUnderline = false, bRed = false, bBlue = false,
         bGrey = false;
    std::string all;
    for (const TEXT_SEGMENT& s : segments) {
        bBold |= s.m_bBold;
        bItalic |= s.m_bItalic;
        bUnderline |= s.m_bUnderline;
        bRed |= s.m_crText == RGB(255, 0, 0);
        bBlue |= s.m_crText == RGB(0, 0, 255);
        bGrey |= s.m_crBkgnd == RGB(180, 180, 180);
        all += s.m_strText;
        // Unbalanced markup would show a stray bracket.
        EXPECT_EQ(s.m_strText.find('>'), std::string::npos) << s.m_strText;
    }
    EXPECT_TRUE(bBold && bItalic && bUnderline && bRed && bBlue && bGrey);
    for (const char* term :
         {"Qelmeter", "Accumulated Countries", "Simulate", "Henon", "Ikeda", "Lorenz", "Pickover",
          "Rossler", "Sorvan", "Save Parameters", "Save As", "Parameters.ini", "Inertion",
          "Interest", "Previous data remains."})
        EXPECT_NE(all.find(term), std::string::npos) << term;

    // In the dialog's text control no word is wider than a line.
    TempDir dir;
    TempDir::Write(dir.File("QelGuide.txt"), bytes);
    platform::SetModuleDirectoryOverride(dir.Path() + "/");
    CGuideDlg dlg;
    platform::SetModuleDirectoryOverride("");
    const int width = dlg.TextControl().contentsRect().width();
    const auto runs = LayoutGuideRuns(segments, dlg.TextControl().font(), width, INT_MAX);
    ASSERT_GT(runs.size(), 300u);
    // Longer than the control: it scrolls.
    EXPECT_GT(runs.back().m_nY, dlg.TextControl().contentsRect().height());
    EXPECT_FALSE(dlg.TextControl().ScrollBar().isHidden());
    for (const GUIDE_RUN& run : runs)
        if (!run.m_bSpaces) {
            EXPECT_LT(run.m_nX + run.m_nWidth, width - 15) << run.m_strText;
        }
}

} // namespace
