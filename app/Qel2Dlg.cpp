#include "app/Qel2Dlg.h"
#include "app/ValueBoxes.h"

#include "controls/AboutDlg.h"
#include "controls/BMPStatic.h"
#include "controls/ClrStatic.h"
#include "controls/FloatEdit.h"
#include "controls/GuideDlg.h"
#include "controls/xStatic.h"
#include "engine/DrawWnd.h"
#include "model/Attractor.h"
#include "platform/Dialogs.h"
#include "platform/ModulePath.h"
#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"
#include "res/Menu.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace {
const COLORREF kWindowColor = RGB(0, 200, 255);

bool IsNameLabel(int id) {
    for (int n : kRowNameIds)
        if (n == id)
            return true;
    return false;
}

uint32_t StaticStyle(unsigned style) {
    uint32_t s = 0;
    if (style & IS_CENTER)
        s |= SS_CENTER;
    if (style & IS_RIGHT)
        s |= SS_RIGHT;
    if (style & IS_NOPREFIX)
        s |= SS_NOPREFIX;
    if (style & IS_CENTER_IMAGE)
        s |= SS_CENTERIMAGE;
    return s;
}

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
} // namespace

CQel2Dlg::CQel2Dlg(QWidget* parent) : QDialog(parent) {
    m_strPreparing = LoadString(IDS_PREPARING);
    m_strSpilling = LoadString(IDS_SPILLING);
    CreateHost();
    BuildControls();
    BuildMenu();
    BindControls();
    setFixedSize(sizeHint());
}

CQel2Dlg::~CQel2Dlg() {
    CloseSideWindows();
    // No worker may outlive the attractor or the drawing window.
    if (m_drawWnd)
        m_drawWnd->StopWorker();
    m_pAttractor.reset();
    delete m_drawWnd;
    m_drawWnd = nullptr;
}

void CQel2Dlg::BuildControls() {
    const DialogTemplate* dialog = FindDialogTemplate(IDD_QEL2_DIALOG);
    setWindowTitle(QString::fromLatin1(dialog->caption));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_pClient = new QWidget(this);
    m_pClient->setObjectName("client");
    m_pClient->setFixedSize(DluToPixelX(dialog->cx), DluToPixelY(dialog->cy));
    // The dialog background and every label are black on the window colour.
    m_pClient->setAutoFillBackground(true);
    QPalette pal = m_pClient->palette();
    pal.setColor(QPalette::Window, ToQColor(kWindowColor));
    pal.setColor(QPalette::WindowText, Qt::black);
    // Disabled buttons keep the platform's grey text.
    pal.setColor(QPalette::Active, QPalette::ButtonText, Qt::black);
    pal.setColor(QPalette::Inactive, QPalette::ButtonText, Qt::black);
    m_pClient->setPalette(pal);
    layout->addWidget(m_pClient);

    m_builder.Build(*dialog, m_pClient, [](const DialogItem& item, QWidget* parent) -> QWidget* {
        const QString text = QString::fromLatin1(item.text);
        const uint32_t style = StaticStyle(item.style);
        if (item.id == IDC_QELMETER_CAPTION || item.id == IDC_EQUATION_X ||
            item.id == IDC_EQUATION_Y || item.id == IDC_EQUATION_Z)
            return new CClrStatic(text, parent);
        if (item.id == IDC_QELMETER_VALUE || item.id == IDC_STATUS || IsNameLabel(item.id))
            return new CxStatic(text, parent, style);
        if (item.id == IDC_MARKER)
            return new CBMPStatic(parent);
        return nullptr;
    });
}

void CQel2Dlg::BuildMenu() {
    m_pMainMenu = new QMenuBar(this);
    static_cast<QVBoxLayout*>(layout())->setMenuBar(m_pMainMenu);
    const MenuTemplate* menu = FindMenuTemplate(IDR_MAIN_MENU);
    for (int p = 0; p < menu->count; ++p) {
        const MenuPopup& popup = menu->popups[p];
        QMenu* m = m_pMainMenu->addMenu(QString::fromLatin1(popup.text));
        for (int i = 0; i < popup.count; ++i) {
            const MenuItem& item = popup.items[i];
            if (item.flags & MIF_SEPARATOR) {
                m->addSeparator();
                continue;
            }
            QAction* action = m->addAction(QString::fromLatin1(item.text));
            const int id = item.id;
            m_actions[id] = action;
            if (AttractorKindFromCommand(id) >= 0) {
                action->setCheckable(true);
                action->setChecked(item.flags & MIF_CHECKED);
                connect(action, &QAction::triggered, this,
                        [this, id] { OnSelectAttractor(AttractorKindFromCommand(id)); });
            } else if (id == ID_FILE_SAVE_AS) {
                connect(action, &QAction::triggered, this, &CQel2Dlg::OnSaveAs);
            } else if (id == ID_FILE_SAVE_PARAMETERS) {
                connect(action, &QAction::triggered, this, &CQel2Dlg::OnSaveParameters);
            } else if (id == ID_FILE_LOAD_PARAMETERS) {
                connect(action, &QAction::triggered, this, &CQel2Dlg::OnLoadParameters);
            } else if (id == ID_FILE_EXPORT_TRAJECTORY) {
                connect(action, &QAction::triggered, this, &CQel2Dlg::OnExportTrajectory);
            } else if (id == ID_ANALYSIS_TIME_SERIES || id == ID_ANALYSIS_BIFURCATION ||
                       id == ID_ANALYSIS_STABILITY_MAP || id == ID_ANALYSIS_EQUILIBRIA) {
                connect(action, &QAction::triggered, this, [this, id] { OnSideWindow(id); });
            } else if (id == ID_HELP_GUIDE) {
                connect(action, &QAction::triggered, this, [this] { ShowGuideDialog(this); });
            } else if (id == ID_HELP_ABOUT_QELMETER || id == IDM_ABOUTBOX) {
                connect(action, &QAction::triggered, this, [this] { ShowAboutDialog(this); });
            }
        }
        if (std::string(popup.text) == "&Attractor")
            connect(m, &QMenu::aboutToShow, this, &CQel2Dlg::OnUpdateAttractorMenu);
    }
}

QWidget* CQel2Dlg::Box(const CValueBox& box) const {
    return GetDlgItem(box.nId);
}

QAction* CQel2Dlg::CommandAction(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CQel2Dlg::BindControls() {
    m_comboCountry = m_builder.Item<QComboBox>(IDC_COUNTRY);
    m_staticCountry = m_builder.Item<QLabel>(IDC_COUNTRY_LABEL);
    m_accumulatedLabel = m_builder.Item<QLabel>(IDC_ACCUMULATED_LABEL);
    m_accumulateBox = m_builder.Item<QCheckBox>(IDC_ACCUMULATE);
    m_qelmeterCaption = m_builder.Item<CClrStatic>(IDC_QELMETER_CAPTION);
    m_qelmeterValue = m_builder.Item<CxStatic>(IDC_QELMETER_VALUE);
    m_status = m_builder.Item<CxStatic>(IDC_STATUS);
    m_btnStop = m_builder.Item<QPushButton>(IDC_STOP);
    m_btnClear = m_builder.Item<QPushButton>(IDC_CLEAR);
    m_btnSimulate = m_builder.Item<QPushButton>(IDC_SIMULATE);
    m_btnRun = m_builder.Item<QPushButton>(IDC_RUN);
    m_marker = m_builder.Item<CBMPStatic>(IDC_MARKER);
    m_progress = m_builder.Item<QProgressBar>(IDC_PROGRESS);
    for (const CValueBox& box : kValueBoxes) {
        CFloatEdit* edit = m_builder.Item<CFloatEdit>(box.nId);
        // Any replacement of the text marks the entry, also one made by the window itself.
        connect(edit, &QLineEdit::textChanged, this, [this, &box] { OnEntryChanged(box); });
        if (box.nRow >= 0 && box.nRow < 7) { // the parameters a to g
            edit->installEventFilter(this);
            LimitInsertedText(edit);
        }
    }
    for (int r = 0; r < 10; ++r) {
        m_rows[r].name = m_builder.Item<CxStatic>(kRowNameIds[r]);
        m_rows[r].low = m_builder.Item<QLabel>(kRowLowIds[r]);
        m_rows[r].high = m_builder.Item<QLabel>(kRowHighIds[r]);
    }
    for (int p = 0; p < 4; ++p) {
        m_display[p] = m_builder.Item<QRadioButton>(kPlaneButtonIds[p]);
        connect(m_display[p], &QRadioButton::clicked, this, [this, p] { OnDisplayPlane(p); });
    }
    m_equation[0] = m_builder.Item<CClrStatic>(IDC_EQUATION_X);
    m_equation[1] = m_builder.Item<CClrStatic>(IDC_EQUATION_Y);
    m_equation[2] = m_builder.Item<CClrStatic>(IDC_EQUATION_Z);
    connect(m_btnRun, &QPushButton::clicked, this, &CQel2Dlg::OnRun);
    connect(m_btnSimulate, &QPushButton::clicked, this, &CQel2Dlg::OnSimulate);
    connect(m_btnStop, &QPushButton::clicked, this, &CQel2Dlg::OnStop);
    connect(m_btnClear, &QPushButton::clicked, this, &CQel2Dlg::OnClear);
    connect(m_comboCountry, qOverload<int>(&QComboBox::activated), this,
            [this](int) { OnCountryChanged(); });
    connect(m_accumulateBox, &QCheckBox::clicked, this, [this] { OnAccumulatedCountries(); });
}

// Pasted text (any edit that is not typed one key at a time) goes in only as far as the ten
// characters reach; a longer text the window itself wrote stays, but cannot grow.
void CQel2Dlg::LimitInsertedText(QLineEdit* edit) {
    auto before = std::make_shared<int>(edit->text().size());
    // textEdited comes before textChanged, so *before is still the length ahead of the edit.
    connect(edit, &QLineEdit::textEdited, this, [edit, before] {
        const int excess = edit->text().size() - std::max(10, *before);
        if (excess <= 0)
            return;
        // The inserted text ends at the caret: its tail goes.
        edit->setSelection(edit->cursorPosition() - excess, excess);
        edit->del();
    });
    connect(edit, &QLineEdit::textChanged, this, [edit, before] { *before = edit->text().size(); });
}

// The parameter boxes take at most ten typed characters.
bool CQel2Dlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool printable = !text.isEmpty() && text.at(0).unicode() >= 32 &&
                               !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (edit && printable && edit->text().size() - edit->selectedText().size() >= 10) {
            platform::Beep();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int CQel2Dlg::DoModal() {
    OnInitDialog();
    return exec();
}

bool CQel2Dlg::OnInitDialog() {
    // Label colours and fonts.
    m_qelmeterCaption->SetColors("abcd", RGB(255, 0, 0), RGB(0, 0, 0), kWindowColor);
    m_qelmeterCaption->SetFontBold();
    m_qelmeterValue->SetTextColor(RGB(255, 255, 255));
    m_qelmeterValue->SetBkColor(kWindowColor);
    m_qelmeterValue->SetFontBold();
    m_status->SetBkColor(RGB(204, 255, 255));
    m_status->SetTextColor(RGB(255, 0, 0));
    for (int r = 0; r < 10; ++r) {
        m_rows[r].name->SetTextColor(r < 7 ? RGB(255, 0, 0) : RGB(0, 0, 255));
        m_rows[r].name->SetBkColor(kWindowColor);
    }
    for (CClrStatic* eq : m_equation)
        eq->SetColors("abcdefgEGUI", RGB(255, 0, 0), RGB(0, 0, 0), kWindowColor);
    m_progress->setRange(0, 100);
    m_nProgressCount = 0;
    // The marker is looked up in the working directory; an installed program finds it among its
    // own files instead.
    const std::string marker = platform::MapWindowsPath("res\\Blinking.bmp");
    if (!m_marker->LoadBitmapFile(QString::fromStdString(marker)))
        m_marker->LoadBitmapFile(QString::fromStdString(platform::GetProgramFilePath(marker)));
    m_marker->hide();

    QWidget* frame = GetDlgItem(IDC_PLOT_FRAME);
    m_drawWnd = new CDrawWnd;
    m_drawWnd->Create(m_pClient, frame->geometry());

    OnSelectAttractor(SORVAN_KIND);
    show();
    PreparePlot();
    m_display[0]->setChecked(true);
    m_drawWnd->SetPlane(0);
    m_nPlane = 0;
    m_btnSimulate->setEnabled(true);
    m_btnRun->setEnabled(true);
    return true;
}

void CQel2Dlg::RepaintNow() {
    m_pClient->repaint();
}

long CQel2Dlg::OnPlotMessage(unsigned message, uintptr_t, intptr_t) {
    switch (message) {
    case WM_PLOT_PROGRESS:
        return OnPlotProgress();
    case WM_PLOT_FINISHED:
        return OnPlotFinished();
    case WM_PLOT_SHOWN:
        return OnPlotShown();
    default:
        return 0;
    }
}

void CQel2Dlg::OnDrawingStarted(const std::string& status) {
    m_progress->show();
    m_status->SetWindowText(QString::fromStdString(status));
    m_status->show();
}

void CQel2Dlg::RelabelControls() {
    CAttractor& a = *m_pAttractor;
    const bool sorvan = m_nAttractor == SORVAN_KIND;
    auto fmt = [](const char* format, double v) {
        char buf[512];
        std::snprintf(buf, sizeof buf, format, v);
        return QString::fromLatin1(buf);
    };
    const char* xyzNames[3] = {LoadString(IDS_NAME_X), LoadString(IDS_NAME_Y),
                               LoadString(IDS_NAME_Z)};
    for (int r = 0; r < 10; ++r) {
        const char *name, *low, *high;
        if (r >= 7) {
            name = xyzNames[r - 7];
            low = LoadString(IDS_LOWER_LT);
            high = LoadString(IDS_UPPER_LT);
        } else if (sorvan) {
            name = LoadString(IDS_SORVAN_NAME_A + r);
            low = LoadString(IDS_LOWER_LE);
            high = LoadString(IDS_UPPER_INERTION + r);
        } else {
            name = LoadString(IDS_NAME_A + r);
            low = LoadString(IDS_LOWER_LE);
            high = LoadString(IDS_UPPER_LE);
        }
        const CValueBox& valueBox = *RowValueBox(r);
        const auto& param = static_cast<const double_PARAM&>(valueBox.Parameter(a));
        const bool used = param.m_bInUse;
        QWidget* box = Box(valueBox);
        if (used) {
            m_rows[r].name->SetWindowText(QString::fromLatin1(name));
            // A letter wider than the template's cell, such as G, keeps its last column.
            const int need = QFontMetrics(m_rows[r].name->LabelFont())
                                 .horizontalAdvance(QString::fromLatin1(name));
            if (need > m_rows[r].name->width())
                m_rows[r].name->resize(need, m_rows[r].name->height());
            m_rows[r].low->setText(fmt(low, param.m_lower));
            m_rows[r].high->setText(fmt(high, param.m_upper));
            CDialogBuilder::FitWidth(m_rows[r].low);
            CDialogBuilder::FitWidth(m_rows[r].high);
        }
        for (QWidget* w :
             {static_cast<QWidget*>(m_rows[r].name), static_cast<QWidget*>(m_rows[r].low),
              static_cast<QWidget*>(m_rows[r].high), box})
            w->setVisible(used);
    }

    const unsigned plain[4] = {IDS_PLANE_XY, IDS_PLANE_XZ, IDS_PLANE_YZ, IDS_PLANE_XYZ};
    const unsigned economic[4] = {IDS_SORVAN_PLANE_XY, IDS_SORVAN_PLANE_XZ, IDS_SORVAN_PLANE_YZ,
                                  IDS_SORVAN_PLANE_XYZ};
    for (int p = 0; p < 4; ++p) {
        m_display[p]->setText(LoadString(sorvan ? economic[p] : plain[p]));
        CDialogBuilder::FitWidth(m_display[p]);
    }
    if (sorvan) {
        setWindowTitle(LoadString(IDS_TITLE_SORVAN));
    } else {
        char title[256];
        std::snprintf(title, sizeof title, LoadString(IDS_TITLE_FORMAT), a.GetName());
        setWindowTitle(QString::fromLatin1(title));
    }
    m_equation[0]->SetWindowText(QString::fromStdString(a.m_strEqX));
    m_equation[1]->SetWindowText(QString::fromStdString(a.m_strEqY));
    m_equation[2]->SetWindowText(QString::fromStdString(a.m_strEqZ));

    // Rows e to g move down for the economic model, freeing the Qelmeter's place.
    const int labelY[3] = {sorvan ? 183 : 156, sorvan ? 212 : 185, sorvan ? 241 : 214};
    const int boxY[3] = {sorvan ? 183 : 156, sorvan ? 210 : 185, sorvan ? 239 : 214};
    for (int i = 0; i < 3; ++i) {
        CLabelRow& row = m_rows[4 + i];
        row.name->move(64, labelY[i]);
        row.low->move(20, labelY[i]);
        row.high->move(72, labelY[i]);
        Box(*RowValueBox(4 + i))->move(195, boxY[i]);
    }
}
