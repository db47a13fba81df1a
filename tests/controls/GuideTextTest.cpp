#include "controls/GuideText.h"
#include <climits>
#include <gtest/gtest.h>

namespace {

TEXT_SEGMENT Seg(std::string text, int nBreaks = 0) {
    TEXT_SEGMENT s;
    s.m_strText = std::move(text);
    s.m_nLineBreaks = nBreaks;
    return s;
}

std::vector<std::string> Texts(const std::vector<TEXT_SEGMENT>& segments) {
    std::vector<std::string> texts;
    for (const TEXT_SEGMENT& s : segments)
        texts.push_back(s.m_strText);
    return texts;
}

TEST(GuideTextParse, ByteAfterTheCodesIsAlwaysText) {
    const auto segments = ParseGuideText("<\\b\\cr>Warning\n");
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].m_strText, ">Warning");
    EXPECT_TRUE(segments[0].m_bBold);
    EXPECT_EQ(segments[0].m_crText, RGB(255, 0, 0));
    EXPECT_FALSE(segments[0].m_bItalic);
    EXPECT_FALSE(segments[0].m_bUnderline);
    EXPECT_EQ(segments[0].m_crBkgnd, RGB(255, 255, 255));

    // Even a line feed, "<" or ">" right after the codes is text.
    EXPECT_EQ(Texts(ParseGuideText("<\\b\nX")), std::vector<std::string>{"\nX"});
    EXPECT_EQ(Texts(ParseGuideText("<<a>")), std::vector<std::string>{"<a"});
    EXPECT_EQ(Texts(ParseGuideText("<>>b")), (std::vector<std::string>{">", "b"}));
}

TEST(GuideTextParse, StyledRunInsideALine) {
    const auto segments = ParseGuideText("Use <\\bRun> to start");
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[0], Seg("Use "));
    TEXT_SEGMENT run = Seg("Run");
    run.m_bBold = true;
    EXPECT_EQ(segments[1], run);
    // The style belongs to its run only.
    EXPECT_EQ(segments[2], Seg(" to start"));
}

TEST(GuideTextParse, StyleCodes) {
    const auto segments = ParseGuideText("<\\G\\I\\u\\cbBand> <\\x\\cQ\\cr\\cbZ>");
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[0].m_strText, "Band");
    EXPECT_EQ(segments[0].m_crBkgnd, RGB(180, 180, 180));
    EXPECT_TRUE(segments[0].m_bItalic);
    EXPECT_TRUE(segments[0].m_bUnderline);
    EXPECT_FALSE(segments[0].m_bBold);
    EXPECT_EQ(segments[0].m_crText, RGB(0, 0, 255));
    EXPECT_EQ(segments[1], Seg(" "));
    // Unknown codes and \c with another letter are consumed; the last colour wins.
    EXPECT_EQ(segments[2].m_strText, "Z");
    EXPECT_EQ(segments[2].m_crText, RGB(0, 0, 255));
    EXPECT_EQ(segments[2].m_crBkgnd, RGB(255, 255, 255));

    // Letters are case-sensitive: \B, \g, \i, \U and \cR do nothing.
    const auto lower = ParseGuideText("<\\B\\g\\i\\U\\cRx>");
    ASSERT_EQ(lower.size(), 1u);
    EXPECT_EQ(lower[0], Seg("x"));
}

TEST(GuideTextParse, LineFeedsCountBreaksOfTheNextSegment) {
    // The line of A ends, then two empty lines: B starts three lines lower.
    const auto segments = ParseGuideText("A\n\n\nB\nC");
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[0], Seg("A", 0));
    EXPECT_EQ(segments[1], Seg("B", 3));
    EXPECT_EQ(segments[2], Seg("C", 1));

    // Breaks stay with a styled run opened at the start of a line.
    const auto styled = ParseGuideText("A\n\n<\\bB>");
    ASSERT_EQ(styled.size(), 2u);
    EXPECT_EQ(styled[1].m_nLineBreaks, 2);
    EXPECT_TRUE(styled[1].m_bBold);

    // Trailing line feeds alone make no segment.
    EXPECT_EQ(ParseGuideText("A\n\n\n").size(), 1u);
    EXPECT_TRUE(ParseGuideText("").empty());
    EXPECT_TRUE(ParseGuideText("\n\n<").empty());
}

TEST(GuideTextParse, BackslashOutsideARunIsText) {
    EXPECT_EQ(Texts(ParseGuideText("a \\b c")), std::vector<std::string>{"a \\b c"});
    EXPECT_FALSE(ParseGuideText("\\b")[0].m_bBold);
}

TEST(GuideTextParse, TextModeBytes) {
    // CR LF is one line feed; a CR elsewhere is a character.
    EXPECT_EQ(ParseGuideText("A\r\nB"), (std::vector<TEXT_SEGMENT>{Seg("A"), Seg("B", 1)}));
    EXPECT_EQ(ParseGuideText("A\r\n\r\nB"), (std::vector<TEXT_SEGMENT>{Seg("A"), Seg("B", 2)}));
    EXPECT_EQ(Texts(ParseGuideText("A\rB")), std::vector<std::string>{"A\rB"});
    EXPECT_EQ(ParseGuideText("A\r\r\nB"), (std::vector<TEXT_SEGMENT>{Seg("A\r"), Seg("B", 1)}));
    // A CR LF right after the codes arrives as the LF, taken as text.
    EXPECT_EQ(Texts(ParseGuideText("<\\b\r\nX")), std::vector<std::string>{"\nX"});

    // 0xFF ends the text wherever it stands, also inside the codes.
    EXPECT_EQ(Texts(ParseGuideText(std::string("abc\xFF"
                                               "def\nghi"))),
              std::vector<std::string>{"abc"});
    EXPECT_EQ(Texts(ParseGuideText(std::string("ab<\\b\xFFX"))), std::vector<std::string>{"ab"});
    EXPECT_EQ(Texts(ParseGuideText(std::string("ab<\xFFX"))), std::vector<std::string>{"ab"});
    // Other high bytes and NUL are plain text.
    EXPECT_EQ(Texts(ParseGuideText(std::string("\xE9t\xE9\0x", 5))),
              std::vector<std::string>{std::string("\xE9t\xE9\0x", 5)});
}

TEST(GuideTextParse, EndOfFileInsideARun) {
    EXPECT_EQ(Texts(ParseGuideText("abc<")), std::vector<std::string>{"abc"});
    EXPECT_EQ(Texts(ParseGuideText("abc<\\")), std::vector<std::string>{"abc"});
    EXPECT_EQ(Texts(ParseGuideText("abc<\\b\\c")), std::vector<std::string>{"abc"});
    EXPECT_EQ(Texts(ParseGuideText("abc<\\b\\cr")), std::vector<std::string>{"abc"});
    // An unclosed run ends with the file.
    const auto open = ParseGuideText("<\\bbold to the end");
    ASSERT_EQ(open.size(), 1u);
    EXPECT_EQ(open[0].m_strText, "bold to the end");
    EXPECT_TRUE(open[0].m_bBold);
}

// Every character 6 wide in the normal table, 8 bold, 10 italic, 12 bold italic; space 3.
GUIDE_WIDTHS FixedWidths() {
    GUIDE_WIDTHS w;
    const int per[GFV_COUNT] = {6, 8, 10, 12};
    for (int v = 0; v < GFV_COUNT; ++v)
        w.m_width[v].fill(per[v]);
    w.m_width[GFV_NORMAL][' '] = 3;
    w.m_width[GFV_BOLD][' '] = 50; // spaces always advance by the normal width
    return w;
}

std::vector<GUIDE_RUN> Lay(const std::string& text, int nWidth = 100, int nHeight = 1000) {
    return LayoutGuideText(ParseGuideText(text), FixedWidths(), nWidth, nHeight, 12);
}

TEST(GuideTextLayout, FirstLineAndLineAdvance) {
    const auto runs = Lay("ab\ncd\n\n\nef");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].m_nX, 5);
    EXPECT_EQ(runs[0].m_nY, 5);
    EXPECT_EQ(runs[0].m_nWidth, 12);
    EXPECT_EQ(runs[1].m_nX, 5);
    EXPECT_EQ(runs[1].m_nY, 5 + 18);
    EXPECT_EQ(runs[2].m_nY, 5 + 4 * 18);

    EXPECT_EQ(GuideLineAdvance(12), 18);
    EXPECT_EQ(GuideLineAdvance(-12), 18);
    EXPECT_EQ(GuideLineAdvance(13), 19); // 19.5 truncated
    EXPECT_EQ(GuideLineAdvance(INT_MIN), INT_MAX);
}

TEST(GuideTextLayout, WordsFollowEachOtherOnALine) {
    // "ab" 12, space 3, bold "cd" 2 * (8 - 1), then " e" at the normal widths.
    const auto runs = Lay("ab <\\bcd> e");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].m_strText, "cd");
    EXPECT_EQ(runs[1].m_nX, 5 + 12 + 3);
    EXPECT_EQ(runs[1].m_nWidth, 14);
    EXPECT_EQ(runs[2].m_strText, "e");
    EXPECT_EQ(runs[2].m_nX, 5 + 12 + 3 + 14 + 3);
    EXPECT_EQ(runs[2].m_nY, 5);
}

TEST(GuideTextLayout, WidthAdjustments) {
    const GUIDE_WIDTHS w = FixedWidths();
    TEXT_SEGMENT s;
    EXPECT_EQ(GuideWordWidth("abcdefgh", s, w), 48);
    s.m_bBold = true;
    EXPECT_EQ(GuideWordWidth("abcdefgh", s, w), 8 * 7);
    s.m_bItalic = true;
    EXPECT_EQ(GuideWordWidth("abcdefgh", s, w), 8 * 5);
    s.m_bBold = false;
    // Italic alone: 5 per character, then clamp(length - 5, 0, 5) more.
    EXPECT_EQ(GuideWordWidth("abcde", s, w), 5 * 5);
    EXPECT_EQ(GuideWordWidth("abcdefgh", s, w), 8 * 5 - 3);
    EXPECT_EQ(GuideWordWidth("abcdefghijklmn", s, w), 14 * 5 - 5);
    // Widths are looked up by the unsigned code.
    GUIDE_WIDTHS wide = w;
    wide.m_width[GFV_NORMAL][0xE9] = 40;
    EXPECT_EQ(GuideWordWidth("\xE9", TEXT_SEGMENT(), wide), 40);
}

TEST(GuideTextLayout, WrapsBeforeAWordThatReachesTheReserve) {
    // Width 100: a word wraps when x + width >= 85. "aaaaaaaaa" is 54, ending at 59; with a
    // space x is 62, so a 4-letter word (24) ends at 86 and wraps, a 3-letter one (18) at 80.
    auto runs = Lay("aaaaaaaaa bbb");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].m_nY, 5);
    EXPECT_EQ(runs[1].m_nX, 62);
    runs = Lay("aaaaaaaaa bbbb");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].m_nX, 5);
    EXPECT_EQ(runs[1].m_nY, 5 + 18);
    // Exactly reaching the reserve wraps too: 62 + 23 = 85 (with a 5-px last character).
    GUIDE_WIDTHS w = FixedWidths();
    w.m_width[GFV_NORMAL]['z'] = 5;
    runs = LayoutGuideText(ParseGuideText("aaaaaaaaa bbbz"), w, 100, 1000, 12);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].m_nY, 23);
    w.m_width[GFV_NORMAL]['z'] = 4;
    runs = LayoutGuideText(ParseGuideText("aaaaaaaaa bbbz"), w, 100, 1000, 12);
    EXPECT_EQ(runs[1].m_nY, 5);
}

TEST(GuideTextLayout, TooWideWordStartsAFreshLineAndOverflows) {
    const auto runs = Lay(std::string(20, 'w') + " x");
    ASSERT_EQ(runs.size(), 2u);
    // Even at the start of the first line the word moves down a line.
    EXPECT_EQ(runs[0].m_nX, 5);
    EXPECT_EQ(runs[0].m_nY, 5 + 18);
    EXPECT_EQ(runs[0].m_nWidth, 120);
    // What follows it wraps again.
    EXPECT_EQ(runs[1].m_nX, 5);
    EXPECT_EQ(runs[1].m_nY, 5 + 2 * 18);
}

TEST(GuideTextLayout, SpacesPaintedOnlyOnColouredBackground) {
    auto runs = Lay("a   b");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_FALSE(runs[0].m_bSpaces);
    EXPECT_EQ(runs[1].m_nX, 5 + 6 + 9);

    runs = Lay("<\\Ga   b>");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_TRUE(runs[1].m_bSpaces);
    EXPECT_EQ(runs[1].m_strText, "   ");
    EXPECT_EQ(runs[1].m_nX, 11);
    EXPECT_EQ(runs[1].m_nWidth, 9);
    EXPECT_EQ(runs[2].m_nX, 20);

    // Bold spaces advance by the normal space, and a long run of spaces never wraps.
    runs = Lay("<\\bx" + std::string(40, ' ') + "y>");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].m_nY, 5 + 18);
    runs = Lay("<\\bx y>");
    EXPECT_EQ(runs[1].m_nX, 5 + 7 + 3);
}

TEST(GuideTextLayout, StopsBelowTheAreaWhateverTheInput) {
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "line\n";
    const auto runs = Lay(text, 100, 100);
    ASSERT_FALSE(runs.empty());
    for (const GUIDE_RUN& run : runs)
        EXPECT_LT(run.m_nY, 100);
    EXPECT_EQ(runs.size(), 6u); // y = 5, 23, 41, 59, 77, 95

    std::vector<TEXT_SEGMENT> far = {Seg("a"), Seg("b", INT_MAX), Seg("c", INT_MAX)};
    EXPECT_EQ(LayoutGuideText(far, FixedWidths(), 100, 100, INT_MAX).size(), 1u);

    // A huge run of spaces moves the next word past the edge; it wraps back in.
    const auto wide = Lay("a" + std::string(100000, ' ') + "b");
    ASSERT_EQ(wide.size(), 2u);
    EXPECT_EQ(wide[1].m_nX, 5);
    // Zero or negative sizes give nothing to draw and no trouble.
    EXPECT_TRUE(Lay("abc", 0, 0).empty());
    EXPECT_TRUE(Lay("abc", -5, -5).empty());
}

} // namespace
