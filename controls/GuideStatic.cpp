#include "controls/GuideStatic.h"
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// 0x80..0x9F of the Windows ANSI code page; the rest of the bytes match Latin-1.
constexpr char16_t kAnsi80[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                  0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QFont VariantFont(const QFont& base, bool bBold, bool bItalic, bool bUnderline = false) {
    QFont font(base);
    font.setWeight(bBold ? QFont::Bold : QFont::Normal);
    font.setItalic(bItalic);
    font.setUnderline(bUnderline);
    return font;
}

QColor ToQColor(COLORREF cr) {
    return QColor::fromRgb(PixelFromColorRef(cr));
}

} // namespace

QChar GuideCharFromByte(unsigned char c) {
    if (c < 32)
        return QChar(u'?');
    if (c >= 0x80 && c < 0xA0)
        return QChar(kAnsi80[c - 0x80]);
    return QChar(static_cast<char16_t>(c));
}

QString GuideStringFromBytes(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes)
        text.append(GuideCharFromByte(static_cast<unsigned char>(c)));
    return text;
}

GUIDE_WIDTHS MeasureGuideWidths(const QFont& font) {
    GUIDE_WIDTHS widths;
    for (int v = 0; v < GFV_COUNT; ++v) {
        const QFontMetrics fm(VariantFont(font, v == GFV_BOLD || v == GFV_BOLD_ITALIC,
                                          v == GFV_ITALIC || v == GFV_BOLD_ITALIC));
        // Windows reports synthesized bold and italic widths with their overhang, which the
        // layout takes off per character; Qt's advances have none, so it is added here and the
        // words come out as wide as they are drawn.
        // Codes outside 32..199 have no table of their own: control bytes are drawn as '?' and
        // count as wide as it; bytes 200..254 are measured like the rest.
        for (int c = 0; c < 256; ++c)
            widths.m_width[v][c] =
                fm.horizontalAdvance(GuideCharFromByte(static_cast<unsigned char>(c))) +
                kGuideWidthAdjust[v];
    }
    return widths;
}

// The wrap keeps 15 pixels free on the right; the scroll bar fits inside them.
constexpr int kScrollBarWidth = 14;

CGdStatic::CGdStatic(QWidget* parent) : QFrame(parent), m_pScrollBar(new QScrollBar(this)) {
    m_pScrollBar->setOrientation(Qt::Vertical);
    m_pScrollBar->setFocusPolicy(Qt::NoFocus);
    m_pScrollBar->hide();
    connect(m_pScrollBar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
}

void CGdStatic::LoadText(const std::string& strPath) {
    SetGuideText(ReadGuideFile(strPath));
}

void CGdStatic::SetGuideText(const std::string& bytes) {
    m_segments = ParseGuideText(bytes);
    m_pScrollBar->setValue(0);
    UpdateScrollBar();
    update();
}

std::vector<GUIDE_RUN> LayoutGuideRuns(const std::vector<TEXT_SEGMENT>& segments, const QFont& font,
                                       int nWidth, int nHeight) {
    return LayoutGuideText(segments, MeasureGuideWidths(font), nWidth, nHeight,
                           CGdStatic::LineHeight(font));
}

int CGdStatic::LineHeight(const QFont& font) {
    const int px = font.pixelSize();
    return std::abs(px > 0 ? px : QFontInfo(font).pixelSize());
}

int CGdStatic::ScrollPos() const {
    return !m_pScrollBar->isHidden() ? m_pScrollBar->value() : 0;
}

std::vector<GUIDE_RUN> CGdStatic::Layout() const {
    const QRect client = contentsRect();
    const long long bottom = static_cast<long long>(ScrollPos()) + client.height();
    return LayoutGuideRuns(m_segments, font(), client.width(),
                           static_cast<int>(std::min<long long>(bottom, INT_MAX)));
}

int CGdStatic::ContentHeight() const {
    const auto runs = LayoutGuideRuns(m_segments, font(), contentsRect().width(), INT_MAX);
    if (runs.empty())
        return 0;
    const long long height =
        static_cast<long long>(runs.back().m_nY) + GuideLineAdvance(LineHeight()) + 5;
    return static_cast<int>(std::min<long long>(height, INT_MAX));
}

void CGdStatic::UpdateScrollBar() {
    const QRect client = contentsRect();
    const int overflow = ContentHeight() - client.height();
    m_pScrollBar->setGeometry(client.right() + 1 - kScrollBarWidth, client.top(), kScrollBarWidth,
                              client.height());
    m_pScrollBar->setRange(0, std::max(0, overflow));
    m_pScrollBar->setPageStep(std::max(1, client.height()));
    m_pScrollBar->setSingleStep(std::max(1, GuideLineAdvance(LineHeight())));
    m_pScrollBar->setVisible(overflow > 0);
}

void CGdStatic::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    UpdateScrollBar();
}

void CGdStatic::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateScrollBar();
}

void CGdStatic::wheelEvent(QWheelEvent* event) {
    if (m_pScrollBar->isHidden()) {
        QFrame::wheelEvent(event);
        return;
    }
    // The usual three lines per notch; high-resolution wheels send fractions of a notch.
    const long long lines =
        static_cast<long long>(event->angleDelta().y()) * QApplication::wheelScrollLines() / 120;
    const long long value = m_pScrollBar->value() - lines * m_pScrollBar->singleStep();
    m_pScrollBar->setValue(static_cast<int>(
        std::clamp<long long>(value, m_pScrollBar->minimum(), m_pScrollBar->maximum())));
    event->accept();
}

void CGdStatic::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event); // the border
    const QRect client = contentsRect();
    QPainter painter(this);
    painter.fillRect(client, Qt::white);
    painter.setClipRect(client);
    painter.translate(client.topLeft() - QPoint(0, ScrollPos()));

    const std::vector<GUIDE_RUN> runs = Layout();
    const GUIDE_WIDTHS widths = MeasureGuideWidths(font());
    // Backgrounds first, then the characters: the layout puts a word after a long italic one
    // over that word's end, and an opaque background would wipe it out.
    for (const GUIDE_RUN& run : runs) {
        const TEXT_SEGMENT& segment = m_segments[run.m_nSegment];
        if (segment.m_crBkgnd == kGuideWhite)
            continue;
        const QFont font = VariantFont(this->font(), segment.m_bBold, segment.m_bItalic);
        painter.fillRect(QRect(run.m_nX, run.m_nY, run.m_nWidth, QFontMetrics(font).height()),
                         ToQColor(segment.m_crBkgnd));
    }
    // Characters go where the width tables put them, as the layout counted them.
    for (const GUIDE_RUN& run : runs) {
        const TEXT_SEGMENT& segment = m_segments[run.m_nSegment];
        const GuideFontVariant variant = GuideVariantOf(segment);
        const QFont font = VariantFont(this->font(), segment.m_bBold, segment.m_bItalic);
        const QFontMetrics fm(font);
        const QColor color = ToQColor(segment.m_crText);
        const int baseline = run.m_nY + fm.ascent();
        painter.setFont(font);
        painter.setPen(color);
        int x = run.m_nX;
        for (char ch : run.m_strText) {
            const auto c = static_cast<unsigned char>(ch);
            painter.drawText(QPoint(x, baseline), QString(GuideCharFromByte(c)));
            x += run.m_bSpaces ? widths.m_width[GFV_NORMAL][' ']
                               : widths.m_width[variant][c] - kGuideWidthAdjust[variant];
            if (x > client.width())
                break;
        }
        if (segment.m_bUnderline)
            painter.fillRect(QRect(run.m_nX, baseline + fm.underlinePos(), run.m_nWidth,
                                   std::max(1, fm.lineWidth())),
                             color);
    }
}
