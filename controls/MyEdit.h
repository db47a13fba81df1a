#pragma once
#include <QLineEdit>

// A single-line edit box that always paints black text on white, whatever colours its parent
// gives its other children (a palette or a style sheet of the dialog).
class CMyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CMyEdit(QWidget* parent = nullptr);

private:
    void ApplyColors();
};
