#include "controls/AboutDlg.h"
#include "ControlsTestUtil.h"
#include "controls/xStatic.h"
#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

using namespace controls_test;

namespace {

QString TextOf(const CAboutDlg& dlg, int id) {
    QWidget* w = dlg.GetDlgItem(id);
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* x = qobject_cast<CxStatic*>(w))
        return x->Text();
    if (auto* b = qobject_cast<QPushButton*>(w))
        return b->text();
    return "<none>";
}

TEST(AboutDlg, Template100WithBoldVersionLines) {
    CAboutDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "About Qel2");
    EXPECT_EQ(dlg.size(), QSize(353, 153));
    EXPECT_EQ(dlg.font().pixelSize(), 11);
    EXPECT_EQ(TextOf(dlg, IDC_ABOUT_VERSION), "Qel Version 2.0");
    EXPECT_EQ(TextOf(dlg, IDC_ABOUT_IDEA_CAPTION), "Idea Design:");
    EXPECT_EQ(TextOf(dlg, IDC_ABOUT_SOFTWARE_CAPTION), "Software Design:");
    EXPECT_EQ(TextOf(dlg, IDC_ABOUT_LINK), QString::fromLatin1(kMakerWebAddress));
    EXPECT_EQ(TextOf(dlg, IDOK), "OK");
    EXPECT_NE(TextOf(dlg, IDC_ABOUT_IDEA_NAMES), "<none>");
    EXPECT_NE(TextOf(dlg, IDC_ABOUT_SOFTWARE_NAMES), "<none>");

    EXPECT_TRUE(dlg.VersionLabel().LabelFont().bold());
    EXPECT_TRUE(dlg.ModelLabel().LabelFont().bold());
    EXPECT_FALSE(qobject_cast<QLabel*>(dlg.GetDlgItem(IDC_ABOUT_IDEA_CAPTION))->font().bold());
    EXPECT_EQ(dlg.VersionLabel().geometry(), QRect(60, 16, 179, 13));
    auto* ok = qobject_cast<QPushButton*>(dlg.GetDlgItem(IDOK));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->geometry(), QRect(267, 16, 75, 23));

    // The version line is drawn in a bold font: more ink than the same text in the plain one.
    CxStatic plain("Qel Version 2.0");
    plain.setFont(dlg.font());
    plain.resize(dlg.VersionLabel().size());
    const QImage bold = Grab(dlg.VersionLabel());
    const QImage thin = Grab(plain);
    EXPECT_GT(Count(bold, 0, 0, bold.width(), bold.height(), IsDark),
              Count(thin, 0, 0, thin.width(), thin.height(), IsDark));
}

TEST(AboutDlg, LinkOpensTheMakersAddressAndEachBoxStartsBlue) {
    std::vector<QUrl> opened;
    CHyperLink::SetOpenHook([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    {
        CAboutDlg dlg;
        auto* label = qobject_cast<QLabel*>(dlg.GetDlgItem(IDC_ABOUT_LINK));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(dlg.Link().Control(), label);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        dlg.show();
        dlg.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        // OK holds the focus; Tab reaches the link.
        EXPECT_TRUE(dlg.GetDlgItem(IDOK)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(label->hasFocus());
        EXPECT_TRUE(dlg.Link().HasFocusRect());
        QTest::keyClick(label, Qt::Key_Space);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0], QUrl(QString::fromLatin1(kMakerWebAddress)));
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(128, 0, 128));
    }
    CAboutDlg again;
    EXPECT_FALSE(again.Link().IsVisited());
    EXPECT_EQ(qobject_cast<QLabel*>(again.GetDlgItem(IDC_ABOUT_LINK))
                  ->palette()
                  .color(QPalette::WindowText),
              QColor(0, 0, 255));
    CHyperLink::SetOpenHook({});
}

TEST(AboutDlg, IconShownWhenTheProgramHasOne) {
    {
        CAboutDlg dlg;
        EXPECT_TRUE(dlg.IconLabel().pixmap().isNull());
    }
    QPixmap red(32, 32);
    red.fill(Qt::red);
    QApplication::setWindowIcon(QIcon(red));
    {
        CAboutDlg dlg;
        EXPECT_FALSE(dlg.IconLabel().pixmap().isNull());
        EXPECT_EQ(dlg.IconLabel().geometry(), QRect(17, 16, 32, 32));
        const QImage img = Grab(dlg.IconLabel());
        EXPECT_EQ(At(img, 16, 16), RGB(255, 0, 0));
    }
    QApplication::setWindowIcon(QIcon());
}

TEST(AboutDlg, OkEscapeAndEnterEndIt) {
    {
        CAboutDlg dlg;
        QTimer::singleShot(0, &dlg,
                           [&] { qobject_cast<QPushButton*>(dlg.GetDlgItem(IDOK))->click(); });
        EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    }
    {
        CAboutDlg dlg;
        QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); });
        EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    }
    {
        CAboutDlg dlg;
        QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Return); });
        EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    }
}

} // namespace
