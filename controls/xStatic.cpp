#include "controls/xStatic.h"
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMimeData>
#include <QPainter>
#include <QUrl>
#include <algorithm>
#include <climits>

namespace {

QColor ToQColor(COLORREF cr) {
    return QColor::fromRgb(PixelFromColorRef(cr));
}

COLORREF FromQColor(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}

constexpr QChar kCR = u'\r';
constexpr QChar kLF = u'\n';

} // namespace

CxStatic::CxStatic(QWidget* parent, uint32_t nTemplateStyle)
    : CxStatic(QString(), parent, nTemplateStyle) {}

// Default colours are the system's, not the parent's.
CxStatic::CxStatic(const QString& strText, QWidget* parent, uint32_t nTemplateStyle)
    : QWidget(parent), m_strText(strText), m_strWindowText(strText),
      m_crText(FromQColor(QGuiApplication::palette().color(QPalette::WindowText))),
      m_crBkgnd(FromQColor(QGuiApplication::palette().color(QPalette::Window))),
      m_crGradientEnd(m_crBkgnd), m_crGradientStart(m_crBkgnd), m_nTemplateStyle(nTemplateStyle),
      m_font(font()) {
    setAcceptDrops(true);
}

void CxStatic::SetTextColor(COLORREF crText) {
    m_crText = crText;
    update();
}

void CxStatic::SetBkColor(COLORREF crBkgnd, COLORREF crGradientEnd, int nGradientMode) {
    m_crGradientEnd = crGradientEnd;
    m_nGradientMode = nGradientMode;
    m_crBkgnd = crBkgnd;
    m_crGradientStart = crBkgnd;
    update();
}

void CxStatic::SetFont(const QFont& font, bool bRedraw) {
    m_font = font;
    if (bRedraw)
        update();
}

void CxStatic::SetFontBold() {
    QFont bold = font();
    bold.setWeight(QFont::Bold);
    SetFont(bold, true);
}

void CxStatic::SetWindowText(const QString& strText) {
    m_strText = strText;
    update();
}

void CxStatic::SetText(const QString& strText) {
    m_strWindowText = strText;
    m_strText = strText;
    update();
}

void CxStatic::SetBitmap(const QImage& bitmap) {
    m_bitmap = bitmap;
    m_bBitmap = !bitmap.isNull();
    update();
}

bool CxStatic::LoadBitmapFile(const QString& strPath) {
    m_strBitmapFile = strPath;
    QImage bitmap;
    if (!bitmap.load(strPath, "BMP"))
        return false;
    SetBitmap(bitmap);
    return true;
}

void CxStatic::SetTemplateStyle(uint32_t nStyle) {
    m_nTemplateStyle = nStyle;
    update();
}

QStringList CxStatic::BreakLines(const QString& strText, int nWidth, const QFontMetrics& fm) {
    QStringList lines;
    QString rest = strText;
    qsizetype i = 1;
    while (i <= rest.size()) {
        const QChar c = rest.at(i - 1);
        if (c == kCR || c == kLF) {
            const QChar other = c == kCR ? kLF : kCR;
            if (i >= 2 && rest.at(i - 2) == other) {
                lines << rest.left(i - 2);
                rest = rest.mid(i);
                i = 1;
                continue;
            }
            // A CR or LF without its partner beside it breaks the line on its own.
            if (i == rest.size() || rest.at(i) != other) {
                lines << rest.left(i - 1);
                rest = rest.mid(i);
                i = 1;
                continue;
            }
        }
        if (fm.horizontalAdvance(rest.left(i)) > nWidth) {
            // A character wider than the label still gets a line, so the layout always ends.
            const qsizetype n = i > 1 ? i - 1 : 1;
            const QString line = rest.left(n);
            const qsizetype nSpace = line.lastIndexOf(QLatin1Char(' '));
            if (nSpace < 0 || nSpace == n - 1) {
                lines << line;
                rest = rest.mid(n);
            } else {
                lines << line.left(nSpace);
                rest = rest.mid(nSpace + 1);
            }
            i = 1;
            continue;
        }
        ++i;
    }
    if (!rest.isEmpty())
        lines << rest;
    return lines;
}

int CxStatic::TextFlags(uint32_t nTemplateStyle, const QString& strText) {
    int flags = Qt::AlignTop;
    if (nTemplateStyle & SS_CENTER)
        flags |= Qt::AlignHCenter;
    else if (nTemplateStyle & SS_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (!(nTemplateStyle & SS_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    if (strText.contains(QLatin1Char('\t')))
        flags |= Qt::TextExpandTabs;
    return flags;
}

int CxStatic::FirstLineTop(uint32_t nTemplateStyle, int nHeight, int nLines, int nLineHeight) {
    if (!(nTemplateStyle & SS_CENTERIMAGE))
        return 0;
    const long long nSpare = static_cast<long long>(nHeight) - 1LL * nLines * nLineHeight;
    // Halved toward zero: a text taller than the label starts above its top.
    return static_cast<int>(std::clamp<long long>(nSpare / 2, INT_MIN, INT_MAX));
}

QString CxStatic::DroppedBitmapPath(const QList<QUrl>& urls) {
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    const QString strPath = urls.front().toLocalFile();
    const qsizetype nDot = strPath.lastIndexOf(QLatin1Char('.'));
    if (nDot < 0 || strPath.mid(nDot).compare(QLatin1String(".bmp"), Qt::CaseInsensitive) != 0)
        return {};
    return strPath;
}

void CxStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect rc = rect();
    painter.fillRect(rc, ToQColor(m_crBkgnd));
    if (m_bBitmap) {
        // Stretched from the bitmap less its last column and row; a bitmap of one pixel in
        // either direction leaves nothing to stretch.
        const QRect src(0, 0, m_bitmap.width() - 1, m_bitmap.height() - 1);
        if (src.width() > 0 && src.height() > 0)
            painter.drawImage(rc, m_bitmap, src);
    } else if (m_nGradientMode != 0) {
        // Qt always has gradients, so there is no missing-routine case to fall back from.
        const QPointF end = m_nGradientMode == 1 ? QPointF(rc.left() + rc.width(), rc.top())
                                                 : QPointF(rc.left(), rc.top() + rc.height());
        QLinearGradient gradient(rc.topLeft(), end);
        gradient.setColorAt(0, ToQColor(m_crGradientStart));
        gradient.setColorAt(1, ToQColor(m_crGradientEnd));
        painter.fillRect(rc, gradient);
    }

    painter.setFont(m_font);
    painter.setPen(ToQColor(m_crText));
    const QFontMetrics fm(m_font, this);
    const QStringList lines = BreakLines(m_strText, rc.width(), fm);
    const int nLineHeight = fm.height();
    const int nFirstTop = FirstLineTop(m_nTemplateStyle, rc.height(), lines.size(), nLineHeight);
    const int flags = TextFlags(m_nTemplateStyle, m_strText);
    const uint32_t nEllipsis = m_nTemplateStyle & SS_ELLIPSISMASK;
    const Qt::TextElideMode elide = nEllipsis == SS_PATHELLIPSIS ? Qt::ElideMiddle : Qt::ElideRight;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const long long nTop = nFirstTop + 1LL * k * nLineHeight;
        if (nTop >= rc.height())
            break;
        if (nTop + nLineHeight <= 0)
            continue;
        const QRect line(rc.left(), static_cast<int>(nTop), rc.width(),
                         static_cast<int>(rc.height() - nTop));
        QString strLine = lines[k];
        if (nEllipsis && fm.horizontalAdvance(strLine) > rc.width())
            strLine = fm.elidedText(strLine, elide, rc.width(), flags);
        painter.drawText(line, flags, strLine);
    }
}

void CxStatic::changeEvent(QEvent* event) {
    // A font given to the widget replaces the label's own, as setting a window's font does.
    if (event->type() == QEvent::FontChange) {
        m_font = font();
        update();
    }
    QWidget::changeEvent(event);
}

void CxStatic::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}

void CxStatic::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CxStatic::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CxStatic::dropEvent(QDropEvent* event) {
    const QString strPath = DroppedBitmapPath(event->mimeData()->urls());
    if (!strPath.isEmpty())
        LoadBitmapFile(strPath);
    event->acceptProposedAction();
}
