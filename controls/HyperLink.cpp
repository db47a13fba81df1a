#include "controls/HyperLink.h"
#include <QDesktopServices>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QUrl>

namespace {

CHyperLink::OpenHook& OpenHookSlot() {
    static CHyperLink::OpenHook hook;
    return hook;
}

QColor ToQColor(COLORREF cr) {
    return QColor::fromRgb(PixelFromColorRef(cr));
}

} // namespace

CHyperLink::CHyperLink() = default;

CHyperLink::~CHyperLink() {
    Detach();
}

void CHyperLink::SetOpenHook(OpenHook hook) {
    OpenHookSlot() = std::move(hook);
}

bool CHyperLink::SetUrl(const char* szUrl) {
    if (szUrl == nullptr)
        return false;
    m_strUrl = szUrl;
    return true;
}

QRect CHyperLink::FocusRect(const QWidget& control) {
    return control.geometry().adjusted(-1, -1, 1, 1);
}

bool CHyperLink::AttachLink(QLabel* pControl, const char* szUrl) {
    if (pControl == nullptr || szUrl == nullptr)
        return false;
    Detach();
    SetUrl(szUrl);

    m_pControl = pControl;
    m_pParent = pControl->parentWidget();
    m_bHadOwnFont = pControl->testAttribute(Qt::WA_SetFont);
    m_prevFont = pControl->font();
    m_bHadOwnPalette = pControl->testAttribute(Qt::WA_SetPalette);
    m_prevPalette = pControl->palette();
    m_bHadOwnCursor = pControl->testAttribute(Qt::WA_SetCursor);
    m_prevCursor = pControl->cursor();
    m_prevFocusPolicy = pControl->focusPolicy();
    m_bHadMouseTracking = pControl->hasMouseTracking();

    pControl->setCursor(Qt::PointingHandCursor);
    pControl->setFocusPolicy(Qt::StrongFocus);
    pControl->setMouseTracking(true);
    ApplyColor();
    pControl->installEventFilter(this);
    if (m_pParent)
        m_pParent->installEventFilter(this);
    // A link whose label goes away is inactive again; there is nothing left to restore.
    connect(pControl, &QObject::destroyed, this, [this] {
        if (m_pParent)
            m_pParent->removeEventFilter(this);
        m_pParent = nullptr;
        m_bHover = m_bFocus = false;
    });
    return true;
}

void CHyperLink::Detach() {
    if (m_pParent) {
        m_pParent->removeEventFilter(this);
        if (m_bFocus && m_pControl)
            m_pParent->update(FocusRect(*m_pControl));
    }
    if (QWidget* control = m_pControl) {
        control->removeEventFilter(this);
        disconnect(control, nullptr, this, nullptr);
        RestoreFont();
        if (m_bHadOwnPalette)
            control->setPalette(m_prevPalette);
        else
            control->setPalette(QPalette());
        if (m_bHadOwnCursor)
            control->setCursor(m_prevCursor);
        else
            control->unsetCursor();
        control->setFocusPolicy(m_prevFocusPolicy);
        control->setMouseTracking(m_bHadMouseTracking);
    }
    m_pControl = nullptr;
    m_pParent = nullptr;
    m_bHover = m_bFocus = false;
}

void CHyperLink::Navigate() {
    const QUrl url(QString::fromStdString(m_strUrl));
    if (OpenHookSlot())
        OpenHookSlot()(url);
    else
        QDesktopServices::openUrl(url);
    m_bVisited = true;
    ApplyColor();
}

void CHyperLink::ApplyColor() {
    if (!m_pControl)
        return;
    QPalette palette = m_pControl->palette();
    palette.setColor(QPalette::WindowText, ToQColor(m_bVisited ? kVisitedColor : kNotVisitedColor));
    m_pControl->setPalette(palette);
}

void CHyperLink::SetHover(bool bHover) {
    if (bHover == m_bHover || !m_pControl)
        return;
    m_bHover = bHover;
    if (bHover)
        OnSelect();
    else
        OnDeselect();
    if (bHover) {
        QFont font = m_prevFont;
        font.setUnderline(true);
        m_pControl->setFont(font);
    } else {
        RestoreFont();
    }
}

void CHyperLink::RestoreFont() {
    if (m_bHadOwnFont)
        m_pControl->setFont(m_prevFont);
    else
        m_pControl->setFont(QFont()); // inherits the parent's again
}

void CHyperLink::SetFocusRect(bool bFocus) {
    if (bFocus == m_bFocus)
        return;
    m_bFocus = bFocus;
    if (bFocus)
        OnSelect();
    else
        OnDeselect();
    if (m_pParent && m_pControl)
        m_pParent->update(FocusRect(*m_pControl));
}

// The dotted rectangle of a focused control: every other pixel of the border, inverted.
void CHyperLink::PaintFocusRect() {
    const QRect r = FocusRect(*m_pControl);
    QPolygon dots;
    for (int x = r.left(); x <= r.right(); x += 2) {
        dots << QPoint(x, r.top()) << QPoint(x, r.bottom());
    }
    for (int y = r.top() + 2; y < r.bottom(); y += 2) {
        dots << QPoint(r.left(), y) << QPoint(r.right(), y);
    }
    QPainter painter(m_pParent);
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(Qt::black);
    painter.drawPoints(dots);
}

bool CHyperLink::eventFilter(QObject* watched, QEvent* event) {
    if (m_pParent && watched == m_pParent) {
        if (event->type() == QEvent::Paint && m_bFocus && m_pControl && m_pControl->isVisible()) {
            // Let the parent paint itself first, then draw over it.
            static_cast<QObject*>(m_pParent)->event(event);
            PaintFocusRect();
            return true;
        }
        return false;
    }
    if (!m_pControl || watched != m_pControl)
        return false;

    switch (event->type()) {
    case QEvent::Enter:
        SetHover(true);
        break;
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        SetHover(m_pControl->rect().contains(mouse->position().toPoint()));
        break;
    }
    case QEvent::Leave:
        SetHover(false);
        break;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_pControl->rect().contains(mouse->position().toPoint()))
            Navigate();
        break;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && !key->isAutoRepeat()) {
            Navigate();
            return true;
        }
        break;
    }
    case QEvent::FocusIn:
        SetFocusRect(true);
        break;
    case QEvent::FocusOut:
        SetFocusRect(false);
        break;
    default:
        break;
    }
    return false;
}
