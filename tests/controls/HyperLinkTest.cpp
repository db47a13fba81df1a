#include "controls/HyperLink.h"
#include "ControlsTestUtil.h"
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

using namespace controls_test;

namespace {

constexpr char kAddress[] = "https://www.example.org/qel";
constexpr COLORREF kBk = RGB(236, 236, 236), kBlue = RGB(0, 0, 255), kPurple = RGB(128, 0, 128);

// A small dialog: a button, the link label and another button, shown and active; what the
// link would open is recorded instead of starting a browser.
struct LinkDialog {
    std::vector<QUrl> opened;
    QWidget window;
    QPushButton* before = new QPushButton("Before", &window);
    QLabel* label = new QLabel(QString::fromLatin1(kAddress), &window);
    QPushButton* after = new QPushButton("After", &window);
    std::unique_ptr<CHyperLink> link = std::make_unique<CHyperLink>();
    LinkDialog() {
        CHyperLink::SetOpenHook([this](const QUrl& url) { return opened.push_back(url), true; });
        SetWindowColor(window, kBk);
        window.setAutoFillBackground(true);
        window.resize(300, 120);
        before->setGeometry(10, 10, 80, 24);
        label->setGeometry(40, 50, 200, 20);
        after->setGeometry(10, 85, 80, 24);
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
    // Pixels of the one-pixel ring just outside the label that differ from the background.
    int RingInk() {
        const QImage img = Grab(window);
        const QRect r = CHyperLink::FocusRect(*label);
        EXPECT_EQ(r, QRect(39, 49, 202, 22));
        return Count(img, IsNot(kBk), r.left(), r.top(), r.right() + 1, r.bottom() + 1) -
               Count(img, IsNot(kBk), r.left() + 1, r.top() + 1, r.right(), r.bottom());
    }
    bool Restored() const {
        return label->cursor().shape() == Qt::ArrowCursor && label->focusPolicy() == Qt::NoFocus &&
               !label->testAttribute(Qt::WA_SetPalette);
    }
};

TEST(HyperLink, AttachMakesABlueFocusableLinkUnderlinedWhileThePointerIsOverIt) {
    LinkDialog d;
    EXPECT_EQ(d.TextColor(), kBlue);
    EXPECT_TRUE(d.label->cursor().shape() == Qt::PointingHandCursor &&
                d.label->focusPolicy() == Qt::StrongFocus);
    EXPECT_FALSE(d.link->IsVisited() || d.link->IsHovered() || d.label->font().underline());
    QTest::mouseMove(d.label, d.Inside());
    EXPECT_TRUE(d.link->IsHovered() && d.label->font().underline());
    // A move outside the label (still sent to it, as under a mouse grab) ends the hover.
    QMouseEvent outside(QEvent::MouseMove, QPointF(-3, 5), d.label->mapToGlobal(QPointF(-3, 5)),
                        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(d.label, &outside);
    EXPECT_FALSE(d.link->IsHovered() || d.label->font().underline());
    QTest::mouseMove(d.label, d.Inside());
    QTest::mouseMove(&d.window, QPoint(280, 110)); // and so does leaving the widget
    EXPECT_FALSE(d.link->IsHovered() || d.label->font().underline());
    // The underline font is made from the label's own (here inherited) font.
    EXPECT_EQ(d.label->font().pixelSize(), d.window.font().pixelSize());
    EXPECT_FALSE(d.label->testAttribute(Qt::WA_SetFont));

    // A failed attach leaves a label alone.
    d.link = std::make_unique<CHyperLink>();
    EXPECT_TRUE(d.Restored());
    EXPECT_FALSE(d.link->AttachLink(d.label, nullptr) || d.link->AttachLink(nullptr, kAddress));
    EXPECT_TRUE(d.Restored());
}

TEST(HyperLink, ClickOrSpaceOpensTheAddressAndTurnsItPurpleEvenIfOpeningFails) {
    LinkDialog d;
    QTest::mouseClick(d.label, Qt::LeftButton, Qt::NoModifier, d.Inside());
    ASSERT_EQ(d.opened, std::vector<QUrl>{QUrl(kAddress)});
    EXPECT_TRUE(d.link->IsVisited() && d.TextColor() == kPurple);
    // Right button, or a release away from the label, opens nothing.
    QTest::mouseClick(d.label, Qt::RightButton, Qt::NoModifier, d.Inside());
    QTest::mousePress(d.label, Qt::LeftButton, Qt::NoModifier, d.Inside());
    QTest::mouseRelease(d.label, Qt::LeftButton, Qt::NoModifier, QPoint(-20, 5));
    EXPECT_EQ(d.opened.size(), 1u);
    // The space key opens it on release; other keys do not.
    d.label->setFocus();
    QTest::keyPress(d.label, Qt::Key_Space);
    EXPECT_EQ(d.opened.size(), 1u);
    QTest::keyRelease(d.label, Qt::Key_Space);
    EXPECT_EQ(d.opened.size(), 2u);
    QTest::keyClick(d.label, Qt::Key_A);
    QTest::keyClick(d.label, Qt::Key_Return);
    EXPECT_EQ(d.opened.size(), 2u);
    // The followed state belongs to the link object: a new one starts blue, and turns purple
    // even when nothing could be opened.
    d.link = std::make_unique<CHyperLink>();
    ASSERT_TRUE(d.link->AttachLink(d.label, kAddress));
    EXPECT_EQ(d.TextColor(), kBlue);
    CHyperLink::SetOpenHook([](const QUrl&) { return false; });
    d.link->Navigate();
    EXPECT_EQ(d.TextColor(), kPurple);
}

TEST(HyperLink, FocusRectangleOnePixelOutsideWhileFocused) {
    LinkDialog d;
    EXPECT_EQ(d.RingInk(), 0);
    d.before->setFocus();
    QTest::keyClick(d.before, Qt::Key_Tab);
    ASSERT_TRUE(d.label->hasFocus());
    EXPECT_TRUE(d.link->HasFocusRect());
    const int ink = d.RingInk();
    EXPECT_TRUE(ink > 100 && ink < 300) << ink; // dotted: about every other pixel of 444
    // Nothing drawn inside the ring or one further out.
    const QImage img = Grab(d.window);
    EXPECT_TRUE(At(img, 38, 60) == kBk && At(img, 242, 60) == kBk && At(img, 40, 60) == kBk);
    QTest::keyClick(d.label, Qt::Key_Tab);
    ASSERT_TRUE(d.after->hasFocus());
    EXPECT_FALSE(d.link->HasFocusRect());
    EXPECT_EQ(d.RingInk(), 0);
}

TEST(HyperLink, LinkAndLabelMayEndInEitherOrder) {
    {
        LinkDialog d;
        d.label->setFocus();
        ASSERT_TRUE(d.link->HasFocusRect());
        // The link goes first: the label gets back what it had and the parent paints no ring.
        d.link.reset();
        EXPECT_TRUE(d.Restored());
        EXPECT_EQ(d.RingInk(), 0);
        QTest::mouseClick(d.label, Qt::LeftButton, Qt::NoModifier, d.Inside());
        EXPECT_TRUE(d.opened.empty());
    }
    LinkDialog d;
    d.label->setFocus();
    delete d.label;
    EXPECT_TRUE(d.link->Control() == nullptr && !d.link->HasFocusRect());
    (void)Grab(d.window);
    // Attaching afresh to another label works.
    d.label = new QLabel("y", &d.window);
    EXPECT_TRUE(d.link->AttachLink(d.label, kAddress));
    EXPECT_EQ(d.TextColor(), kBlue);
}

} // namespace
