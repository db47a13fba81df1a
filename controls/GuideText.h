#pragma once
#include "platform/Colors.h"
#include <array>
#include <string>
#include <vector>

// The guide text: a byte stream with line feeds as real line breaks and "<" ... ">" runs that
// carry style codes. Plain C++ so that parsing and layout can be tested and fuzzed without Qt.

inline constexpr COLORREF kGuideWhite = RGB(255, 255, 255);
inline constexpr COLORREF kGuideGrey = RGB(180, 180, 180);
inline constexpr COLORREF kGuideRed = RGB(255, 0, 0);
inline constexpr COLORREF kGuideBlue = RGB(0, 0, 255);

struct TEXT_SEGMENT {
    std::string m_strText; // the characters of the run, spaces included
    bool m_bBold = false;
    bool m_bItalic = false;
    bool m_bUnderline = false;
    int m_nLineBreaks = 0; // new lines started before this run
    COLORREF m_crBkgnd = kGuideWhite;
    COLORREF m_crText = RGB(0, 0, 0);

    bool operator==(const TEXT_SEGMENT&) const = default;
};

// Parses the bytes of a guide file as they arrive from a text-mode read: a CR directly before
// an LF is dropped, and a 0xFF byte ends the text.
std::vector<TEXT_SEGMENT> ParseGuideText(const std::string& bytes);

// The file as bytes, at most kGuideMaxBytes of them; empty if it cannot be read.
inline constexpr std::size_t kGuideMaxBytes = 16u << 20;
std::string ReadGuideFile(const std::string& path);

// Font variants of the width tables.
enum GuideFontVariant { GFV_NORMAL, GFV_BOLD, GFV_ITALIC, GFV_BOLD_ITALIC, GFV_COUNT };

// The table a segment's characters are measured in.
GuideFontVariant GuideVariantOf(const TEXT_SEGMENT& segment);

inline constexpr int kGuideFirstCode = 32;
inline constexpr int kGuideLastCode = 199;

// Advance widths per variant, indexed by the unsigned byte. Entries 32..199 are the measured
// table; the others are the implementer's choice (see MeasureGuideWidths).
struct GUIDE_WIDTHS {
    std::array<std::array<int, 256>, GFV_COUNT> m_width{};
};

// What each variant's measured width exceeds the drawn advance by; the word width takes it
// off again for every character.
inline constexpr int kGuideWidthAdjust[GFV_COUNT] = {0, 1, 5, 7};

// One piece of the laid-out text: a word, or a run of spaces on a coloured background.
struct GUIDE_RUN {
    std::string m_strText;
    int m_nX = 0;
    int m_nY = 0;
    int m_nWidth = 0; // advance the layout gave it
    bool m_bSpaces = false;
    int m_nSegment = 0; // index of its segment, which gives the style
};

// The greedy layout of the segments in a client area of nWidth x nHeight pixels with a font
// of nLineHeight pixels. Only runs that start inside the area are returned; the rest would be
// clipped anyway, and leaving them out bounds the work for any input.
std::vector<GUIDE_RUN> LayoutGuideText(const std::vector<TEXT_SEGMENT>& segments,
                                       const GUIDE_WIDTHS& widths, int nWidth, int nHeight,
                                       int nLineHeight);

// Line advance for a font of this height: 1.5 times it, truncated (in integers, so that no
// height can overflow).
constexpr int GuideLineAdvance(int nLineHeight) {
    const long long h = nLineHeight < 0 ? -static_cast<long long>(nLineHeight) : nLineHeight;
    const long long advance = h * 3 / 2;
    return advance > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(advance);
}

// Width the layout gives one word of a segment.
long long GuideWordWidth(const std::string& word, const TEXT_SEGMENT& segment,
                         const GUIDE_WIDTHS& widths);
