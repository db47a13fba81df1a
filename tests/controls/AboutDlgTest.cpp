#include "controls/AboutDlg.h"
#include "ControlsTestUtil.h"
#include "controls/xStatic.h"
#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace controls_test;

namespace {

TEST(AboutDlg, TheProgramsIconAndBoldVersionLines) {
    QPixmap red(32, 32);
    red.fill(Qt::red);
    for (bool bIcon : {false, true}) {
        QApplication::setWindowIcon(bIcon ? QIcon(red) : QIcon());
        CAboutDlg dlg;
        EXPECT_NE(dlg.IconLabel().pixmap().isNull(), bIcon);
        if (bIcon) {
            EXPECT_EQ(At(Grab(dlg.IconLabel()), 16, 16), RGB(255, 0, 0));
        }
        EXPECT_TRUE(dlg.VersionLabel().LabelFont().bold() && dlg.ModelLabel().LabelFont().bold());
    }
    QApplication::setWindowIcon(QIcon());
}

TEST(AboutDlg, TabReachesTheLinkWhichOpensTheMakersAddressAndOkEscapeAndEnterEndIt) {
    std::vector<QUrl> opened;
    CHyperLink::SetOpenHook([&](const QUrl& url) { return opened.push_back(url), true; });
    {
        CAboutDlg dlg;
        auto* label = qobject_cast<QLabel*>(dlg.GetDlgItem(IDC_ABOUT_LINK));
        ASSERT_TRUE(label && dlg.Link().Control() == label);
        dlg.show();
        dlg.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
        EXPECT_TRUE(dlg.GetDlgItem(IDOK)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(label->hasFocus() && dlg.Link().HasFocusRect());
        QTest::keyClick(label, Qt::Key_Space);
        EXPECT_EQ(opened, std::vector<QUrl>{QUrl(QString::fromLatin1(kMakerWebAddress))});
    }
    CHyperLink::SetOpenHook({});
    CAboutDlg dlg;
    auto* ok = qobject_cast<QPushButton*>(dlg.GetDlgItem(IDOK));
    ASSERT_TRUE(ok && ok->isDefault());
    EXPECT_EQ(ExecWith(dlg, [&] { ok->click(); }), QDialog::Accepted);
    EXPECT_EQ(ExecWith(dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Escape); }), QDialog::Rejected);
    EXPECT_EQ(ExecWith(dlg, [&] { QTest::keyClick(&dlg, Qt::Key_Return); }), QDialog::Accepted);
}

} // namespace
