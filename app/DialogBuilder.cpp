#include "app/DialogBuilder.h"

#include "controls/DialogLayout.h"
#include "controls/FloatEdit.h"
#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

void CDialogBuilder::FitWidth(QWidget* w) {
    if (w->sizeHint().width() > w->width())
        w->resize(w->sizeHint().width(), w->height());
}

namespace {
QWidget* DefaultWidget(const DialogItem& item, QWidget* parent) {
    const QString text = QString::fromLatin1(item.text);
    switch (item.kind) {
    case ItemKind::Static: {
        auto* label = new QLabel(text, parent);
        Qt::Alignment align = Qt::AlignLeft;
        if (item.style & IS_CENTER)
            align = Qt::AlignHCenter;
        if (item.style & IS_RIGHT)
            align = Qt::AlignRight;
        label->setAlignment(align |
                            ((item.style & IS_CENTER_IMAGE) ? Qt::AlignVCenter : Qt::AlignTop));
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ItemKind::StaticFrame: {
        auto* frame = new QFrame(parent);
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame->setAutoFillBackground(true);
        QPalette pal = frame->palette();
        pal.setColor(QPalette::Window, Qt::black);
        frame->setPalette(pal);
        return frame;
    }
    case ItemKind::GroupBox:
        return new QGroupBox(text, parent);
    case ItemKind::Edit:
        return new CFloatEdit(parent, item.style & IS_DIGITS_ONLY);
    case ItemKind::Button:
    case ItemKind::DefaultButton: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        button->setDefault(item.kind == ItemKind::DefaultButton);
        return button;
    }
    case ItemKind::RadioButton:
        return new QRadioButton(text, parent);
    case ItemKind::CheckBox:
        return new QCheckBox(text, parent);
    case ItemKind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        return combo;
    }
    case ItemKind::Progress: {
        auto* bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        return bar;
    }
    case ItemKind::StaticIcon:
        return new QLabel(parent);
    }
    return new QWidget(parent);
}
} // namespace

void CDialogBuilder::Build(const DialogTemplate& dialog, QWidget* client, const Factory& factory) {
    for (int i = 0; i < dialog.count; ++i) {
        const DialogItem& item = dialog.items[i];
        QWidget* w = factory ? factory(item, client) : nullptr;
        if (!w)
            w = DefaultWidget(item, client);
        QRect r = DialogItemRect(item);
        // A drop-down combo's template height includes its list.
        if (item.kind == ItemKind::ComboBox)
            r.setHeight(std::min(r.height(), 22));
        w->setGeometry(r);
        // The dialog font here is a little wider than the one the layout was made for: a
        // caption may grow to its text rather than be cut.
        if (item.kind == ItemKind::Static || item.kind == ItemKind::RadioButton)
            FitWidth(w);
        w->setEnabled(!(item.style & IS_DISABLED));
        if (!(item.style & IS_TABSTOP) && item.kind != ItemKind::Edit &&
            item.kind != ItemKind::ComboBox)
            w->setFocusPolicy(item.kind == ItemKind::Static || item.kind == ItemKind::GroupBox
                                  ? Qt::NoFocus
                                  : w->focusPolicy());
        if (item.id != -1) {
            w->setObjectName(QString("id%1").arg(item.id));
            m_items.emplace(item.id, w);
        }
        w->show();
    }
}

QWidget* CDialogBuilder::GetDlgItem(int id) const {
    auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : it->second;
}
