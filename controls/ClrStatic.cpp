#include "controls/ClrStatic.h"
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

namespace {

QColor ToQColor(COLORREF cr) {
    return QColor::fromRgb(PixelFromColorRef(cr));
}

COLORREF FromQColor(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}

} // namespace

CClrStatic::CClrStatic(QWidget* parent) : CClrStatic(QString(), parent) {}

// The owner sets the colours before the first paint; until then the label draws in the
// platform's colours.
CClrStatic::CClrStatic(const QString& strText, QWidget* parent)
    : QWidget(parent), m_strText(strText),
      m_crHighlight(FromQColor(QGuiApplication::palette().color(QPalette::WindowText))),
      m_crNormal(m_crHighlight),
      m_crBkgnd(FromQColor(QGuiApplication::palette().color(QPalette::Window))) {}

void CClrStatic::SetColors(const QString& strHighlightChars, COLORREF crHighlight,
                           COLORREF crNormal, COLORREF crBkgnd) {
    m_strHighlightChars = strHighlightChars;
    m_crHighlight = crHighlight;
    m_crNormal = crNormal;
    m_crBkgnd = crBkgnd;
}

void CClrStatic::SetFontBold() {
    QFont bold = font();
    bold.setWeight(QFont::Bold);
    setFont(bold);
}

void CClrStatic::SetWindowText(const QString& strText) {
    m_strText = strText;
    update();
}

bool CClrStatic::IsHighlighted(const QString& strText, qsizetype nIndex,
                               const QString& strHighlightChars) {
    if (nIndex < 0 || nIndex + 1 >= strText.size())
        return false; // the last character has no follower and stays in the normal colour
    if (!strHighlightChars.contains(strText.at(nIndex)))
        return false;
    const char16_t n = strText.at(nIndex + 1).unicode();
    return n < u'A' || n > u'z' || n == u'x' || n == u'y' || n == u'z' || n == u']' ||
           strHighlightChars.contains(QChar(n));
}

void CClrStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const QFontMetrics fm(font(), this);
    const QColor bk = ToQColor(m_crBkgnd);
    const int nHeight = fm.height();
    int x = 0;
    for (qsizetype i = 0; i < m_strText.size();) {
        const bool bPair = m_strText.at(i).isHighSurrogate() && i + 1 < m_strText.size() &&
                           m_strText.at(i + 1).isLowSurrogate();
        const QString strChar = m_strText.mid(i, bPair ? 2 : 1);
        // Control characters have no cell: they are neither drawn nor advance. Any other
        // character, also beyond the ANSI range, advances by its own width.
        if (strChar.at(0).unicode() >= 32) {
            const int nAdvance = fm.horizontalAdvance(strChar);
            painter.fillRect(QRect(x, 0, nAdvance, nHeight), bk);
            painter.setPen(ToQColor(IsHighlighted(m_strText, i, m_strHighlightChars) ? m_crHighlight
                                                                                     : m_crNormal));
            painter.drawText(x, fm.ascent(), strChar);
            x += nAdvance;
        }
        i += bPair ? 2 : 1;
    }
}
