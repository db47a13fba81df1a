#include "ControlsTestUtil.h"
#include "controls/GuideDlg.h"
#include "controls/GuideStatic.h"
#include "controls/GuideText.h"
#include "platform/ModulePath.h"

#include <QScrollBar>
#include <climits>
#include <filesystem>
#include <gtest/gtest.h>

using namespace controls_test;

namespace {

// Each segment as [line breaks, B(old) I(talic) U(nderline), r(ed)/b(lue) text, G(rey)] text.
std::string Dump(const std::vector<TEXT_SEGMENT>& segments) {
    std::string s;
    for (const TEXT_SEGMENT& g : segments) {
        s += "[" + (g.m_nLineBreaks ? std::to_string(g.m_nLineBreaks) : "");
        s += std::string(g.m_bBold ? "B" : "") + (g.m_bItalic ? "I" : "") +
             (g.m_bUnderline ? "U" : "");
        s += g.m_crText == kGuideRed ? "r" : g.m_crText == kGuideBlue ? "b" : g.m_crText ? "?" : "";
        s += g.m_crBkgnd == kGuideGrey ? "G" : g.m_crBkgnd != kGuideWhite ? "?" : "";
        s += "]" + g.m_strText;
    }
    return s;
}

TEST(GuideTextParse, Markup) {
    const struct {
        std::string bytes, segments;
    } cases[] = {
        // The byte after the codes is always text, even a line feed, "<" or ">".
        {"<\\b\\cr>Warning\n", "[Br]>Warning"},
        {"<\\b\nX", "[B]\nX"},
        {"<<a>", "[]<a"},
        {"<>>b", "[]>[]b"},
        // A style belongs to its run only; unknown codes and \c with another letter are
        // consumed, the last colour wins, and letters are case-sensitive.
        {"Use <\\bRun> to start", "[]Use [B]Run[] to start"},
        {"<\\G\\I\\u\\cbBand> <\\x\\cQ\\cr\\cbZ>", "[IUbG]Band[] [b]Z"},
        {"<\\B\\g\\i\\U\\cRx>", "[]x"},
        {"a \\b c", "[]a \\b c"},
        // Line feeds count the breaks of the next segment; trailing ones make no segment.
        {"A\n\n\nB\nC", "[]A[3]B[1]C"},
        {"A\n\n<\\bB>", "[]A[2B]B"},
        {"A\n\n\n", "[]A"},
        {"", ""},
        {"\n\n<", ""},
        // CR LF is one line feed, also right after the codes; a CR elsewhere is a character.
        {"A\r\n\r\nB", "[]A[2]B"},
        {"A\rB", "[]A\rB"},
        {"A\r\r\nB", "[]A\r[1]B"},
        {"<\\b\r\nX", "[B]\nX"},
        // 0xFF ends the text wherever it stands; other high bytes and NUL are text.
        {"abc\xFF"
         "def\nghi",
         "[]abc"},
        {"ab<\\b\xFFX", "[]ab"},
        {std::string("\xE9t\xE9\0x", 5), std::string("[]\xE9t\xE9\0x", 7)},
        // The end of the file inside the codes drops them; an unclosed run ends with the file.
        {"abc<", "[]abc"},
        {"abc<\\b\\cr", "[]abc"},
        {"<\\bbold to the end", "[B]bold to the end"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Dump(ParseGuideText(c.bytes)), c.segments) << c.bytes;
}

// Every character 6 wide in the normal table, 8 bold, 10 italic, 12 bold italic; space 3.
GUIDE_WIDTHS FixedWidths() {
    GUIDE_WIDTHS w;
    const int per[GFV_COUNT] = {6, 8, 10, 12};
    for (int v = 0; v < GFV_COUNT; ++v)
        w.m_width[v].fill(per[v]);
    w.m_width[GFV_NORMAL][' '] = 3;
    w.m_width[GFV_BOLD][' '] = 50; // spaces always advance by the normal width
    w.m_width[GFV_NORMAL]['z'] = 5;
    w.m_width[GFV_NORMAL]['y'] = 4;
    return w;
}

// Each run as text@x,y+width, a "~" before runs of painted spaces.
std::string Lay(const std::string& text, int nWidth = 100, int nHeight = 1000) {
    std::string s;
    for (const GUIDE_RUN& r :
         LayoutGuideText(ParseGuideText(text), FixedWidths(), nWidth, nHeight, 12))
        s += (s.empty() ? "" : " ") + std::string(r.m_bSpaces ? "~" : "") + r.m_strText + "@" +
             std::to_string(r.m_nX) + "," + std::to_string(r.m_nY) + "+" +
             std::to_string(r.m_nWidth);
    return s;
}

TEST(GuideTextLayout, Rules) {
    const struct {
        std::string text, runs;
    } cases[] = {
        // The first line at 5, 5; lines 18 apart.
        {"ab\ncd\n\n\nef", "ab@5,5+12 cd@5,23+12 ef@5,77+12"},
        // Words follow each other; bold takes 1 per character off, its spaces are normal.
        {"ab <\\bcd> e", "ab@5,5+12 cd@20,5+14 e@37,5+6"},
        {"<\\bx y>", "x@5,5+7 y@15,5+7"},
        // A word wraps when it reaches the reserve: x + width >= 85 of 100.
        {"aaaaaaaaa bbb", "aaaaaaaaa@5,5+54 bbb@62,5+18"},
        {"aaaaaaaaa bbbb", "aaaaaaaaa@5,5+54 bbbb@5,23+24"},
        {"aaaaaaaaa bbbz", "aaaaaaaaa@5,5+54 bbbz@5,23+23"},
        {"aaaaaaaaa bbby", "aaaaaaaaa@5,5+54 bbby@62,5+22"},
        // A word wider than a line starts a fresh one, even the first, and overflows.
        {std::string(20, 'w') + " x", std::string(20, 'w') + "@5,23+120 x@5,41+6"},
        // Spaces are painted only on a coloured background; a long run of them never wraps.
        {"a   b", "a@5,5+6 b@20,5+6"},
        {"<\\Ga   b>", "a@5,5+6 ~   @11,5+9 b@20,5+6"},
        {"<\\bx" + std::string(40, ' ') + "y>", "x@5,5+7 y@5,23+7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lay(c.text), c.runs) << c.text;
    // Nothing starts below the area, and zero or negative sizes give nothing.
    EXPECT_EQ(Lay("1\n2\n3\n4\n5\n6\n7", 100, 95), "1@5,5+6 2@5,23+6 3@5,41+6 4@5,59+6 5@5,77+6");
    EXPECT_EQ(Lay("abc", 0, 0), "");
    EXPECT_EQ(Lay("abc", -5, -5), "");
    EXPECT_EQ(Lay("a" + std::string(100000, ' ') + "b"), "a@5,5+6 b@5,23+6");
    EXPECT_EQ(GuideLineAdvance(13), 19); // 19.5 truncated
    EXPECT_EQ(GuideLineAdvance(INT_MIN), INT_MAX);
}

TEST(GuideTextLayout, WordWidthAdjustments) {
    GUIDE_WIDTHS w = FixedWidths();
    w.m_width[GFV_NORMAL][0xE9] = 40; // looked up by the unsigned code
    // Bold 1 per character off, bold italic 7, italic 5 and then clamp(length - 5, 0, 5) more.
    const struct {
        const char* word;
        bool bBold, bItalic;
        long long nWidth;
    } cases[] = {{"abcdefgh", false, false, 48},
                 {"\xE9", false, false, 40},
                 {"abcdefgh", true, false, 8 * 7},
                 {"abcdefgh", true, true, 8 * 5},
                 {"abcde", false, true, 5 * 5},
                 {"abcdefgh", false, true, 8 * 5 - 3},
                 {"abcdefghijklmn", false, true, 14 * 5 - 5}};
    for (const auto& c : cases) {
        TEXT_SEGMENT s;
        s.m_bBold = c.bBold;
        s.m_bItalic = c.bItalic;
        EXPECT_EQ(GuideWordWidth(c.word, s, w), c.nWidth) << c.word << c.bBold << c.bItalic;
    }
}

constexpr COLORREF kWhite = RGB(255, 255, 255), kGrey = RGB(180, 180, 180);

// A text control without a border, so client and widget coordinates agree.
struct GuideText {
    QWidget parent;
    CGdStatic* text = new CGdStatic(&parent);
    explicit GuideText(const std::string& bytes, QSize size = QSize(300, 200)) {
        text->setFont(ProgramFont(12));
        text->resize(size);
        text->SetGuideText(bytes);
    }
};

TEST(GuideStatic, InkStartsAtTheRunsInTheirColoursAndLongTextScrolls) {
    GuideText g("<\\GAA     BB>\n<\\crRED> plain", QSize(300, 100));
    const auto runs = g.text->Layout();
    ASSERT_EQ(runs.size(), 5u); // the white space between RED and plain is no run
    const QImage img = Grab(*g.text);
    // Nothing left of x 5 or above y 5; grey behind the first line's letters and spaces only.
    EXPECT_EQ(Count(img, IsNot(kWhite), 0, 0, INT_MAX, 5) + Count(img, IsNot(kWhite), 0, 0, 5), 0);
    EXPECT_TRUE(At(img, runs[1].m_nX + runs[1].m_nWidth / 2, 11) == kGrey &&
                At(img, 6, 6) == kGrey);
    EXPECT_EQ(Count(img, Is(kGrey), 0, 23), 0);
    const GUIDE_RUN &red = runs[3], &plain = runs[4];
    EXPECT_GT(Count(img, IsReddish, red.m_nX, 23, red.m_nX + red.m_nWidth, 41), 10);
    EXPECT_EQ(Count(img, IsReddish, plain.m_nX, 23, plain.m_nX + plain.m_nWidth, 41), 0);
    EXPECT_TRUE(g.text->ScrollBar().isHidden());
    g.text->SetGuideText("Top" + std::string(20, '\n') + "<\\crBottom>");
    QScrollBar& bar = g.text->ScrollBar();
    ASSERT_FALSE(bar.isHidden());
    EXPECT_EQ(bar.maximum(), 5 + 20 * 18 + 18 + 5 - 100); // the last line and the margin
    EXPECT_EQ(Count(Grab(*g.text), IsReddish, 0, 0, 280), 0);
    bar.setValue(bar.maximum());
    EXPECT_GT(Count(Grab(*g.text), IsReddish, 0, 0, 280), 10);
    g.text->SetGuideText("short"); // new text starts at the top again
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

TEST(GuideDlg, ShowsTheShippedGuideBesideTheProgramWithinItsLines) {
    TempDir dir;
    platform::SetModuleDirectoryOverride(dir.Path() + "/");
    std::filesystem::copy_file(std::filesystem::path(QEL_SOURCE_DIR) / "data/QelGuide.txt",
                               dir.File("QelGuide.txt"));
    CGuideDlg dlg;
    platform::SetModuleDirectoryOverride("");
    const CGdStatic& text = dlg.TextControl();
    ASSERT_GT(text.Segments().size(), 100u);
    for (const TEXT_SEGMENT& s : text.Segments()) // balanced markup
        EXPECT_EQ(s.m_strText.find('>'), std::string::npos) << s.m_strText;
    const int width = text.contentsRect().width();
    for (const GUIDE_RUN& run : LayoutGuideRuns(text.Segments(), text.font(), width, INT_MAX))
        EXPECT_TRUE(run.m_bSpaces || run.m_nX + run.m_nWidth < width - 15) << run.m_strText;
}

} // namespace
