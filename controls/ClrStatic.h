#pragma once
#include "platform/Colors.h"
#include <QString>
#include <QWidget>

// A one-line label drawn character by character, showing chosen letters (the parameter
// letters of a formula) in a highlight colour.
class CClrStatic : public QWidget {
    Q_OBJECT
public:
    explicit CClrStatic(QWidget* parent = nullptr);
    CClrStatic(const QString& strText, QWidget* parent = nullptr);

    // Does not repaint: the owner sets the colours before the label is first shown.
    void SetColors(const QString& strHighlightChars, COLORREF crHighlight, COLORREF crNormal,
                   COLORREF crBkgnd);
    // Makes the widget's font bold.
    void SetFontBold();

    void SetWindowText(const QString& strText);
    QString GetWindowText() const { return m_strText; }

    QString HighlightChars() const { return m_strHighlightChars; }
    COLORREF HighlightColor() const { return m_crHighlight; }
    COLORREF NormalColor() const { return m_crNormal; }
    COLORREF BkColor() const { return m_crBkgnd; }

    // Whether the character at nIndex of strText is drawn in the highlight colour.
    static bool IsHighlighted(const QString& strText, qsizetype nIndex,
                              const QString& strHighlightChars);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_strText;
    QString m_strHighlightChars;
    COLORREF m_crHighlight;
    COLORREF m_crNormal;
    COLORREF m_crBkgnd;
};
