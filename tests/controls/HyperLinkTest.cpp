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
constexpr COLORREF kBk = RGB(236, 236, 236);

class CCountingLink : public CHyperLink {
public:
    int m_nSelect = 0, m_nDeselect = 0;

protected:
    void OnSelect() override { ++m_nSelect; }
    void OnDeselect() override { ++m_nDeselect; }
};

// A small dialog: a button, the link label and another button, shown and active; what the
// link would open is recorded instead of starting a browser.
struct LinkDialog {
    std::vector<QUrl> opened;
    QWidget window;
    QPushButton* before = new QPushButton("Before", &window);
    QLabel* label = new QLabel(QString::fromLatin1(kAddress), &window);
    QPushButton* after = new QPushButton("After", &window);
    std::unique_ptr<CCountingLink> link = std::make_unique<CCountingLink>();
    LinkDialog() {
        CHyperLink::SetOpenHook([this](const QUrl& url) { return opened.push_back(url), true; });
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, QColor(236, 236, 236));
        window.setPalette(pal);
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
        auto other = [](COLORREF c) { return c != kBk; };
        return Count(img, other, r.left(), r.top(), r.right() + 1, r.bottom() + 1) -
               Count(img, other, r.left() + 1, r.top() + 1, r.right(), r.bottom());
    }
    bool Restored() const {
        return label->cursor().shape() == Qt::ArrowCursor && label->focusPolicy() == Qt::NoFocus &&
               !label->testAttribute(Qt::WA_SetPalette);
    }
};

TEST(HyperLink, AttachMakesABlueFocusableLinkAndAFailedOneLeavesTheLabelAlone) {
    LinkDialog d;
    d.link = std::make_unique<CCountingLink>();
    EXPECT_TRUE(d.Restored());
    EXPECT_FALSE(d.link->AttachLink(d.label, nullptr));
    EXPECT_FALSE(d.link->AttachLink(nullptr, kAddress));
    EXPECT_TRUE(d.Restored());
    ASSERT_TRUE(d.link->AttachLink(d.label, kAddress));
    EXPECT_EQ(d.TextColor(), RGB(0, 0, 255));
    EXPECT_EQ(d.label->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(d.label->focusPolicy(), Qt::StrongFocus);
    EXPECT_FALSE(d.link->IsVisited() || d.link->IsHovered());
}

TEST(HyperLink, UnderlinedWhileThePointerIsOverIt) {
    LinkDialog d;
    EXPECT_FALSE(d.label->font().underline());
    QTest::mouseMove(d.label, d.Inside());
    EXPECT_TRUE(d.link->IsHovered() && d.label->font().underline());
    QTest::mouseMove(d.label, d.Inside() + QPoint(3, 0));
    EXPECT_EQ(d.link->m_nSelect, 1); // one selection per visit
    // A move outside the label (still sent to it, as under a mouse grab) ends the hover.
    QMouseEvent outside(QEvent::MouseMove, QPointF(-3, 5), d.label->mapToGlobal(QPointF(-3, 5)),
                        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(d.label, &outside);
    EXPECT_FALSE(d.link->IsHovered() || d.label->font().underline());
    EXPECT_EQ(d.link->m_nDeselect, 1);
    // Entering and leaving the widget do the same.
    QTest::mouseMove(d.label, d.Inside());
    EXPECT_TRUE(d.label->font().underline());
    QTest::mouseMove(&d.window, QPoint(280, 110));
    EXPECT_FALSE(d.link->IsHovered() || d.label->font().underline());
    // The underline font is made from the label's own (here inherited) font.
    EXPECT_EQ(d.label->font().pixelSize(), d.window.font().pixelSize());
    EXPECT_FALSE(d.label->testAttribute(Qt::WA_SetFont));
}

TEST(HyperLink, ClickOrSpaceOpensTheAddressAndTurnsItPurpleEvenIfOpeningFails) {
    LinkDialog d;
    QTest::mouseClick(d.label, Qt::LeftButton, Qt::NoModifier, d.Inside());
    ASSERT_EQ(d.opened, std::vector<QUrl>{QUrl(kAddress)});
    EXPECT_TRUE(d.link->IsVisited());
    EXPECT_EQ(d.TextColor(), RGB(128, 0, 128));
    EXPECT_GT(Count(Grab(*d.label),
                    [](COLORREF c) {
                        return GetRValue(c) > 90 && GetRValue(c) < 170 && GetGValue(c) < 60 &&
                               GetBValue(c) > 90 && GetBValue(c) < 170;
                    }),
              5);
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
    d.link = std::make_unique<CCountingLink>();
    ASSERT_TRUE(d.link->AttachLink(d.label, kAddress));
    EXPECT_EQ(d.TextColor(), RGB(0, 0, 255));
    CHyperLink::SetOpenHook([](const QUrl&) { return false; });
    d.link->Navigate();
    EXPECT_EQ(d.TextColor(), RGB(128, 0, 128));
}

TEST(HyperLink, FocusRectangleOnePixelOutsideWhileFocused) {
    LinkDialog d;
    EXPECT_EQ(d.RingInk(), 0);
    d.before->setFocus();
    QTest::keyClick(d.before, Qt::Key_Tab);
    ASSERT_TRUE(d.label->hasFocus());
    EXPECT_TRUE(d.link->HasFocusRect());
    EXPECT_EQ(d.link->m_nSelect, 1);
    const int ink = d.RingInk();
    EXPECT_TRUE(ink > 100 && ink < 300) << ink; // dotted: about every other pixel of 444
    // Nothing drawn inside the ring or one further out.
    const QImage img = Grab(d.window);
    EXPECT_TRUE(At(img, 38, 60) == kBk && At(img, 242, 60) == kBk && At(img, 40, 60) == kBk);
    QTest::keyClick(d.label, Qt::Key_Tab);
    ASSERT_TRUE(d.after->hasFocus());
    EXPECT_FALSE(d.link->HasFocusRect());
    EXPECT_EQ(d.link->m_nDeselect, 1);
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
    EXPECT_EQ(d.link->Control(), nullptr);
    EXPECT_FALSE(d.link->HasFocusRect());
    (void)Grab(d.window);
    // Attaching afresh to another label works.
    d.label = new QLabel("y", &d.window);
    EXPECT_TRUE(d.link->AttachLink(d.label, kAddress));
    EXPECT_EQ(d.TextColor(), RGB(0, 0, 255));
}

} // namespace
