#include "controls/HyperLink.h"
#include "ControlsTestUtil.h"
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace controls_test;

namespace {

constexpr char kAddress[] = "https://www.example.org/qel";

// Records what would have been opened, instead of starting a browser.
struct OpenRecorder {
    std::vector<QUrl> opened;
    OpenRecorder() {
        CHyperLink::SetOpenHook([this](const QUrl& url) {
            opened.push_back(url);
            return true;
        });
    }
    ~OpenRecorder() { CHyperLink::SetOpenHook({}); }
};

class CCountingLink : public CHyperLink {
public:
    int m_nSelect = 0;
    int m_nDeselect = 0;

protected:
    void OnSelect() override { ++m_nSelect; }
    void OnDeselect() override { ++m_nDeselect; }
};

// A small dialog: a button, the link label and another button, shown and active.
struct LinkDialog {
    QWidget window;
    QPushButton* before = new QPushButton("Before", &window);
    QLabel* label = new QLabel(QString::fromLatin1(kAddress), &window);
    QPushButton* after = new QPushButton("After", &window);
    std::unique_ptr<CCountingLink> link = std::make_unique<CCountingLink>();

    LinkDialog() {
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
    QPoint Inside() const { return label->rect().center(); }
};

COLORREF TextColor(const QLabel& label) {
    const QColor c = label.palette().color(QPalette::WindowText);
    return RGB(c.red(), c.green(), c.blue());
}

// Pixels of the one-pixel ring just outside the label that differ from the background.
int RingInk(LinkDialog& d) {
    const QImage img = Grab(d.window);
    const QRect r = CHyperLink::FocusRect(*d.label);
    EXPECT_EQ(r, QRect(39, 49, 202, 22));
    const COLORREF bk = RGB(236, 236, 236);
    int n = 0;
    for (int x = r.left(); x <= r.right(); ++x)
        n += (At(img, x, r.top()) != bk) + (At(img, x, r.bottom()) != bk);
    for (int y = r.top() + 1; y < r.bottom(); ++y)
        n += (At(img, r.left(), y) != bk) + (At(img, r.right(), y) != bk);
    return n;
}

TEST(HyperLink, AttachMakesABlueFocusableLinkWithTheHandCursor) {
    QWidget parent;
    auto* label = new QLabel("x", &parent);
    CHyperLink link;
    EXPECT_FALSE(link.AttachLink(label, nullptr));
    EXPECT_FALSE(link.AttachLink(nullptr, kAddress));
    // A failed attach leaves the label alone.
    EXPECT_EQ(label->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(label->testAttribute(Qt::WA_SetPalette));

    ASSERT_TRUE(link.AttachLink(label, kAddress));
    EXPECT_EQ(link.Url(), kAddress);
    EXPECT_EQ(TextColor(*label), RGB(0, 0, 255));
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(label->focusPolicy(), Qt::StrongFocus);
    EXPECT_FALSE(link.IsVisited());
    EXPECT_FALSE(link.IsHovered());
    EXPECT_TRUE(link.SetUrl("https://other.example/"));
    EXPECT_FALSE(link.SetUrl(nullptr));
    EXPECT_EQ(link.Url(), "https://other.example/");
}

TEST(HyperLink, UnderlinedWhileThePointerIsOverIt) {
    LinkDialog d;
    EXPECT_FALSE(d.label->font().underline());
    QTest::mouseMove(d.label, d.Inside());
    EXPECT_TRUE(d.link->IsHovered());
    EXPECT_TRUE(d.label->font().underline());
    EXPECT_EQ(d.link->m_nSelect, 1);
    QTest::mouseMove(d.label, d.Inside() + QPoint(3, 0));
    EXPECT_EQ(d.link->m_nSelect, 1); // one selection per visit

    // A move outside the label (still sent to it, as under a mouse grab) ends the hover.
    QMouseEvent outside(QEvent::MouseMove, QPointF(-3, 5), d.label->mapToGlobal(QPointF(-3, 5)),
                        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(d.label, &outside);
    EXPECT_FALSE(d.link->IsHovered());
    EXPECT_FALSE(d.label->font().underline());
    EXPECT_EQ(d.link->m_nDeselect, 1);

    // Entering and leaving the widget do the same.
    QTest::mouseMove(d.label, d.Inside());
    EXPECT_TRUE(d.label->font().underline());
    QTest::mouseMove(&d.window, QPoint(280, 110));
    EXPECT_FALSE(d.link->IsHovered());
    EXPECT_FALSE(d.label->font().underline());
    // The underline font is made from the label's own (here inherited) font.
    EXPECT_EQ(d.label->font().pixelSize(), d.window.font().pixelSize());
    EXPECT_FALSE(d.label->testAttribute(Qt::WA_SetFont));
}

TEST(HyperLink, ClickOrSpaceOpensTheAddressAndTurnsItPurple) {
    OpenRecorder recorder;
    LinkDialog d;
    QTest::mouseClick(d.label, Qt::LeftButton, Qt::NoModifier, d.Inside());
    ASSERT_EQ(recorder.opened.size(), 1u);
    EXPECT_EQ(recorder.opened[0], QUrl(kAddress));
    EXPECT_TRUE(d.link->IsVisited());
    EXPECT_EQ(TextColor(*d.label), RGB(128, 0, 128));
    const QImage img = Grab(*d.label);
    EXPECT_GT(Count(img, 0, 0, img.width(), img.height(),
                    [](COLORREF c) {
                        return GetRValue(c) > 90 && GetRValue(c) < 170 && GetGValue(c) < 60 &&
                               GetBValue(c) > 90 && GetBValue(c) < 170;
                    }),
              5);

    // Right button, or a release away from the label, opens nothing.
    QTest::mouseClick(d.label, Qt::RightButton, Qt::NoModifier, d.Inside());
    QTest::mousePress(d.label, Qt::LeftButton, Qt::NoModifier, d.Inside());
    QTest::mouseRelease(d.label, Qt::LeftButton, Qt::NoModifier, QPoint(-20, 5));
    EXPECT_EQ(recorder.opened.size(), 1u);

    // The space key opens it on release; other keys do not.
    d.label->setFocus();
    QTest::keyPress(d.label, Qt::Key_Space);
    EXPECT_EQ(recorder.opened.size(), 1u);
    QTest::keyRelease(d.label, Qt::Key_Space);
    EXPECT_EQ(recorder.opened.size(), 2u);
    QTest::keyClick(d.label, Qt::Key_A);
    QTest::keyClick(d.label, Qt::Key_Return);
    EXPECT_EQ(recorder.opened.size(), 2u);
}

TEST(HyperLink, FollowedEvenWhenOpeningFails) {
    CHyperLink::SetOpenHook([](const QUrl&) { return false; });
    QWidget parent;
    auto* label = new QLabel("x", &parent);
    CHyperLink link;
    ASSERT_TRUE(link.AttachLink(label, kAddress));
    link.Navigate();
    EXPECT_TRUE(link.IsVisited());
    EXPECT_EQ(TextColor(*label), RGB(128, 0, 128));
    CHyperLink::SetOpenHook({});

    // The followed state belongs to the link object: a new one starts blue.
    QWidget parent2;
    auto* label2 = new QLabel("x", &parent2);
    CHyperLink fresh;
    ASSERT_TRUE(fresh.AttachLink(label2, kAddress));
    EXPECT_EQ(TextColor(*label2), RGB(0, 0, 255));
}

TEST(HyperLink, FocusRectangleOnePixelOutsideWhileFocused) {
    LinkDialog d;
    EXPECT_EQ(RingInk(d), 0);
    d.before->setFocus();
    QTest::keyClick(d.before, Qt::Key_Tab);
    ASSERT_TRUE(d.label->hasFocus());
    EXPECT_TRUE(d.link->HasFocusRect());
    EXPECT_EQ(d.link->m_nSelect, 1);
    const int ink = RingInk(d);
    EXPECT_GT(ink, 100); // dotted: about every other pixel of 444
    EXPECT_LT(ink, 300);
    // Nothing drawn inside the ring or one further out.
    const QImage img = Grab(d.window);
    EXPECT_EQ(At(img, 38, 60), RGB(236, 236, 236));
    EXPECT_EQ(At(img, 242, 60), RGB(236, 236, 236));

    QTest::keyClick(d.label, Qt::Key_Tab);
    ASSERT_TRUE(d.after->hasFocus());
    EXPECT_FALSE(d.link->HasFocusRect());
    EXPECT_EQ(d.link->m_nDeselect, 1);
    EXPECT_EQ(RingInk(d), 0);
}

TEST(HyperLink, LinkAndLabelMayEndInEitherOrder) {
    OpenRecorder recorder;
    {
        LinkDialog d;
        d.label->setFocus();
        ASSERT_TRUE(d.link->HasFocusRect());
        // The link goes first: the label gets back what it had and the parent paints no ring.
        d.link.reset();
        EXPECT_EQ(d.label->cursor().shape(), Qt::ArrowCursor);
        EXPECT_EQ(d.label->focusPolicy(), Qt::NoFocus);
        EXPECT_FALSE(d.label->testAttribute(Qt::WA_SetPalette));
        EXPECT_EQ(RingInk(d), 0);
        QTest::mouseClick(d.label, Qt::LeftButton, Qt::NoModifier, d.Inside());
        EXPECT_TRUE(recorder.opened.empty());
    }
    {
        LinkDialog d;
        d.label->setFocus();
        delete d.label;
        d.label = nullptr;
        EXPECT_EQ(d.link->Control(), nullptr);
        EXPECT_FALSE(d.link->HasFocusRect());
        (void)Grab(d.window);
        // Attaching afresh to another label works.
        auto* other = new QLabel("y", &d.window);
        EXPECT_TRUE(d.link->AttachLink(other, kAddress));
        EXPECT_EQ(TextColor(*other), RGB(0, 0, 255));
    }
}

} // namespace
