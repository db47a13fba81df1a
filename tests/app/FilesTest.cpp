#include "AppFixture.h"

#include "engine/BmpWriter.h"

#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

TEST_F(AppTest, SaveParametersWritesSixSectionsWithTheAcceptedValues) {
    // Cancelling writes nothing, but the folder exists.
    dlg->OnSaveParameters();
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("Files")));

    Type(EDIT_ZOOM, "55");
    Click(dlg->m_btnRun);
    Type(EDIT_ZOOM, "66"); // typed, not run: not saved
    answer = dir.File("Files/saved");
    dlg->OnSaveParameters();
    const std::string text = TempDir::Read(*answer);
    EXPECT_EQ(std::count(text.begin(), text.end(), '['), 6); // one section for each kind
    const std::size_t sorvan = text.find("[Sorvan]");
    EXPECT_EQ(text.substr(sorvan, 28), "[Sorvan]\nZoom=55.000\nStartCo");
    EXPECT_NE(text.find("A=(12.5000,10.0000,50.0000)", sorvan), std::string::npos);
    EXPECT_NE(text.find("G=(0.3000,0.0000,0.9900)", sorvan), std::string::npos);
}

TEST_F(AppTest, ExportWritesTheRenderedPlaneAsBmpOrPng) {
    QImage expected(591, 515, QImage::Format_RGB32);
    expected.fill(Qt::black);
    dlg->DrawWnd()->RenderPlaneInto(expected);
    const std::vector<uint8_t> bytes = EncodeBmp(expected);
    for (const char* name : {"graph.bmp", "graph.BMP"}) {
        answer = dir.File(std::string("Files/") + name);
        dlg->OnSaveAs();
        const std::string got = TempDir::Read(*answer);
        ASSERT_EQ(got.size(), 54u + 1776u * 515u) << name;
        EXPECT_EQ(got, std::string(bytes.begin(), bytes.end())) << name;
    }
    answer = dir.File("Files/graph.png");
    dlg->OnSaveAs();
    EXPECT_EQ(QImage(QString::fromStdString(*answer)).convertToFormat(QImage::Format_RGB32),
              expected);
    EXPECT_EQ(dlg->DrawWnd()->ScreenImage(), expected); // the screen shows what was exported
    answer = dir.File("no/such/folder/graph.png");
    dlg->OnSaveAs();
    EXPECT_EQ(messages, std::vector<std::string>{"Error creating file " + *answer});
}

TEST_F(AppTest, AccumulatedExportDrawsEveryCountryAndKeepsTheLast) {
    answer = dir.File("Files/acc.png");
    Click(dlg->m_btnRun);
    Click(qobject_cast<QCheckBox*>(dlg->GetDlgItem(1078)));
    for (int index : {1, 2, 3}) {
        dlg->m_comboCountry->setCurrentIndex(index);
        dlg->OnCountryChanged();
        Click(dlg->m_btnRun);
    }
    A().m_param[0].m_value = 44; // whatever the attractor holds, the export applies each country
    dlg->OnSaveAs();
    EXPECT_EQ(A().m_param[0].m_value, 15.0); // Zentia's, the last of the list
    QImage png(QString::fromStdString(*answer));
    ASSERT_FALSE(png.isNull());
    // Every country's trajectory is in it: more than the last one alone.
    QImage last(591, 515, QImage::Format_RGB32);
    last.fill(Qt::black);
    dlg->DrawWnd()->RenderPlaneInto(last);
    EXPECT_GT(CountPixels(png, Lit), CountPixels(last, Lit));
}

TEST_F(AppTest, ExportDuringAnAnimationStopsItFirst) {
    answer = dir.File("Files/anim.bmp");
    StartLongAnimation();
    dlg->OnSaveAs();
    EXPECT_FALSE(dlg->DrawWnd()->IsWorkerRunning());
    EXPECT_EQ(Buttons(), "RS-");
    EXPECT_TRUE(std::filesystem::exists(*answer));
}

// Drives the real file dialog the next command opens: waits for it, checks that Save is
// offered for the pre-filled name, then presses Enter or clicks Save. A dialog that does not
// close is cancelled, so a fault fails the test instead of hanging it.
class CFileDialogDriver : public QObject {
public:
    CFileDialogDriver(bool mouse) : m_bMouse(mouse) {
        m_clock.start();
        m_timer.callOnTimeout(this, &CFileDialogDriver::Poll);
        m_timer.start(10);
    }
    std::string m_strFault, m_strName;

private:
    void Poll() {
        QFileDialog* fd = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible())
                fd = d;
        if (m_pPressed) {
            if (!fd)
                return m_timer.stop();
            if (m_clock.elapsed() > 5000) {
                m_strFault += m_bMouse ? "Save clicked, dialog stayed open"
                                       : "Enter pressed, dialog stayed open";
                // Also whatever question it may have asked.
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* d = qobject_cast<QDialog*>(w);
                        d && d->isVisible() && !qobject_cast<CQel2Dlg*>(d))
                        d->reject();
            }
            return;
        }
        if (!fd) {
            if (m_clock.elapsed() > 10000) {
                m_strFault = "no file dialog within 10 s";
                m_timer.stop();
            }
            return;
        }
        auto* save = fd->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save);
        m_strName = fd->findChild<QLineEdit*>("fileNameEdit")->text().toStdString();
        if (!save->isEnabled())
            m_strFault = "Save greyed for '" + m_strName + "'; ";
        m_pPressed = fd;
        m_clock.restart();
        // Pressed from a call of its own: a question the dialog may ask runs a loop of its
        // own, in which this poll must go on.
        QTimer::singleShot(0, fd, [fd, save, mouse = m_bMouse] {
            if (mouse)
                QTest::mouseClick(save, Qt::LeftButton);
            else
                QTest::keyClick(fd->focusWidget() ? fd->focusWidget() : fd, Qt::Key_Return);
        });
    }
    bool m_bMouse;
    QWidget* m_pPressed = nullptr;
    QElapsedTimer m_clock;
    QTimer m_timer;
};

TEST_F(AppTest, SavingIntoAnExistingFileThroughTheRealDialog) {
    QStandardPaths::setTestModeEnabled(true); // the dialog's remembered state stays out of ~
    platform::SetFileDialogResponder({});
    std::filesystem::create_directory(dir.File("Files"));
    dlg->window()->show();
    dlg->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg->window(), 5000)) << "main window never active";
    const struct {
        const char *file, *prefilled;
        bool parameters, mouse;
    } cases[] = {{"Parameters.ini", "Parameters.ini", true, false},
                 {"Parameters.ini", "Parameters.ini", true, true},
                 {"graph.bmp", "graph", false, false},
                 {"graph.bmp", "graph", false, true}};
    for (const auto& k : cases) {
        const std::string path = dir.File(std::string("Files/") + k.file);
        TempDir::Write(path, "old");
        CFileDialogDriver driver(k.mouse);
        k.parameters ? dlg->OnSaveParameters() : dlg->OnSaveAs();
        const std::string what = std::string(k.file) + (k.mouse ? " by mouse" : " by Enter");
        EXPECT_EQ(driver.m_strFault, "") << what;
        EXPECT_EQ(driver.m_strName, k.prefilled) << what;
        EXPECT_NE(TempDir::Read(path), "old") << what;
        // The keyboard comes back to the window, so its menu keys work for the next save.
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return QApplication::activeWindow() == dlg->window(); }, 2000))
            << what << ": the main window did not get the keyboard back";
    }
}
