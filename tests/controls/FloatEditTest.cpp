#include "controls/FloatEdit.h"
#include "platform/Dialogs.h"
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

class FloatEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetBeepHook([this] { ++m_nBeeps; });
    }
    void TearDown() override { platform::SetBeepHook(nullptr); }

    // Types one character with the caret at nCaret, or with the whole text selected.
    void TypeAt(CFloatEdit& edit, int nCaret, char c) {
        edit.setCursorPosition(nCaret);
        QTest::keyClick(&edit, c);
    }
    void TypeOverAll(CFloatEdit& edit, char c) {
        edit.selectAll();
        QTest::keyClick(&edit, c);
    }

    int m_nBeeps = 0;
};

TEST_F(FloatEditTest, MinusOnlyAtTheStartAndOnlyOnce) {
    CFloatEdit edit;
    QTest::keyClick(&edit, '-');
    EXPECT_EQ(edit.text(), "-");
    EXPECT_EQ(m_nBeeps, 0);

    TypeAt(edit, 1, '-');
    TypeAt(edit, 0, '-');
    EXPECT_EQ(edit.text(), "-");
    EXPECT_EQ(m_nBeeps, 2);

    CFloatEdit plain;
    plain.setText("5");
    TypeAt(plain, 1, '-');
    EXPECT_EQ(plain.text(), "5");
    EXPECT_EQ(m_nBeeps, 3);

    // The whole "-5" selected starts at 0, but the text already holds a minus.
    CFloatEdit negative;
    negative.setText("-5");
    TypeOverAll(negative, '-');
    EXPECT_EQ(negative.text(), "-5");
    EXPECT_EQ(m_nBeeps, 4);

    // Home carries no text and passes; the minus then goes in at 0.
    plain.setCursorPosition(1);
    QTest::keyClick(&plain, Qt::Key_Home);
    QTest::keyClick(&plain, '-');
    EXPECT_EQ(plain.text(), "-5");
    EXPECT_EQ(m_nBeeps, 4);
}

TEST_F(FloatEditTest, PointNeverFirstAndOnlyOnce) {
    CFloatEdit edit;
    QTest::keyClick(&edit, '.');
    EXPECT_EQ(edit.text(), "");
    EXPECT_EQ(m_nBeeps, 1);

    QTest::keyClicks(&edit, "0.5");
    EXPECT_EQ(edit.text(), "0.5");
    EXPECT_EQ(m_nBeeps, 1);

    QTest::keyClick(&edit, '.');
    TypeAt(edit, 1, '.');
    EXPECT_EQ(edit.text(), "0.5");
    EXPECT_EQ(m_nBeeps, 3);

    // Typing would replace the selected point, but the text still holds one.
    CFloatEdit selected;
    selected.setText("1.5");
    selected.setSelection(1, 2);
    QTest::keyClick(&selected, '.');
    EXPECT_EQ(selected.text(), "1.5");
    EXPECT_EQ(m_nBeeps, 4);
}

TEST_F(FloatEditTest, DigitsGoAnywhereEvenBeforeTheMinus) {
    CFloatEdit edit;
    edit.setText("-5");
    TypeAt(edit, 0, '7');
    EXPECT_EQ(edit.text(), "7-5");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "-5");
    EXPECT_EQ(m_nBeeps, 0);
}

TEST_F(FloatEditTest, RefusesExponentsSignsCommasAndSpaces) {
    CFloatEdit edit;
    edit.setText("12");
    const char refused[] = {'e', 'E', '+', ',', ' ', 'x'};
    for (char c : refused)
        TypeAt(edit, 2, c);
    EXPECT_EQ(edit.text(), "12");
    EXPECT_EQ(m_nBeeps, static_cast<int>(sizeof refused));

    QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("é"));
    QApplication::sendEvent(&edit, &accented);
    EXPECT_EQ(edit.text(), "12");
    EXPECT_EQ(m_nBeeps, static_cast<int>(sizeof refused) + 1);
}

TEST_F(FloatEditTest, SeveralCharactersInOneEventAreJudgedInTurn) {
    CFloatEdit edit;
    QKeyEvent burst(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("1-2."));
    QApplication::sendEvent(&edit, &burst);
    EXPECT_EQ(edit.text(), "12.");
    EXPECT_EQ(m_nBeeps, 1);
}

TEST_F(FloatEditTest, PasteGoesInUnchecked) {
    QApplication::clipboard()->setText("1e5 x");
    CFloatEdit edit;
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "1e5 x");
    EXPECT_EQ(m_nBeeps, 0);
}

TEST_F(FloatEditTest, DigitsOnlyBoxRefusesPointAndMinus) {
    CFloatEdit edit(nullptr, true);
    QTest::keyClicks(&edit, "-1.5");
    EXPECT_EQ(edit.text(), "15");
    EXPECT_EQ(m_nBeeps, 2);

    CFloatEdit later;
    later.SetDigitsOnly(true);
    TypeAt(later, 0, '-');
    EXPECT_EQ(later.text(), "");
    later.SetDigitsOnly(false);
    TypeAt(later, 0, '-');
    EXPECT_EQ(later.text(), "-");
    EXPECT_EQ(m_nBeeps, 3);
}

// Counts pixels of the grabbed widget that look like the given colour class.
struct Ink {
    int nWhite = 0, nDark = 0, nReddish = 0, nCyan = 0;
};

Ink Survey(QWidget& w) {
    const QImage img = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    Ink ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() == 255 && c.green() == 255 && c.blue() == 255)
                ++ink.nWhite;
            if (c.red() < 80 && c.green() < 80 && c.blue() < 80)
                ++ink.nDark;
            if (c.red() > c.blue() + 60)
                ++ink.nReddish;
            if (c.red() < 40 && c.green() > 150 && c.blue() > 200)
                ++ink.nCyan;
        }
    return ink;
}

TEST(FloatEditColours, BlackOnWhiteWhateverTheParentSays) {
    QWidget byPalette;
    QPalette pal = byPalette.palette();
    pal.setColor(QPalette::Window, QColor(0, 200, 255));
    pal.setColor(QPalette::Base, QColor(0, 200, 255));
    pal.setColor(QPalette::Text, Qt::red);
    byPalette.setPalette(pal);

    QWidget bySheet;
    bySheet.setStyleSheet("QWidget { background-color: rgb(0, 200, 255); color: red; }");

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

        // The parent's colours do reach an ordinary edit box...
        const Ink other = Survey(*plain);
        EXPECT_GT(other.nCyan, 100);
        EXPECT_GT(other.nReddish, 5);

        // ...but not ours.
        const Ink ink = Survey(*edit);
        EXPECT_GT(ink.nWhite, edit->width() * edit->height() / 2);
        EXPECT_GT(ink.nDark, 5);
        EXPECT_EQ(ink.nReddish, 0);
        EXPECT_EQ(ink.nCyan, 0);
    }
}

} // namespace
