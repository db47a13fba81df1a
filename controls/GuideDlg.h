#pragma once
#include <QDialog>

class CGdStatic;
class CGuidePicture;
class QPushButton;

// The guide: the marked-up help text on the left, a picture of the program on the right.
// Built from dialog template 160; the text and picture are loaded once, on construction.
class CGuideDlg : public QDialog {
    Q_OBJECT
public:
    explicit CGuideDlg(QWidget* parent = nullptr);

    CGdStatic& TextControl() { return *m_pText; }
    CGuidePicture& PictureControl() { return *m_pPicture; }
    QPushButton& OkButton() { return *m_pOk; }

protected:
    // Loads the program's QelGuide.txt and the guide picture; a missing one leaves
    // its control empty, without a message.
    bool OnInitDialog();

private:
    CGdStatic* m_pText = nullptr;
    CGuidePicture* m_pPicture = nullptr;
    QPushButton* m_pOk = nullptr;
};

// Runs the guide modally.
void ShowGuideDialog(QWidget* parent);
