#pragma once
#include "platform/Colors.h"
#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <functional>
#include <string>

class QUrl;
class QWidget;

// Turns a label into a hyperlink: blue, purple once followed, underlined while the pointer is
// over it, the hand cursor, a focus rectangle around it in its parent while it has the
// keyboard focus, opened by a left click or the space key. The label keeps its own text.
class CHyperLink : public QObject {
    Q_OBJECT
public:
    static constexpr COLORREF kNotVisitedColor = RGB(0, 0, 255);
    static constexpr COLORREF kVisitedColor = RGB(128, 0, 128);

    CHyperLink();
    // Gives the label back what it had if it still exists.
    ~CHyperLink() override;

    // Stores a copy of the address; false for none.
    bool SetUrl(const char* szUrl);
    // False (and nothing changed) if the address cannot be stored or there is no label.
    bool AttachLink(QLabel* pControl, const char* szUrl);
    // Opens the address; it counts as followed whether or not that succeeded.
    void Navigate();

    const std::string& Url() const { return m_strUrl; }
    bool IsHovered() const { return m_bHover; }
    bool IsVisited() const { return m_bVisited; }
    bool HasFocusRect() const { return m_bFocus; }
    QLabel* Control() const { return qobject_cast<QLabel*>(m_pControl.data()); }

    // The rectangle one pixel outside the control, in its parent's coordinates.
    static QRect FocusRect(const QWidget& control);

    // Replaces the desktop's opener, so that tests never start a browser; empty restores it.
    using OpenHook = std::function<bool(const QUrl&)>;
    static void SetOpenHook(OpenHook hook);

protected:
    // Hooks for derived links: the link got the focus or the pointer; it lost one of them.
    virtual void OnSelect() {}
    virtual void OnDeselect() {}

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Detach();
    void SetHover(bool bHover);
    void RestoreFont();
    void SetFocusRect(bool bFocus);
    void ApplyColor();
    void PaintFocusRect();

    std::string m_strUrl;
    bool m_bHover = false;
    bool m_bVisited = false;
    bool m_bFocus = false;
    // A QWidget pointer: while the label is being destroyed it is no QLabel any more, and
    // the focus-out it still receives must not cast it to one.
    QPointer<QWidget> m_pControl;
    QPointer<QWidget> m_pParent;
    // What the label had before, to give it back.
    QFont m_prevFont;
    bool m_bHadOwnFont = false;
    QPalette m_prevPalette;
    bool m_bHadOwnPalette = false;
    bool m_bHadOwnCursor = false;
    QCursor m_prevCursor;
    Qt::FocusPolicy m_prevFocusPolicy = Qt::NoFocus;
    bool m_bHadMouseTracking = false;
};
