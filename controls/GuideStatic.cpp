#include "controls/GuideStatic.h"
#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
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

int CGdStatic::LineHeight() const {
    const int px = font().pixelSize();
    return std::abs(px > 0 ? px : QFontInfo(font()).pixelSize());
}

int CGdStatic::ScrollPos() const {
    return !m_pScrollBar->isHidden() ? m_pScrollBar->value() : 0;
}

std::vector<GUIDE_RUN> CGdStatic::Layout() const {
    const QRect client = contentsRect();
    const long long bottom = static_cast<long long>(ScrollPos()) + client.height();
    return LayoutGuideText(m_segments, MeasureGuideWidths(font()), client.width(),
                           static_cast<int>(std::min<long long>(bottom, INT_MAX)), LineHeight());
}

int CGdStatic::ContentHeight() const {
    const auto runs = LayoutGuideText(m_segments, MeasureGuideWidths(font()),
                                      contentsRect().width(), INT_MAX, LineHeight());
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
    if (!m_pScrollBar->isHidden())
        QCoreApplication::sendEvent(m_pScrollBar, event);
    else
        QFrame::wheelEvent(event);
}

void CGdStatic::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event); // the border
    const QRect client = contentsRect();
    QPainter painter(this);
    painter.fillRect(client, Qt::white);
    painter.setClipRect(client);
    painter.translate(client.topLeft() - QPoint(0, ScrollPos()));
    painter.setBackgroundMode(Qt::OpaqueMode);
    for (const GUIDE_RUN& run : Layout()) {
        const TEXT_SEGMENT& segment = m_segments[run.m_nSegment];
        const QFont font =
            VariantFont(this->font(), segment.m_bBold, segment.m_bItalic, segment.m_bUnderline);
        painter.setFont(font);
        painter.setPen(ToQColor(segment.m_crText));
        painter.setBackground(ToQColor(segment.m_crBkgnd));
        painter.drawText(QPoint(run.m_nX, run.m_nY + QFontMetrics(font).ascent()),
                         GuideStringFromBytes(run.m_strText));
    }
}
