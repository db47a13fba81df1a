#include "controls/MyEdit.h"

CMyEdit::CMyEdit(QWidget* parent) : QLineEdit(parent) {
    ApplyColors();
}

void CMyEdit::ApplyColors() {
    // Editable boxes only: a disabled or read-only box takes its parent's colours.
    QPalette pal = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Base, Qt::white);
        pal.setColor(group, QPalette::Text, Qt::black);
    }
    setPalette(pal);
    // A style sheet of the dialog would override the palette; the box's own sheet wins.
    setStyleSheet(QStringLiteral("CMyEdit:enabled:!read-only { color: black; "
                                 "background-color: white; }"));
}
