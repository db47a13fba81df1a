#include "controls/GuideText.h"
#include <algorithm>
#include <climits>
#include <fstream>

namespace {

// Bytes as a text-mode read delivers them: CR LF arrives as LF, and 0xFF (the value a char
// holding EOF compares equal to) ends the stream.
class CGuideReader {
public:
    explicit CGuideReader(const std::string& bytes) : m_bytes(bytes) {}

    // The next byte, or -1 at the end.
    int Next() {
        if (m_nPos >= m_bytes.size())
            return -1;
        unsigned char c = static_cast<unsigned char>(m_bytes[m_nPos++]);
        if (c == '\r' && m_nPos < m_bytes.size() && m_bytes[m_nPos] == '\n')
            c = static_cast<unsigned char>(m_bytes[m_nPos++]);
        if (c == 0xFF) {
            m_nPos = m_bytes.size();
            return -1;
        }
        return c;
    }

private:
    const std::string& m_bytes;
    std::size_t m_nPos = 0;
};

// Appends a non-empty segment and starts a fresh one; an empty one keeps its line breaks.
void EndSegment(std::vector<TEXT_SEGMENT>& segments, TEXT_SEGMENT& current) {
    if (current.m_strText.empty())
        return;
    segments.push_back(std::move(current));
    current = TEXT_SEGMENT();
}

// Reads the style codes after "<"; returns the byte that follows them, or -1 at the end.
int ReadStyleCodes(CGuideReader& reader, TEXT_SEGMENT& segment) {
    for (;;) {
        int c = reader.Next();
        if (c != '\\')
            return c;
        switch (reader.Next()) {
        case -1:
            return -1;
        case 'G':
            segment.m_crBkgnd = kGuideGrey;
            break;
        case 'I':
            segment.m_bItalic = true;
            break;
        case 'b':
            segment.m_bBold = true;
            break;
        case 'u':
            segment.m_bUnderline = true;
            break;
        case 'c':
            switch (reader.Next()) {
            case -1:
                return -1;
            case 'r':
                segment.m_crText = kGuideRed;
                break;
            case 'b':
                segment.m_crText = kGuideBlue;
                break;
            default:
                break;
            }
            break;
        default:
            break; // unknown codes are consumed and ignored
        }
    }
}

constexpr int kMargin = 5;
constexpr int kRightReserve = 15;

} // namespace

GuideFontVariant GuideVariantOf(const TEXT_SEGMENT& segment) {
    if (segment.m_bBold)
        return segment.m_bItalic ? GFV_BOLD_ITALIC : GFV_BOLD;
    return segment.m_bItalic ? GFV_ITALIC : GFV_NORMAL;
}

std::vector<TEXT_SEGMENT> ParseGuideText(const std::string& bytes) {
    std::vector<TEXT_SEGMENT> segments;
    TEXT_SEGMENT current;
    CGuideReader reader(bytes);
    for (int c = reader.Next(); c != -1; c = reader.Next()) {
        if (c == '\n') {
            EndSegment(segments, current);
            if (current.m_nLineBreaks < INT_MAX)
                ++current.m_nLineBreaks;
        } else if (c == '<') {
            EndSegment(segments, current);
            const int first = ReadStyleCodes(reader, current);
            if (first == -1)
                break;
            current.m_strText.push_back(static_cast<char>(first));
        } else if (c == '>') {
            EndSegment(segments, current);
        } else {
            current.m_strText.push_back(static_cast<char>(c));
        }
    }
    EndSegment(segments, current);
    return segments;
}

std::string ReadGuideFile(const std::string& path) {
    // A guide is a few pages; a huge file stands for no guide's worth reading, and is cut so
    // that it cannot exhaust memory.
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string bytes;
    char chunk[65536];
    while (bytes.size() < kGuideMaxBytes && in) {
        const std::size_t want = std::min(sizeof chunk, kGuideMaxBytes - bytes.size());
        in.read(chunk, static_cast<std::streamsize>(want));
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    return bytes;
}

long long GuideWordWidth(const std::string& word, const TEXT_SEGMENT& segment,
                         const GUIDE_WIDTHS& widths) {
    const GuideFontVariant variant = GuideVariantOf(segment);
    const auto& table = widths.m_width[variant];
    long long width = 0;
    for (char ch : word)
        width += table[static_cast<unsigned char>(ch)] - kGuideWidthAdjust[variant];
    if (variant == GFV_ITALIC)
        width -= std::clamp<long long>(static_cast<long long>(word.size()) - 5, 0, 5);
    return width;
}

std::vector<GUIDE_RUN> LayoutGuideText(const std::vector<TEXT_SEGMENT>& segments,
                                       const GUIDE_WIDTHS& widths, int nWidth, int nHeight,
                                       int nLineHeight) {
    std::vector<GUIDE_RUN> runs;
    const long long advance = GuideLineAdvance(nLineHeight);
    const long long spaceWidth = widths.m_width[GFV_NORMAL][' '];
    const long long right = static_cast<long long>(nWidth) - kRightReserve;
    long long x = kMargin;
    long long y = kMargin;

    auto emit = [&](std::string text, long long width, bool bSpaces, int nSegment) {
        if (x >= nWidth || x < INT_MIN / 2)
            return; // wholly right of the area, or absurdly far left: never visible
        GUIDE_RUN run;
        run.m_strText = std::move(text);
        run.m_nX = static_cast<int>(x);
        run.m_nY = static_cast<int>(y);
        run.m_nWidth = static_cast<int>(std::clamp<long long>(width, INT_MIN, INT_MAX));
        run.m_bSpaces = bSpaces;
        run.m_nSegment = nSegment;
        runs.push_back(std::move(run));
    };

    for (std::size_t s = 0; s < segments.size(); ++s) {
        const TEXT_SEGMENT& segment = segments[s];
        if (segment.m_nLineBreaks > 0) {
            y += advance * segment.m_nLineBreaks;
            x = kMargin;
        }
        const std::string& text = segment.m_strText;
        std::size_t i = 0;
        while (i < text.size()) {
            // y never decreases, so nothing after this point could be seen.
            if (y >= nHeight)
                return runs;
            const bool bSpaces = text[i] == ' ';
            std::size_t j = i;
            while (j < text.size() && (text[j] == ' ') == bSpaces)
                ++j;
            if (bSpaces) {
                const long long width = spaceWidth * static_cast<long long>(j - i);
                // White spaces need no painting: the area is white already.
                if (segment.m_crBkgnd != kGuideWhite)
                    emit(text.substr(i, j - i), width, true, static_cast<int>(s));
                x += width;
            } else {
                const std::string word = text.substr(i, j - i);
                const long long width = GuideWordWidth(word, segment, widths);
                if (x + width >= right) {
                    x = kMargin;
                    y += advance;
                    if (y >= nHeight)
                        return runs;
                }
                emit(word, width, false, static_cast<int>(s));
                x += width;
            }
            i = j;
        }
    }
    return runs;
}
