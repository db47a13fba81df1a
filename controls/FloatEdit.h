#pragma once
#include "controls/MyEdit.h"

// A value box that lets only a decimal number with an optional leading minus be typed. It
// checks typed characters only; pasted text goes in unchecked and is judged by its reader.
class CFloatEdit : public CMyEdit {
    Q_OBJECT
public:
    // bDigitsOnly: the box takes digits only (the number-only style of an edit template).
    explicit CFloatEdit(QWidget* parent = nullptr, bool bDigitsOnly = false);

    void SetDigitsOnly(bool bDigitsOnly);
    bool IsDigitsOnly() const { return m_bDigitsOnly; }

    // The filter: may character c be typed into a box holding strText with the selection
    // (or the caret) starting at nSelStart?
    static bool IsCharAccepted(char32_t c, const QString& strText, int nSelStart, bool bDigitsOnly);

    // Where a typed character would go: the start of the selection, else the caret.
    int SelectionStart() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_bDigitsOnly;
};
