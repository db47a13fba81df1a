#include "controls/GuideDlg.h"
#include "controls/DialogLayout.h"
#include "controls/GuidePicture.h"
#include "controls/GuideStatic.h"
#include "platform/ModulePath.h"
#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"
#include "res/ResourceIds.h"
#include <QApplication>
#include <QPushButton>

CGuideDlg::CGuideDlg(QWidget* parent) : QDialog(parent) {
    const DialogTemplate& dlg = *FindDialogTemplate(IDD_GUIDE);
    setWindowTitle(QString::fromLatin1(dlg.caption));
    setFont(DialogFont());
    setFixedSize(DluToPixelX(dlg.cx), DluToPixelY(dlg.cy));

    m_pText = new CGdStatic(this);
    m_pPicture = new CGuidePicture(this);
    m_pOk = new QPushButton(this);
    connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
    if (const DialogItem* item = FindDialogItem(dlg, IDC_GUIDE_TEXT)) {
        m_pText->setGeometry(DialogItemRect(*item));
        if (item->style & IS_BORDER)
            m_pText->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    if (const DialogItem* item = FindDialogItem(dlg, IDC_GUIDE_PICTURE))
        m_pPicture->setGeometry(DialogItemRect(*item));
    if (const DialogItem* item = FindDialogItem(dlg, IDOK)) {
        m_pOk->setGeometry(DialogItemRect(*item));
        m_pOk->setText(QString::fromLatin1(item->text));
        m_pOk->setDefault(item->kind == ItemKind::DefaultButton);
    }
    OnInitDialog();
}

bool CGuideDlg::OnInitDialog() {
    m_pText->LoadText(platform::GetProgramFilePath("QelGuide.txt"));
    m_pPicture->LoadPicture();
    m_pOk->setFocus();
    return true;
}

void ShowGuideDialog(QWidget* parent) {
    CGuideDlg dlg(parent);
    dlg.exec();
}
