#include "controls/FloatEdit.h"
#include "platform/Dialogs.h"
#include <QKeyEvent>

CFloatEdit::CFloatEdit(QWidget* parent, bool bDigitsOnly)
    : CMyEdit(parent), m_bDigitsOnly(bDigitsOnly) {
    // Only typing is filtered; dropped text would slip past it as pasted text does, and the
    // boxes never took drops.
    setAcceptDrops(false);
}

void CFloatEdit::SetDigitsOnly(bool bDigitsOnly) {
    m_bDigitsOnly = bDigitsOnly;
}

bool CFloatEdit::IsCharAccepted(char32_t c, const QString& strText, int nSelStart,
                                bool bDigitsOnly) {
    if (c < 32)
        return true;
    if (c >= '0' && c <= '9')
        return true;
    if (bDigitsOnly)
        return false;
    if (c == '.')
        return nSelStart != 0 && !strText.contains(QLatin1Char('.'));
    if (c == '-')
        return nSelStart == 0 && !strText.contains(QLatin1Char('-'));
    return false;
}

int CFloatEdit::SelectionStart() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void CFloatEdit::keyPressEvent(QKeyEvent* event) {
    const QString strTyped = event->text();
    // Ctrl and Ctrl+Shift combinations type control codes (Ctrl+V is 22) or nothing at all.
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool bControlCode =
        mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier);
    if (strTyped.isEmpty() || bControlCode) {
        CMyEdit::keyPressEvent(event);
        return;
    }
    if (strTyped.size() == 1) {
        if (IsCharAccepted(strTyped.at(0).unicode(), text(), SelectionStart(), m_bDigitsOnly))
            CMyEdit::keyPressEvent(event);
        else
            platform::Beep();
        return;
    }
    // Several characters in one event are judged one at a time, as if typed in a row.
    for (char32_t c : strTyped.toUcs4()) {
        if (!IsCharAccepted(c, text(), SelectionStart(), m_bDigitsOnly)) {
            platform::Beep();
            continue;
        }
        QKeyEvent single(event->type(), Qt::Key_unknown, event->modifiers(),
                         QString::fromUcs4(&c, 1));
        CMyEdit::keyPressEvent(&single);
    }
    event->accept();
}
