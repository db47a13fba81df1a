#include "controls/FloatEdit.h"
#include "ControlsTestUtil.h"
#include "platform/Dialogs.h"
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace controls_test;

namespace {

struct FloatEditTest : ::testing::Test {
    FloatEditTest() {
        platform::SetBeepHook([this] { ++m_nBeeps; });
    }
    ~FloatEditTest() override { platform::SetBeepHook(nullptr); }
    int m_nBeeps = 0;
};

TEST_F(FloatEditTest, FilterRules) {
    // Typed at the caret (nSelLength 0) or over the selection; bOneEvent sends all the
    // characters in one key event, which are then judged in turn.
    const struct {
        const char* initial;
        int nSelStart, nSelLength;
        QString typed;
        bool bOneEvent, bDigitsOnly;
        const char* result;
        int nBeeps;
    } cases[] = {
        // A minus only at the start and only once, even over a selection starting at 0.
        {"", 0, 0, "-", false, false, "-", 0},
        {"-", 1, 0, "-", false, false, "-", 1},
        {"-", 0, 0, "-", false, false, "-", 1},
        {"5", 1, 0, "-", false, false, "5", 1},
        {"-5", 0, 2, "-", false, false, "-5", 1},
        // A point never first and only once, even over a selected point.
        {"", 0, 0, ".", false, false, "", 1},
        {"", 0, 0, "0.5", false, false, "0.5", 0},
        {"0.5", 3, 0, ".", false, false, "0.5", 1},
        {"0.5", 1, 0, ".", false, false, "0.5", 1},
        {"1.5", 1, 1, ".", false, false, "1.5", 1},
        // Digits go anywhere, even before the minus.
        {"-5", 0, 0, "7", false, false, "7-5", 0},
        {"12", 2, 0, "eE+, x", false, false, "12", 6},
        {"12", 2, 0, QString::fromUtf8("é"), true, false, "12", 1},
        {"", 0, 0, "1-2.", true, false, "12.", 1},
        {"", 0, 0, "-1.5", false, true, "15", 2},
    };
    for (const auto& c : cases) {
        CFloatEdit edit(nullptr, c.bDigitsOnly);
        edit.setText(c.initial);
        edit.setSelection(c.nSelStart, c.nSelLength);
        if (c.nSelLength == 0)
            edit.setCursorPosition(c.nSelStart);
        m_nBeeps = 0;
        if (c.bOneEvent) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, c.typed);
            QApplication::sendEvent(&edit, &key);
        } else {
            QTest::keyClicks(&edit, c.typed);
        }
        EXPECT_EQ(edit.text(), c.result) << c.initial << " + " << c.typed.toStdString();
        EXPECT_EQ(m_nBeeps, c.nBeeps) << c.initial << " + " << c.typed.toStdString();
    }
}

TEST_F(FloatEditTest, KeysWithoutTextPastingAndSwitchingDigitsOnly) {
    CFloatEdit edit;
    edit.setText("-5");
    edit.setCursorPosition(0);
    for (int key : {int('7'), int(Qt::Key_Backspace), int(Qt::Key_End), int(Qt::Key_Home), int('-'),
                    int('3')})
        QTest::keyClick(&edit, Qt::Key(key));
    EXPECT_EQ(edit.text(), "3-5"); // keys without text pass; Home took the caret to 0
    EXPECT_EQ(m_nBeeps, 1);
    QApplication::clipboard()->setText("1e5 x");
    edit.clear();
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "1e5 x"); // pasted unchecked
    edit.clear();
    edit.SetDigitsOnly(true);
    QTest::keyClick(&edit, '-');
    EXPECT_EQ(edit.text(), "");
    edit.SetDigitsOnly(false);
    QTest::keyClick(&edit, '-');
    EXPECT_EQ(edit.text(), "-");
    EXPECT_EQ(m_nBeeps, 2);
}

TEST(FloatEditColours, BlackOnWhiteWhateverTheParentSays) {
    QWidget byPalette, bySheet;
    QPalette pal = byPalette.palette();
    for (auto role : {QPalette::Window, QPalette::Base})
        pal.setColor(role, QColor(0, 200, 255));
    pal.setColor(QPalette::Text, Qt::red);
    byPalette.setPalette(pal);
    bySheet.setStyleSheet("QWidget { background-color: rgb(0, 200, 255); color: red; }");
    auto cyanOrRed = [](COLORREF c) {
        return (GetRValue(c) < 40 && GetGValue(c) > 150 && GetBValue(c) > 200) ||
               GetRValue(c) > GetBValue(c) + 60;
    };
    for (QWidget* parent : {&byPalette, &bySheet}) {
        auto* layout = new QVBoxLayout(parent);
        auto* edit = new CFloatEdit;
        auto* plain = new QLineEdit;
        edit->setText("888888");
        plain->setText("888888");
        layout->addWidget(edit);
        layout->addWidget(plain);
        parent->resize(200, 80);
        parent->show();
        // The parent's colours do reach an ordinary edit box, but not ours.
        const QImage ours = Grab(*edit);
        EXPECT_GT(Count(Grab(*plain), cyanOrRed), 100);
        EXPECT_GT(Count(ours, Is(RGB(255, 255, 255))), edit->width() * edit->height() / 2);
        EXPECT_GT(Count(ours, IsDark), 5);
        EXPECT_EQ(Count(ours, cyanOrRed), 0);
    }
}

} // namespace
