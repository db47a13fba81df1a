#include "controls/AboutDlg.h"
#include "controls/DialogLayout.h"
#include "controls/xStatic.h"
#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"
#include "res/ResourceIds.h"
#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace {

// A static icon control takes the size of the icon.
constexpr int kIconSize = 32;

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    const DialogTemplate& dlg = *FindDialogTemplate(IDD_ABOUTBOX);
    setWindowTitle(QString::fromLatin1(dlg.caption));
    setFont(DialogFont());
    setFixedSize(DluToPixelX(dlg.cx), DluToPixelY(dlg.cy));

    for (int i = 0; i < dlg.count; ++i) {
        const DialogItem& item = dlg.items[i];
        const QString text = QString::fromLatin1(item.text);
        QWidget* widget = nullptr;
        if (item.kind == ItemKind::StaticIcon) {
            m_pIcon = new QLabel(this);
            const QIcon icon = windowIcon();
            if (!icon.isNull())
                m_pIcon->setPixmap(icon.pixmap(kIconSize, kIconSize));
            m_pIcon->setGeometry(DialogItemRect(item).x(), DialogItemRect(item).y(), kIconSize,
                                 kIconSize);
            continue;
        } else if (item.kind == ItemKind::DefaultButton || item.kind == ItemKind::Button) {
            m_pOk = new QPushButton(text, this);
            m_pOk->setDefault(item.kind == ItemKind::DefaultButton);
            connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
            widget = m_pOk;
        } else if (item.id == IDC_ABOUT_VERSION || item.id == IDC_ABOUT_MODEL) {
            auto* label =
                new CxStatic(text, this, (item.style & IS_NOPREFIX) ? uint32_t(SS_NOPREFIX) : 0);
            (item.id == IDC_ABOUT_VERSION ? m_pVersion : m_pModel) = label;
            widget = label;
        } else {
            auto* label = new QLabel(text, this);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            switch (item.id) {
            case IDC_ABOUT_IDEA_NAMES:
                m_pIdeaNames = label;
                break;
            case IDC_ABOUT_IDEA_CAPTION:
                m_pIdeaCaption = label;
                break;
            case IDC_ABOUT_SOFTWARE_NAMES:
                m_pSoftwareNames = label;
                break;
            case IDC_ABOUT_SOFTWARE_CAPTION:
                m_pSoftwareCaption = label;
                break;
            case IDC_ABOUT_LINK:
                m_pLinkLabel = label;
                break;
            default:
                break;
            }
            widget = label;
        }
        widget->setGeometry(DialogItemRect(item));
        if (item.id != IDC_STATIC)
            m_items[item.id] = widget;
    }
    OnInitDialog();
}

QWidget* CAboutDlg::GetDlgItem(int nId) const {
    const auto it = m_items.find(nId);
    return it == m_items.end() ? nullptr : it->second;
}

bool CAboutDlg::OnInitDialog() {
    // A link that cannot be attached stays a plain label.
    m_link.AttachLink(m_pLinkLabel, kMakerWebAddress);
    if (m_pVersion)
        m_pVersion->SetFontBold();
    if (m_pModel)
        m_pModel->SetFontBold();
    if (m_pOk)
        m_pOk->setFocus();
    return true;
}

void ShowAboutDialog(QWidget* parent) {
    CAboutDlg dlg(parent);
    dlg.exec();
}
