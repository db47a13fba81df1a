#include "ControlsTestUtil.h"
#include "controls/ClrStatic.h"
#include "controls/FloatEdit.h"
#include "controls/HyperLink.h"
#include "controls/xStatic.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

using namespace controls_test;

namespace {

constexpr COLORREF kBk = RGB(204, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

TEST(xStaticLines, BreakRules) {
    const QFontMetrics fm(ProgramFont());
    // The width is that of fit plus one pixel, or nWidth when fit is empty.
    const struct {
        QString text, fit;
        int nWidth;
        QStringList lines;
    } cases[] = {
        // At the last space that fits; an overflowing line keeps its trailing space.
        {"aa aa aaaaa", "aa aa aa", 0, {"aa aa", "aaaaa"}},
        {"aaaa aaaa aaaa", "aaaa aa", 0, {"aaaa", "aaaa", "aaaa"}},
        {"aaa bbb", "aaa ", 0, {"aaa ", "bbb"}},
        // A word longer than the line is broken between characters.
        {"aaaaaaaaaa", "aaaa", 0, {"aaaa", "aaaa", "aa"}},
        // Every CR LF or LF CR pair is one break, a lone CR or LF another.
        {"one\n\rtwo", "", 1000, {"one", "two"}},
        {"one\r\n\r\ntwo", "", 1000, {"one", "", "two"}},
        {"one\r\n", "", 1000, {"one"}},
        {"a\r\rb", "", 1000, {"a", "", "b"}},
        {"a\rb\nc", "", 1000, {"a", "b", "c"}},
        // Narrower than one character it still ends.
        {"abc", "", 0, {"a", "b", "c"}},
        {"a b", "", -10, {"a", " ", "b"}},
    };
    for (const auto& c : cases) {
        const int nWidth = c.fit.isEmpty() ? c.nWidth : fm.horizontalAdvance(c.fit) + 1;
        EXPECT_EQ(CxStatic::BreakLines(c.text, nWidth, fm), c.lines) << c.text.toStdString();
    }
    // A centred first line truncates toward zero.
    EXPECT_EQ(CxStatic::FirstLineTop(SS_CENTERIMAGE, 20, 3, 15), -12);
}

CxStatic* MakeLabel(QWidget& parent, const QString& text, uint32_t style, int w, int h) {
    auto* label = new CxStatic(text, &parent, style);
    label->SetFont(ProgramFont());
    label->SetBkColor(kBk);
    label->SetTextColor(kRed);
    label->setGeometry(0, 0, w, h);
    return label;
}

// The bounding box of the label's red ink.
QRect InkOf(QWidget& parent, const QString& text, uint32_t style, int w, int h) {
    const QImage img = Grab(*MakeLabel(parent, text, style, w, h));
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            box |= IsReddish(At(img, x, y)) ? QRect(x, y, 1, 1) : QRect();
    return box;
}

TEST(xStaticPaint, AlignmentCentringAndClipping) {
    QWidget parent;
    const QRect left = InkOf(parent, "Hg", 0, 120, 60);
    EXPECT_TRUE(!left.isNull() && left.right() < 40 && left.top() < 8);
    EXPECT_GT(InkOf(parent, "Hg", SS_RIGHT, 120, 60).left(), 80);
    const QRect centred = InkOf(parent, "Hg", SS_CENTER | SS_CENTERIMAGE, 120, 60);
    const int nLine = QFontMetrics(ProgramFont()).height(), nTop = (60 - nLine) / 2;
    EXPECT_TRUE(centred.left() > 40 && centred.right() < 80) << centred.left();
    EXPECT_TRUE(centred.top() >= nTop && centred.bottom() <= nTop + nLine && centred.top() > 15);
    // Five lines centred in a label two lines high are cut at both edges.
    const QRect tall = InkOf(parent, "Hg\nHg\nHg\nHg\nHg", SS_CENTERIMAGE, 120, nLine * 2);
    EXPECT_TRUE(tall.top() == 0 && tall.bottom() == nLine * 2 - 1) << tall.top();
}

// Qt delivers a drop only after an accepted enter, so the enter is part of the test.
void Drop(QWidget& target, const QList<QUrl>& urls) {
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
}

TEST(xStaticBitmap, OneDroppedBmpFileStretchedWithoutTheLastColumnAndRow) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("folder.bmp"));
    QList<QUrl> urls;
    for (const char* name : {"PICTURE.BMP", "other.bmp", "picture", "folder.bmp/p", "png.bmp"})
        urls.push_back(QUrl::fromLocalFile(SavePattern(dir, name, name[0] == 'p' ? "PNG" : "BMP")));
    QWidget parent;
    CxStatic* label = MakeLabel(parent, "", 0, 30, 20);
    parent.show();
    // Two files, no .bmp ending, a .bmp folder, a PNG, a remote address: all ignored.
    for (const QList<QUrl>& ignored : {urls.mid(0, 2), urls.mid(2, 1), urls.mid(3, 1),
                                       urls.mid(4, 1), QList<QUrl>{QUrl("https://e.org/p.bmp")}})
        Drop(*label, ignored);
    EXPECT_EQ(Count(Grab(*label), Is(kBk)), 30 * 20);
    Drop(*label, {urls[0]});
    EXPECT_EQ(label->BitmapFileName(), urls[0].toLocalFile());
    EXPECT_EQ(label->size(), QSize(30, 20));
    EXPECT_EQ(Count(Grab(*label), Is(kBlue)), 30 * 20);
}

const QString kQelmeter = "[ad - bc]   -   The Qelmeter";

TEST(ClrStaticRule, LettersStandingAloneOrBeforeVariablesButNotEndingTheText) {
    const struct {
        QString text, chars;
        std::vector<qsizetype> highlighted;
    } cases[] = {
        {kQelmeter, "abcd", {1, 2, 6, 7}},
        // "cos" and "sin" stay plain; "ax" and "b(" are parameters.
        {"x' = cos(z) ax - sin(z) b(y - x^2)", "abcdefgEGUI", {12, 24}},
        {"P' = atan((1 - f) M Q / (1 - g)) + e P", "abcdefgEGUI", {15, 29, 35}},
        {"z' = (x + y) / 5 + e", "abcdefgEGUI", {}},
        {"e e", "abcdefgEGUI", {0}},
    };
    for (const auto& c : cases) {
        std::vector<qsizetype> highlighted;
        for (qsizetype i = -1; i <= c.text.size(); ++i) // the ends out of range as well
            if (CClrStatic::IsHighlighted(c.text, i, c.chars))
                highlighted.push_back(i);
        EXPECT_EQ(highlighted, c.highlighted) << c.text.toStdString();
    }
}

constexpr char kAddress[] = "https://www.example.org/qel";
constexpr COLORREF kPurple = RGB(128, 0, 128);

// The link label in a shown window; what the link would open is recorded, no browser starts.
struct LinkDialog {
    std::vector<QUrl> opened;
    QWidget window;
    QLabel* label = new QLabel(QString::fromLatin1(kAddress), &window);
    std::unique_ptr<CHyperLink> link = std::make_unique<CHyperLink>();
    LinkDialog() {
        CHyperLink::SetOpenHook([this](const QUrl& url) { return opened.push_back(url), true; });
        window.resize(300, 120);
        label->setGeometry(40, 50, 200, 20);
        EXPECT_TRUE(link->AttachLink(label, kAddress));
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    ~LinkDialog() { CHyperLink::SetOpenHook({}); }
    QPoint Inside() const { return label->rect().center(); }
    COLORREF TextColor() const {
        const QColor c = label->palette().color(QPalette::WindowText);
        return RGB(c.red(), c.green(), c.blue());
    }
    bool Restored() const {
        return label->cursor().shape() == Qt::ArrowCursor && label->focusPolicy() == Qt::NoFocus &&
               !label->testAttribute(Qt::WA_SetPalette);
    }
};

TEST(HyperLink, BlueUnderlinedUnderThePointerOpensOnClickOrSpaceAndTurnsPurple) {
    LinkDialog d;
    EXPECT_TRUE(d.TextColor() == kBlue && d.label->cursor().shape() == Qt::PointingHandCursor);
    QTest::mouseMove(d.label, d.Inside());
    EXPECT_TRUE(d.label->font().underline());
    QTest::mouseMove(&d.window, QPoint(280, 110));
    EXPECT_FALSE(d.label->font().underline());
    // Right button, or a release away from the label, opens nothing.
    QTest::mouseClick(d.label, Qt::RightButton, Qt::NoModifier, d.Inside());
    QTest::mousePress(d.label, Qt::LeftButton, Qt::NoModifier, d.Inside());
    QTest::mouseRelease(d.label, Qt::LeftButton, Qt::NoModifier, QPoint(-20, 5));
    EXPECT_TRUE(d.opened.empty());
    QTest::mouseClick(d.label, Qt::LeftButton, Qt::NoModifier, d.Inside());
    ASSERT_EQ(d.opened, std::vector<QUrl>{QUrl(kAddress)});
    EXPECT_EQ(d.TextColor(), kPurple);
    d.label->setFocus();
    QTest::keyClick(d.label, Qt::Key_A);
    QTest::keyClick(d.label, Qt::Key_Space);
    EXPECT_EQ(d.opened.size(), 2u);
    // A new link starts blue and turns purple even when nothing could be opened.
    d.link = std::make_unique<CHyperLink>();
    ASSERT_TRUE(d.link->AttachLink(d.label, kAddress) && d.TextColor() == kBlue);
    CHyperLink::SetOpenHook([](const QUrl&) { return false; });
    d.link->Navigate();
    EXPECT_EQ(d.TextColor(), kPurple);
    d.link = std::make_unique<CHyperLink>(); // a failed attach leaves a label alone
    EXPECT_TRUE(!d.link->AttachLink(d.label, nullptr) && d.Restored());
}

TEST(HyperLink, LinkAndLabelMayEndInEitherOrder) {
    LinkDialog first;
    first.link.reset();
    EXPECT_TRUE(first.Restored());
    LinkDialog d;
    d.label->setFocus();
    delete d.label;
    EXPECT_TRUE(d.link->Control() == nullptr && !d.link->HasFocusRect());
    (void)Grab(d.window);
}

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

TEST_F(FloatEditTest, KeysWithoutTextPassAndPastingIsNotFiltered) {
    CFloatEdit edit;
    edit.setText("-5");
    edit.setCursorPosition(0);
    for (int key : {int('7'), int(Qt::Key_Backspace), int(Qt::Key_End), int(Qt::Key_Home), int('-'),
                    int('3')})
        QTest::keyClick(&edit, Qt::Key(key));
    EXPECT_EQ(edit.text(), "3-5"); // Home took the caret to 0
    EXPECT_EQ(m_nBeeps, 1);
    QApplication::clipboard()->setText("1e5 x");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "31e5 x-5"); // pasted at the caret, not filtered
}

} // namespace
