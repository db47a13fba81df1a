#include "AppFixture.h"

#include "engine/BmpWriter.h"

#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

TEST_F(AppTest, SaveParametersWritesSixSectionsWithTheAcceptedValues) {
    // Cancelling writes nothing, but the folder exists.
    Command(ID_FILE_SAVE_PARAMETERS);
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("Files")));

    Type(IDC_ZOOM, "55");
    Click(Button(IDC_RUN));
    Type(IDC_ZOOM, "66"); // typed, not run: not saved
    answer = dir.File("Files/saved");
    Command(ID_FILE_SAVE_PARAMETERS);
    const std::string text = TempDir::Read(*answer);
    EXPECT_EQ(std::count(text.begin(), text.end(), '['), 6); // one section for each kind
    const std::size_t sorvan = text.find("[Sorvan]");
    EXPECT_EQ(text.substr(sorvan, 28), "[Sorvan]\nZoom=55.000\nStartCo");
    EXPECT_NE(text.find("A=(12.5000,10.0000,50.0000)", sorvan), std::string::npos);
    EXPECT_NE(text.find("G=(0.3000,0.0000,0.9900)", sorvan), std::string::npos);
}

// Installed, the program's files are in share/qel and its folder is the system's: the user's
// files go to the user's data folder instead of beside the program.
TEST_F(AppTest, AnInstalledProgramKeepsTheUsersFilesInTheUsersDataFolder) {
    const std::string bin = dir.File("bin"), share = dir.File("share/qel");
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(share);
    std::filesystem::copy_file(dir.File("Attractors.ini"), share + "/Attractors.ini");
    platform::SetModuleDirectoryOverride(bin);
    setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
    Command(ID_FILE_SAVE_PARAMETERS);
    unsetenv("XDG_DATA_HOME");
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().initialDir, dir.File("data/qel/Files"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("data/qel/Files")));
    EXPECT_FALSE(std::filesystem::exists(bin + "/Files"));
}

TEST_F(AppTest, ExportWritesTheRenderedPlaneAsBmpOrPng) {
    QImage expected(591, 515, QImage::Format_RGB32);
    expected.fill(Qt::black);
    Draw()->RenderPlaneInto(expected);
    const std::vector<uint8_t> bytes = EncodeBmp(expected);
    for (const char* name : {"graph.bmp", "graph.BMP"}) {
        answer = dir.File(std::string("Files/") + name);
        Command(ID_FILE_SAVE_AS);
        const std::string got = TempDir::Read(*answer);
        ASSERT_EQ(got.size(), 54u + 1776u * 515u) << name;
        EXPECT_EQ(got, std::string(bytes.begin(), bytes.end())) << name;
    }
    answer = dir.File("Files/graph.png");
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(QImage(QString::fromStdString(*answer)).convertToFormat(QImage::Format_RGB32),
              expected);
    EXPECT_EQ(Draw()->ScreenImage(), expected); // the screen shows what was exported
    answer = dir.File("no/such/folder/graph.png");
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(messages, std::vector<std::string>{"Error creating file " + *answer});
}

TEST_F(AppTest, AccumulatedExportDrawsEveryCountryAndKeepsTheLast) {
    answer = dir.File("Files/acc.png");
    Click(Button(IDC_RUN));
    Accumulate({1, 2, 3});
    A().m_param[0].m_value = 44; // whatever the attractor holds, the export applies each country
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(A().m_param[0].m_value, 15.0); // Zentia's, the last of the list
    QImage png(QString::fromStdString(*answer));
    ASSERT_FALSE(png.isNull());
    // Every country's trajectory is in it: more than the last one alone.
    QImage last(591, 515, QImage::Format_RGB32);
    last.fill(Qt::black);
    Draw()->RenderPlaneInto(last);
    EXPECT_GT(CountPixels(png, Lit), CountPixels(last, Lit));
}

TEST_F(AppTest, ExportDuringAnAnimationStopsItFirst) {
    answer = dir.File("Files/anim.bmp");
    StartLongAnimation();
    Command(ID_FILE_SAVE_AS);
    EXPECT_FALSE(Draw()->IsWorkerRunning());
    EXPECT_EQ(Buttons(), "RS-");
    EXPECT_TRUE(std::filesystem::exists(*answer));
}

// Drives the real file dialog the next command opens: waits for it, types a name into it when
// given one (as a person does: click into "File name", select all, clear, then key by key),
// checks that Save is offered for the name, then presses Enter or clicks Save. A dialog that
// does not close is cancelled, so a fault fails the test instead of hanging it.
class CFileDialogDriver : public QObject {
public:
    CFileDialogDriver(bool mouse, QString typed) : m_bMouse(mouse), m_strTyped(std::move(typed)) {
        m_clock.start();
        m_timer.callOnTimeout(this, &CFileDialogDriver::Poll);
        m_timer.start(10);
    }
    std::string m_strFault, m_strName;
    std::function<void(QFileDialog*)> m_look; // what the test looks at before the name

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
                m_strFault += m_bMouse ? "button clicked, dialog stayed open"
                                       : "Enter pressed, dialog stayed open";
                // Also whatever question it may have asked.
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* d = qobject_cast<QDialog*>(w);
                        d && d->isVisible() && !qobject_cast<CQel2Dlg*>(d))
                        d->reject();
            }
            return;
        }
        // A person types once the dialog has the keyboard.
        if (!fd || (!m_strTyped.isEmpty() && QApplication::activeWindow() != fd)) {
            if (m_clock.elapsed() > 10000) {
                m_strFault = "no file dialog with the keyboard within 10 s";
                m_timer.stop();
                if (fd)
                    fd->reject();
            }
            return;
        }
        if (m_look)
            m_look(fd);
        auto* buttons = fd->findChild<QDialogButtonBox*>();
        QPushButton* save =
            buttons->button(fd->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                        : QDialogButtonBox::Open);
        auto* name = fd->findChild<QLineEdit*>("fileNameEdit");
        if (!m_strTyped.isEmpty()) {
            QTest::mouseClick(name, Qt::LeftButton);
            QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(name, Qt::Key_Backspace);
            QTest::keyClicks(name, m_strTyped); // key by key
        }
        m_strName = name->text().toStdString();
        if (!save->isEnabled())
            m_strFault =
                save->text().remove('&').toStdString() + " greyed for '" + m_strName + "'; ";
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
    QString m_strTyped;
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
    // A typed name is cleared first: the empty name has the dialog select its own folder. The
    // file is the only one listed, in the same row as the folder in its parent, where that
    // selection used to stay behind, grey Save and turn Enter into opening the folder.
    const struct {
        const char *file, *name;
        bool parameters, mouse, typed;
    } cases[] = {{"Parameters.ini", "Parameters.ini", true, false, false},
                 {"Parameters.ini", "Parameters.ini", true, true, false},
                 {"graph.bmp", "graph", false, false, false},
                 {"graph.bmp", "graph", false, true, false},
                 {"Parameters.ini", "Parameters.ini", true, false, true},
                 {"graph.bmp", "graph.bmp", false, true, true}};
    for (const auto& k : cases) {
        const std::string path = dir.File(std::string("Files/") + k.file);
        TempDir::Write(path, "old");
        CFileDialogDriver driver(k.mouse, k.typed ? k.name : "");
        k.parameters ? Command(ID_FILE_SAVE_PARAMETERS) : Command(ID_FILE_SAVE_AS);
        const std::string what = std::string(k.file) + (k.typed ? " typed," : "") +
                                 (k.mouse ? " by mouse" : " by Enter");
        EXPECT_EQ(driver.m_strFault, "") << what;
        EXPECT_EQ(driver.m_strName, k.name) << what;
        EXPECT_NE(TempDir::Read(path), "old") << what;
        // The keyboard comes back to the window, so its menu keys work for the next save.
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return QApplication::activeWindow() == dlg->window(); }, 2000))
            << what << ": the main window did not get the keyboard back";
    }
    // Load Parameters types its name the same way.
    CFileDialogDriver load(false, "Parameters.ini");
    Command(ID_FILE_LOAD_PARAMETERS);
    EXPECT_EQ(load.m_strFault, "") << "Load Parameters typed";
    EXPECT_EQ(messages, std::vector<std::string>{});
    // Save As lists its filters as written; its PNG filter lists .png and .Png files alike.
    for (const char* name : {"a.png", "b.Png"})
        TempDir::Write(dir.File(std::string("Files/") + name), "x");
    QStringList seen;
    CFileDialogDriver look(false, "");
    look.m_look = [&](QFileDialog* fd) {
        auto* types = fd->findChild<QComboBox*>("fileTypeCombo");
        for (int i = 0; i < types->count(); ++i)
            seen << types->itemText(i);
        QTest::keyClick(types, Qt::Key_Down); // the PNG filter, picked from the keyboard
        auto* view = fd->findChild<QTreeView*>("treeView");
        auto rows = [view] { return view->model()->rowCount(view->rootIndex()); };
        static_cast<void>(QTest::qWaitFor([&] { return rows() == 2; }, 5000));
        // The file model fills in on its own thread: the order it shows them in may lag.
        QStringList files;
        for (int r = 0; r < rows(); ++r)
            files << view->model()->index(r, 0, view->rootIndex()).data().toString();
        files.sort();
        seen << files;
    };
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(look.m_strFault, "");
    EXPECT_EQ(seen.join(" | ").toStdString(),
              "Bmp Files (*.bmp) | PngFiles (*.png) | a.png | b.Png");
}
