#include "AppFixture.h"

#include "controls/AboutDlg.h"
#include "controls/ClrStatic.h"
#include "controls/DialogLayout.h"

#include <QClipboard>
#include <QFontMetrics>
#include <set>

TEST_F(AppTest, StartUpShowsTheEconomicModelAndTheKindDecidesRowsAndLimits) {
    EXPECT_EQ(dlg->windowTitle(), "QEL - Economic Simulator, based on Sorvan Attractor");
    EXPECT_EQ(Item<QRadioButton>(kPlaneButtonIds[0])->text(), "Output-Money,  X-Y");
    EXPECT_EQ(Buttons(), "RS-");
    EXPECT_FALSE(dlg->CommandAction(ID_ATTRACTOR_SORVAN)->isEnabled());
    // Qelland's values in the boxes, whichever country the list shows first.
    EXPECT_EQ(Country()->currentText(), "Ostravia");
    EXPECT_EQ(Box(IDC_PARAM_A)->text(), "12.5");
    EXPECT_EQ(Box(IDC_VARIATION)->text(), "0.01    ");
    EXPECT_EQ(Box(IDC_ZOOM)->text(), "40.00");
    EXPECT_EQ(Item<QLabel>(kRowLowIds[1])->text(), "0.50 <= ");
    EXPECT_EQ(Item<QLabel>(kRowHighIds[1])->text(), " <= 10.00    (Production)");
    EXPECT_EQ(Item<QLabel>(kRowLowIds[7])->text(), "-5.00 < ");
    EXPECT_EQ(Item<CxStatic>(kRowNameIds[4])->pos(), QPoint(64, 183));
    EXPECT_EQ(Draw()->ScreenImage(), Draw()->Surface().Picture(0));
    Select(2);
    EXPECT_EQ(dlg->windowTitle(), "QEL - Lorenz Attractor");
    QWidget* hidden[] = {Item<CxStatic>(kRowNameIds[3]), Box(IDC_PARAM_D),
                         Item<CxStatic>(IDC_QELMETER_VALUE), Country()};
    for (QWidget* w : hidden)
        EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Item<QLabel>(kRowHighIds[0])->text(), " <= 50.00");
    EXPECT_EQ(Item<QRadioButton>(kPlaneButtonIds[1])->text(), "X-Z");
    EXPECT_EQ(Item<CxStatic>(kRowNameIds[4])->pos(), QPoint(64, 156));
    // Values accepted by Run are forgotten by a switch away and back.
    Type(IDC_ZOOM, "7");
    Click(Button(IDC_RUN));
    Select(5);
    Select(2);
    EXPECT_EQ(Box(IDC_ZOOM)->text(), "6.00");
}

TEST_F(AppTest, BoxesTakeTenCharactersEnterRunsAndOnlyChangedBoxesAreRead) {
    Type(IDC_PARAM_A, "12.34567891");
    EXPECT_EQ(Box(IDC_PARAM_A)->text(), "12.3456789");
    Type(IDC_INIT_X, "0.123456789012"); // the initial conditions have no limit
    EXPECT_EQ(Box(IDC_INIT_X)->text(), "0.123456789012");
    Type(IDC_PARAM_A, "33");
    QTest::keyClick(Box(IDC_PARAM_A), Qt::Key_Return);
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
    EXPECT_EQ(paste(IDC_PARAM_B, "12345678901234", true), "1234567890");
    Type(IDC_PARAM_B, "6.8");
    EXPECT_EQ(paste(IDC_PARAM_B, "12345678901234", false), "6.81234567");
    Type(IDC_PARAM_B, "6.8");
    EXPECT_EQ(paste(IDC_INIT_X, "1.5abc", true), "1.5abc");
    Box(IDC_INIT_Y)->setText("");
    Click(Button(IDC_RUN));
    EXPECT_EQ(A().m_initX.m_value, 1.5);
    EXPECT_EQ(A().m_initY.m_value, 0.0);
    // A box that did not change is not read, even when its value is outside its limits, and
    // a Run without changes renders nothing new.
    A().m_param[0].m_value = 999;
    const QImage before = Draw()->Surface().Picture(0);
    // A Run sends 800 progress messages (four planes of 2000 points); the bar steps once per
    // 2000 * 3 / 1000 = 6 of them, starting over when full: 33 steps.
    EXPECT_EQ(Item<QProgressBar>(IDC_PROGRESS)->value(), 33);
    Click(Button(IDC_RUN));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(A().m_param[0].m_value, 999);
    EXPECT_EQ(Item<QProgressBar>(IDC_PROGRESS)->value(), 33);
    EXPECT_EQ(Draw()->Surface().Picture(0), before);
    // A refused entry puts back what the boxes held when accepted: the text, not its number.
    Type(IDC_ZOOM, "-1");
    Click(Button(IDC_RUN));
    EXPECT_EQ(Box(IDC_INIT_X)->text(), "1.5abc");
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
        Select(kind);
        Click(Button(IDC_RUN)); // accepts what start-up wrote into the boxes
        for (int i = 0; i < 13; ++i) {
            const CValueBox& box = kValueBoxes[i];
            if (!Box(box.nId)->isVisible())
                continue;
            const QString before = Box(box.nId)->text();
            messages.clear();
            Type(box.nId, box.eText == CValueBox::Whole ? "99999999" : "-99999");
            Click(Button(IDC_RUN));
            ASSERT_EQ(messages.size(), 1u) << i;
            const std::string name = kind == SORVAN_KIND || i < 2 || i > 8
                                         ? names[i].toStdString()
                                         : "Parameter " + std::string(1, char('A' + i - 2));
            EXPECT_EQ(messages[0].substr(0, name.size() + 13), name + " must vary be") << i;
            EXPECT_EQ(Box(box.nId)->text(), before) << i;
        }
    }
    EXPECT_EQ(messages[0], "Zoom must vary between 0.000000 and 100000.000000. Previous data "
                           "remains.");
    // One failure puts the bound texts back into every box, also those read after it: what
    // was typed there is lost. Values at the limits themselves pass.
    messages.clear();
    Type(IDC_VARIATION, "0.5");
    Type(IDC_PARAM_A, "10");
    Type(IDC_ITERATION, "20000000");
    Click(Button(IDC_RUN));
    EXPECT_EQ(messages, std::vector<std::string>{"Variation Number must vary between 0.000100 "
                                                 "and 0.100000. Previous data remains."});
    EXPECT_TRUE(A().m_param[0].m_value == 12.5 && A().m_iteration.m_value == 2000);
    Type(IDC_PARAM_A, "10");
    Type(IDC_ITERATION, "10000000");
    Click(Button(IDC_RUN));
    EXPECT_TRUE(A().m_param[0].m_value == 10 && A().m_iteration.m_value == 10000000);
    // A country other than the first lifts the limits of a to d; the Qelmeter shows them.
    messages.clear();
    Country()->setCurrentIndex(1);
    for (int i = 0; i < 4; ++i)
        Type(RowValueBox(i)->nId, QString::number(i + 1));
    Click(Button(IDC_RUN));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Item<CxStatic>(IDC_QELMETER_VALUE)->Text(), "-2.000");
}

TEST_F(AppTest, ButtonsFollowRunSimulateStopFinishAndClear) {
    Click(Button(IDC_SIMULATE));
    EXPECT_EQ(Buttons(), "R-T");
    EXPECT_EQ(Item<CxStatic>(IDC_STATUS)->Text(), "Drawing graphs....");
    EXPECT_TRUE(Item<QProgressBar>(IDC_PROGRESS)->isVisible());
    ASSERT_TRUE(WaitFor([&] { return Item<QProgressBar>(IDC_PROGRESS)->value() > 3; }));
    Click(Button(IDC_STOP));
    EXPECT_EQ(Buttons(), "RS-");
    Pump(50);
    const int paused = Item<QProgressBar>(IDC_PROGRESS)->value();
    Pump(100);
    EXPECT_EQ(Item<QProgressBar>(IDC_PROGRESS)->value(), paused);
    Click(Button(IDC_SIMULATE)); // resumes the same curve, keeping the bar
    EXPECT_EQ(Buttons(), "R-T");
    EXPECT_GE(Item<QProgressBar>(IDC_PROGRESS)->value(), paused);
    EXPECT_EQ(Draw()->WorkersStarted(), 1);
    ASSERT_TRUE(WaitFor([&] { return Button(IDC_SIMULATE)->isEnabled(); }));
    EXPECT_EQ(Buttons(), "RS-");
    EXPECT_EQ(Item<CxStatic>(IDC_STATUS)->Text(), "Spilling bitmaps into screen...");
    EXPECT_FALSE(Item<QProgressBar>(IDC_PROGRESS)->isVisible());
    // Clear after a finished animation still takes the Simulate branch.
    Click(Button(IDC_CLEAR));
    EXPECT_EQ(Buttons(), "RS-");
    EXPECT_EQ(CountPixels(Draw()->ScreenImage(), Lit), 0);
    // A display choice after Clear starts a new animation in that plane.
    Item<QRadioButton>(kPlaneButtonIds[1])->click();
    EXPECT_EQ(Buttons(), "R-T");
    EXPECT_EQ(Draw()->m_nPlane, 1);
    ASSERT_TRUE(WaitFor([&] { return Draw()->WorkersStarted() == 2; }));
    Click(Button(IDC_RUN)); // ends the animation first
    EXPECT_FALSE(Draw()->IsWorkerRunning());
    EXPECT_EQ(Buttons(), "RS-");
}

TEST_F(AppTest, DisplayChangeDuringAnAnimationRestartsItInTheNewPlane) {
    StartLongAnimation();
    Item<QRadioButton>(kPlaneButtonIds[2])->click();
    EXPECT_EQ(Draw()->m_nPlane, 2);
    ASSERT_TRUE(WaitFor([&] { return Draw()->WorkersStarted() == 2; }));
    EXPECT_TRUE(Draw()->IsWorkerRunning());
    EXPECT_EQ(Buttons(), "R-T");
    // Switching the kind ends it; a display choice then shows the picture.
    Select(2);
    EXPECT_FALSE(Draw()->IsWorkerRunning());
    Item<QRadioButton>(kPlaneButtonIds[1])->click();
    EXPECT_FALSE(Draw()->IsWorkerRunning());
    EXPECT_EQ(Draw()->ScreenImage(), Draw()->Surface().Picture(1));
}

TEST_F(AppTest, AnAttractorSwitchShowsTheNewPictureAndClearsTheStatus) {
    Start(SourceFile("data/Attractors.ini").c_str(), kTestCountries.c_str());
    Item<QRadioButton>(kPlaneButtonIds[1])
        ->click(); // a plane other than the first, kept across the switches
    for (int kind : {0, 5, 1, 5, 2, 5, 3, 5, 4, 5}) {
        Select(kind);
        const QImage shown = Draw()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shown == Draw()->Surface().Picture(1)) << kind;
        EXPECT_GT(CountPixels(shown, Lit, {}, 4), 100) << kind;
        EXPECT_EQ(Item<CxStatic>(IDC_STATUS)->Text().toStdString(), "") << kind;
    }
}

TEST_F(AppTest, AxisLabelsFitTheirBoxesInTheDescribedFontHeight) {
    Type(IDC_ITERATION, "1"); // axes and labels only
    Click(Button(IDC_RUN));
    for (int plane : {0, 1}) {
        const QImage& pic = Draw()->Surface().Picture(plane);
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
    EXPECT_GT(black(Button(IDC_RUN)), 5);
    EXPECT_EQ(black(Button(IDC_STOP)), 0);
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
        Select(kind);
        for (int id : {IDC_EQUATION_X, IDC_EQUATION_Y, IDC_EQUATION_Z}) {
            QString text;
            EXPECT_LE(TextWidth(Item(id), &text), Item(id)->width()) << text.toStdString();
        }
        // A letter wider than its cell is whole and stops short of its upper limit.
        for (int r = 0; r < 10; ++r) {
            QWidget* name = Item(kRowNameIds[r]);
            QString text;
            const int width = TextWidth(name, &text);
            EXPECT_LE(width, name->width()) << text.toStdString();
            EXPECT_LE(name->x() + width, Item(kRowHighIds[r])->x()) << text.toStdString();
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
