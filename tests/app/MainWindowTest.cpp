#include "AppFixture.h"

#include "controls/AboutDlg.h"
#include "controls/ClrStatic.h"
#include "controls/DialogLayout.h"

#include <QClipboard>
#include <QFontMetrics>
#include <set>

TEST_F(AppTest, StartUpShowsTheEconomicModelAndTheKindDecidesRowsAndLimits) {
    EXPECT_EQ(dlg->windowTitle(), "QEL - Economic Simulator, based on Sorvan Attractor");
    EXPECT_EQ(dlg->m_display[0]->text(), "Output-Money,  X-Y");
    EXPECT_EQ(Buttons(), "RS-");
    EXPECT_FALSE(dlg->CommandAction(ID_ATTRACTOR_SORVAN)->isEnabled());
    // Qelland's values in the boxes, whichever country the list shows first.
    EXPECT_EQ(dlg->m_comboCountry->currentText(), "Ostravia");
    EXPECT_EQ(Box(EDIT_A)->text(), "12.5");
    EXPECT_EQ(Box(EDIT_VARIATION)->text(), "0.01    ");
    EXPECT_EQ(Box(EDIT_ZOOM)->text(), "40.00");
    EXPECT_EQ(dlg->m_rows[1].low->text(), "0.50 <= ");
    EXPECT_EQ(dlg->m_rows[1].high->text(), " <= 10.00    (Production)");
    EXPECT_EQ(dlg->m_rows[7].low->text(), "-5.00 < ");
    EXPECT_EQ(dlg->m_rows[4].name->pos(), QPoint(64, 183));
    EXPECT_EQ(dlg->DrawWnd()->ScreenImage(), dlg->DrawWnd()->Surface().Picture(0));
    dlg->OnSelectAttractor(2);
    EXPECT_EQ(dlg->windowTitle(), "QEL - Lorenz Attractor");
    QWidget* hidden[] = {dlg->m_rows[3].name, Box(EDIT_A + 3), dlg->m_qelmeterValue,
                         dlg->m_comboCountry};
    for (QWidget* w : hidden)
        EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(dlg->m_rows[0].high->text(), " <= 50.00");
    EXPECT_EQ(dlg->m_display[1]->text(), "X-Z");
    EXPECT_EQ(dlg->m_rows[4].name->pos(), QPoint(64, 156));
    // Values accepted by Run are forgotten by a switch away and back.
    Type(EDIT_ZOOM, "7");
    Click(dlg->m_btnRun);
    dlg->OnSelectAttractor(5);
    dlg->OnSelectAttractor(2);
    EXPECT_EQ(Box(EDIT_ZOOM)->text(), "6.00");
}

TEST_F(AppTest, BoxesTakeTenCharactersEnterRunsAndOnlyChangedBoxesAreRead) {
    Type(EDIT_A, "12.34567891");
    EXPECT_EQ(Box(EDIT_A)->text(), "12.3456789");
    Type(EDIT_X, "0.123456789012"); // the initial conditions have no limit
    EXPECT_EQ(Box(EDIT_X)->text(), "0.123456789012");
    Type(EDIT_A, "33");
    QTest::keyClick(Box(EDIT_A), Qt::Key_Return);
    EXPECT_EQ(A().m_param[0].m_value, 33.0);
    EXPECT_EQ(A().m_initX.m_value, 0.123456789012);
    // Pasted text is not filtered: a box reads as its leading number, an empty one as 0. A
    // parameter box takes it only as far as its ten characters reach, as it does typed text.
    auto paste = [&](int index, const char* text, bool replace) {
        QGuiApplication::clipboard()->setText(text);
        replace ? Box(index)->selectAll() : Box(index)->end(false);
        QTest::keyClick(Box(index), Qt::Key_V, Qt::ControlModifier); // the user's paste
        return Box(index)->text().toStdString();
    };
    EXPECT_EQ(paste(EDIT_A + 1, "12345678901234", true), "1234567890");
    Type(EDIT_A + 1, "6.8");
    EXPECT_EQ(paste(EDIT_A + 1, "12345678901234", false), "6.81234567");
    Type(EDIT_A + 1, "6.8");
    EXPECT_EQ(paste(EDIT_X, "1.5abc", true), "1.5abc");
    Box(EDIT_Y)->setText("");
    Click(dlg->m_btnRun);
    EXPECT_EQ(A().m_initX.m_value, 1.5);
    EXPECT_EQ(A().m_initY.m_value, 0.0);
    EXPECT_EQ(dlg->m_strX, "1.5abc");
    // A box that did not change is not read, even when its value is outside its limits, and
    // a Run without changes renders nothing new.
    A().m_param[0].m_value = 999;
    const QImage before = dlg->DrawWnd()->Surface().Picture(0);
    const int count = dlg->m_nProgressCount;
    // A Run sends 800 progress messages (four planes of 2000 points); the bar steps once per
    // 2000 * 3 / 1000 = 6 of them, starting over when full: 33 steps and 2 left over.
    EXPECT_TRUE(dlg->m_progress->value() == 33 && count == 2);
    Click(dlg->m_btnRun);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(A().m_param[0].m_value, 999);
    EXPECT_EQ(dlg->m_nProgressCount, count);
    EXPECT_EQ(dlg->DrawWnd()->Surface().Picture(0), before);
}

// Each box typed outside its limits gives one message naming it in the kind's words and gets
// its previous text back. A box wired to another's value would give no message at all.
TEST_F(AppTest, EveryBoxOutsideItsLimitsIsNamedAndRestored) {
    const QStringList names =
        QString("Variation Number|Iteration Number|Inertion (A)|Production (B)|Printing (C)|"
                "Adaptation (D)|Indexation (G)|Unemploy (U)|Interest (I)|X Starting Point|"
                "Y Starting Point|Z Starting Point|Zoom")
            .split('|');
    for (int kind : {2, int{SORVAN_KIND}}) { // Lorenz has no countries: every box is checked
        dlg->OnSelectAttractor(kind);
        Click(dlg->m_btnRun); // accepts what start-up wrote into the boxes
        for (int i = 0; i < 13; ++i) {
            const CValueBox& box = kValueBoxes[i];
            if (!Box(box.nEdit)->isVisible())
                continue;
            const QString before = Box(box.nEdit)->text();
            messages.clear();
            Type(box.nEdit, box.bInteger ? "99999999" : "-99999");
            Click(dlg->m_btnRun);
            ASSERT_EQ(messages.size(), 1u) << i;
            const std::string name = kind == SORVAN_KIND || i < 2 || i > 8
                                         ? names[i].toStdString()
                                         : "Parameter " + std::string(1, char('A' + i - 2));
            EXPECT_EQ(messages[0].substr(0, name.size() + 13), name + " must vary be") << i;
            EXPECT_EQ(Box(box.nEdit)->text(), before) << i;
        }
    }
    EXPECT_EQ(messages[0], "Zoom must vary between 0.000000 and 100000.000000. Previous data "
                           "remains.");
    // One failure puts the bound texts back into every box, also those read after it: what
    // was typed there is lost. Values at the limits themselves pass.
    messages.clear();
    Type(EDIT_VARIATION, "0.5");
    Type(EDIT_A, "10");
    Type(EDIT_ITERATION, "20000000");
    Click(dlg->m_btnRun);
    EXPECT_EQ(messages, std::vector<std::string>{"Variation Number must vary between 0.000100 "
                                                 "and 0.100000. Previous data remains."});
    EXPECT_TRUE(A().m_param[0].m_value == 12.5 && A().m_iteration.m_value == 2000);
    Type(EDIT_A, "10");
    Type(EDIT_ITERATION, "10000000");
    Click(dlg->m_btnRun);
    EXPECT_TRUE(A().m_param[0].m_value == 10 && A().m_iteration.m_value == 10000000);
    // A country other than the first lifts the limits of a to d; the Qelmeter shows them.
    messages.clear();
    dlg->m_comboCountry->setCurrentIndex(1);
    for (int i = 0; i < 4; ++i)
        Type(EDIT_A + i, QString::number(i + 1));
    Click(dlg->m_btnRun);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(dlg->m_qelmeterValue->Text(), "-2.000");
}

TEST_F(AppTest, ButtonsFollowRunSimulateStopFinishAndClear) {
    Click(dlg->m_btnSimulate);
    EXPECT_EQ(Buttons(), "R-T");
    EXPECT_EQ(dlg->m_status->Text(), "Drawing graphs....");
    EXPECT_TRUE(dlg->m_progress->isVisible());
    ASSERT_TRUE(WaitFor([&] { return dlg->m_progress->value() > 3; }));
    Click(dlg->m_btnStop);
    EXPECT_EQ(Buttons(), "RS-");
    Pump(50);
    const int paused = dlg->m_progress->value();
    Pump(100);
    EXPECT_EQ(dlg->m_progress->value(), paused);
    Click(dlg->m_btnSimulate); // resumes the same curve, keeping the bar
    EXPECT_EQ(Buttons(), "R-T");
    EXPECT_GE(dlg->m_progress->value(), paused);
    EXPECT_EQ(dlg->DrawWnd()->WorkersStarted(), 1);
    ASSERT_TRUE(WaitFor([&] { return dlg->m_btnSimulate->isEnabled(); }));
    EXPECT_EQ(Buttons(), "RS-");
    EXPECT_EQ(dlg->m_status->Text(), "Spilling bitmaps into screen...");
    EXPECT_FALSE(dlg->m_progress->isVisible());
    // Clear after a finished animation still takes the Simulate branch.
    Click(dlg->m_btnClear);
    EXPECT_EQ(Buttons(), "RS-");
    EXPECT_EQ(CountPixels(dlg->DrawWnd()->ScreenImage(), Lit), 0);
    // A display choice after Clear starts a new animation in that plane.
    dlg->m_display[1]->click();
    EXPECT_EQ(Buttons(), "R-T");
    EXPECT_EQ(dlg->DrawWnd()->m_nPlane, 1);
    ASSERT_TRUE(WaitFor([&] { return dlg->DrawWnd()->WorkersStarted() == 2; }));
    Click(dlg->m_btnRun); // ends the animation first
    EXPECT_FALSE(dlg->DrawWnd()->IsWorkerRunning());
    EXPECT_EQ(Buttons(), "RS-");
}

TEST_F(AppTest, DisplayChangeDuringAnAnimationRestartsItInTheNewPlane) {
    StartLongAnimation();
    dlg->m_display[2]->click();
    EXPECT_EQ(dlg->m_nPlane, 2);
    ASSERT_TRUE(WaitFor([&] { return dlg->DrawWnd()->WorkersStarted() == 2; }));
    EXPECT_TRUE(dlg->DrawWnd()->IsWorkerRunning());
    EXPECT_EQ(Buttons(), "R-T");
    // Switching the kind ends it; a display choice then shows the picture.
    dlg->OnSelectAttractor(2);
    EXPECT_FALSE(dlg->DrawWnd()->IsWorkerRunning());
    dlg->m_display[1]->click();
    EXPECT_FALSE(dlg->DrawWnd()->IsWorkerRunning());
    EXPECT_EQ(dlg->DrawWnd()->ScreenImage(), dlg->DrawWnd()->Surface().Picture(1));
}

TEST_F(AppTest, AnAttractorSwitchShowsTheNewPictureAndClearsTheStatus) {
    Start(SourceFile("data/Attractors.ini").c_str(), kTestCountries.c_str());
    dlg->m_display[1]->click(); // a plane other than the first, kept across the switches
    for (int kind : {0, 5, 1, 5, 2, 5, 3, 5, 4, 5}) {
        dlg->OnSelectAttractor(kind);
        const QImage shown = dlg->DrawWnd()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shown == dlg->DrawWnd()->Surface().Picture(1)) << kind;
        EXPECT_GT(CountPixels(shown, Lit, {}, 4), 100) << kind;
        EXPECT_EQ(dlg->m_status->Text().toStdString(), "") << kind;
    }
}

TEST_F(AppTest, AxisLabelsFitTheirBoxesInTheDescribedFontHeight) {
    Type(EDIT_ITERATION, "1"); // axes and labels only
    Click(dlg->m_btnRun);
    for (int plane : {0, 1}) {
        const QImage& pic = dlg->DrawWnd()->Surface().Picture(plane);
        const int right = pic.width(), y = pic.height() / 2; // the view centre is 0, 0
        int left = right;
        for (int row = y - 20; row < y; ++row)
            for (int col = right - 90; col < right; ++col)
                if (Lit(pic.pixel(col, row)))
                    left = std::min(left, col);
        // "X - Output(Q)" is right-aligned: its first letter whole, not cut at the box.
        EXPECT_GE(left, right - 90 + 3) << plane;
        EXPECT_LE(left, right - 60) << plane;
    }
}

TEST_F(AppTest, DisabledButtonsShowGreyText) {
    // Stop is off at start-up, Run on: only Run's text has black in it.
    auto black = [](QWidget* w) {
        return CountPixels(w->grab().toImage(), [](QRgb p) { return qGray(p) < 40; });
    };
    ASSERT_EQ(Buttons(), "RS-");
    EXPECT_GT(black(dlg->m_btnRun), 5);
    EXPECT_EQ(black(dlg->m_btnStop), 0);
}

// The width a label's text takes in the label's own font; a radio button's with its circle.
int TextWidth(QWidget* w, QString* text) {
    if (auto* c = qobject_cast<CClrStatic*>(w)) { // drawn letter by letter
        *text = c->GetWindowText();
        int width = 0;
        for (QChar ch : *text)
            width += QFontMetrics(c->font(), c).horizontalAdvance(ch);
        return width;
    }
    if (auto* x = qobject_cast<CxStatic*>(w)) {
        *text = x->Text();
        return QFontMetrics(x->LabelFont()).horizontalAdvance(*text);
    }
    if (!qobject_cast<QLabel*>(w) && !qobject_cast<QRadioButton*>(w))
        return 0;
    *text = w->property("text").toString();
    return w->sizeHint().width();
}

TEST_F(AppTest, ShippedEquationsAndCaptionsFitTheirBoxes) {
    Start(SourceFile("data/Attractors.ini").c_str(), SourceFile("data/countries.xml").c_str());
    // Each box as the template draws it, except the check box, which shows only its box, and
    // the lower limits of X, Y and Z, whose numbers run past theirs in any font.
    const std::set<int> skipped = {IDC_ACCUMULATE, IDC_LOW_X, IDC_LOW_Y, IDC_LOW_Z};
    const DialogTemplate& main = *FindDialogTemplate(IDD_QEL2_DIALOG);
    for (int kind : {5, 0, 1, 2, 3, 4}) {
        dlg->OnSelectAttractor(kind);
        for (CClrStatic* eq : dlg->m_equation) {
            QString text;
            EXPECT_LE(TextWidth(eq, &text), eq->width()) << text.toStdString();
        }
        // A letter wider than its cell is whole and stops short of its upper limit.
        for (const ParamLabelRow& row : dlg->m_rows) {
            QString text;
            const int width = TextWidth(row.name, &text);
            EXPECT_LE(width, row.name->width()) << text.toStdString();
            EXPECT_LE(row.name->x() + width, row.high->x()) << text.toStdString();
        }
        for (int i = 0; i < main.count; ++i) {
            const DialogItem& item = main.items[i];
            QWidget* w = dlg->GetDlgItem(item.id);
            QString text;
            if (!w || skipped.count(item.id) ||
                std::count(std::begin(kRowNameIds), std::end(kRowNameIds), item.id))
                continue;
            const int width = TextWidth(w, &text);
            if (!text.isEmpty() && w->isVisible()) {
                EXPECT_LE(width, DialogItemRect(item).width())
                    << kind << " " << item.id << " " << text.toStdString();
            }
        }
    }
    CAboutDlg about;
    for (QLabel* label : about.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
        }
    }
}
