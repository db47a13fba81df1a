#include "controls/GuideDlg.h"
#include "controls/GuidePicture.h"
#include "controls/GuideStatic.h"
#include "platform/ModulePath.h"
#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"
#include "res/ResourceIds.h"
#include <QApplication>
#include <QPushButton>

namespace {

// "MS Sans Serif" stands for the application's sans font; points at 96 dpi, rounded.
QFont DialogFont(int nPointSize) {
    QFont font(QApplication::font());
    font.setPixelSize((nPointSize * 96 + 36) / 72);
    return font;
}

QRect ItemRect(const DialogItem& item) {
    return QRect(DluToPixelX(item.x), DluToPixelY(item.y), DluToPixelX(item.cx),
                 DluToPixelY(item.cy));
}

} // namespace

CGuideDlg::CGuideDlg(QWidget* parent) : QDialog(parent) {
    const DialogTemplate& dlg = *FindDialogTemplate(IDD_GUIDE);
    setWindowTitle(QString::fromLatin1(dlg.caption));
    setFont(DialogFont(dlg.pointSize));
    setFixedSize(DluToPixelX(dlg.cx), DluToPixelY(dlg.cy));

    m_pText = new CGdStatic(this);
    m_pPicture = new CBmpStatic(this);
    m_pOk = new QPushButton(this);
    connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
    if (const DialogItem* item = FindDialogItem(dlg, IDC_GUIDE_TEXT)) {
        m_pText->setGeometry(ItemRect(*item));
        if (item->style & IS_BORDER)
            m_pText->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    if (const DialogItem* item = FindDialogItem(dlg, IDC_GUIDE_PICTURE))
        m_pPicture->setGeometry(ItemRect(*item));
    if (const DialogItem* item = FindDialogItem(dlg, IDOK)) {
        m_pOk->setGeometry(ItemRect(*item));
        m_pOk->setText(QString::fromLatin1(item->text));
        m_pOk->setDefault(item->kind == ItemKind::DefaultButton);
    }
    OnInitDialog();
}

bool CGuideDlg::OnInitDialog() {
    m_pText->LoadText(platform::GetModuleDirectory() + "QelGuide.txt");
    m_pPicture->LoadPicture();
    m_pOk->setFocus();
    return true;
}

void ShowGuideDialog(QWidget* parent) {
    CGuideDlg dlg(parent);
    dlg.exec();
}
