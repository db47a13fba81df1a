#pragma once
#include "../engine/TestKit.h"
#include "../support/TempDir.h"
#include "app/Qel2App.h"
#include "app/Qel2Dlg.h"
#include "app/RecordHost.h"
#include "app/TimeSeriesWnd.h"
#include "app/TrajectoryFile.h"
#include "app/ValueBoxes.h"
#include "controls/FloatEdit.h"
#include "controls/xStatic.h"
#include "engine/DrawWnd.h"
#include "engine/RunGate.h"
#include "model/Attractor.h"
#include "platform/Dialogs.h"
#include "platform/FileRead.h"
#include "platform/ModulePath.h"
#include "res/ResourceIds.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A file of the source tree. The tests' own settings and countries keep them independent of
// the shipped pictures.
inline std::string SourceFile(const std::string& relative) {
    return TempDir::Read(std::string(QEL_SOURCE_DIR) + "/" + relative);
}
inline const std::string kTestSettings = SourceFile("tests/app/TestSettings.ini");
inline const std::string kTestCountries = SourceFile("tests/app/TestCountries.xml");

// The time series integrate on the runner: waits until its curves are shown.
inline CTimeSeriesWnd* Built(CTimeSeriesWnd* ts) {
    EXPECT_TRUE(WaitFor([&] { return !ts->IsBuilding(); }, 60000))
        << "waited for the time series to integrate";
    return ts;
}

class AppTest : public ::testing::Test {
protected:
    TempDir dir;
    std::vector<std::string> messages;
    std::vector<platform::FileDialogRequest> asked;
    std::optional<std::string> answer; // what every file dialog answers; none cancels
    std::unique_ptr<CQel2Dlg> dlg;
    // A window that never lets go (a worker that ignores its stop) fails with the test's name
    // instead of sitting until CTest's time-out.
    std::optional<CWatchdog> dog;

    void SetUp() override {
        dog.emplace(240, ::testing::UnitTest::GetInstance()->current_test_info()->name());
        CQel2App::SetUpLook();
        Start(kTestSettings.c_str(), kTestCountries.c_str());
    }
    void TearDown() override {
        dlg.reset();
        platform::SetMessageBoxResponder({});
        platform::SetFileDialogResponder({});
        platform::SetModuleDirectoryOverride("");
        RunGate().Set();
        dog.reset();
    }
    // Writes the files given and starts the program afresh.
    void Start(const char* settings, const char* countries) {
        dlg.reset();
        if (settings)
            TempDir::Write(dir.File("Attractors.ini"), settings);
        if (countries)
            TempDir::Write(dir.File("countries.xml"), countries);
        platform::SetModuleDirectoryOverride(dir.Path());
        platform::SetMessageBoxResponder([this](const platform::MessageBoxRequest& r) {
            messages.push_back(r.text);
            return platform::IDOK;
        });
        platform::SetFileDialogResponder([this](const platform::FileDialogRequest& r) {
            asked.push_back(r);
            return answer;
        });
        dlg = std::make_unique<CQel2Dlg>();
        dlg->OnInitDialog();
        Pump(30);
    }
    // The window's controls by their ids, its drawing window and its commands.
    template <class T = QWidget> T* Item(int id) const {
        return qobject_cast<T*>(dlg->GetDlgItem(id));
    }
    CFloatEdit* Box(int id) const { return Item<CFloatEdit>(id); }
    QPushButton* Button(int id) const { return Item<QPushButton>(id); }
    QComboBox* Country() const { return Item<QComboBox>(IDC_COUNTRY); }
    CDrawWnd* Draw() const { return dlg->findChild<CDrawWnd*>(); }
    void Command(int id) { dlg->CommandAction(id)->trigger(); }
    void Select(int kind) { Command(kAttractorCommands[kind]); }
    void Type(int id, const QString& text) {
        Box(id)->selectAll();
        Box(id)->del();
        QTest::keyClicks(Box(id), text);
    }
    void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void ChooseCountry(int index) {
        Country()->setCurrentIndex(index);
        emit Country()->activated(index);
    }
    // The record itself, for the tests that set a value behind the boxes.
    CAttractor& A() const { return const_cast<CAttractor&>(dlg->Host().Record()); }
    // The names of the trajectories the plot shows.
    std::vector<std::string> Shown() const {
        std::vector<std::string> names;
        for (const CNamedRecord& r : dlg->Host().ShownRecords())
            names.push_back(r.name);
        return names;
    }
    // Run, Simulate, Stop as enabled flags.
    std::string Buttons() const {
        return std::string(Button(IDC_RUN)->isEnabled() ? "R" : "-") +
               (Button(IDC_SIMULATE)->isEnabled() ? "S" : "-") +
               (Button(IDC_STOP)->isEnabled() ? "T" : "-");
    }
    // Ticks Accumulate, then runs each country of the list in turn.
    void Accumulate(std::initializer_list<int> countries) {
        Click(Item<QCheckBox>(IDC_ACCUMULATE));
        for (int index : countries) {
            ChooseCountry(index);
            Click(Button(IDC_RUN));
        }
    }
    // Waits for the exports started from window w to end.
    static void Exported(QObject* w) {
        EXPECT_TRUE(WaitFor([&] { return !w->findChild<CTrajectoryExport*>(); }, 60000))
            << "waited for an export to end";
    }
    // Starts a long animation and waits for its worker.
    void StartLongAnimation() {
        Type(IDC_ITERATION, "2000000");
        Click(Button(IDC_RUN));
        Click(Button(IDC_SIMULATE));
        ASSERT_TRUE(WaitFor([&] { return Draw()->WorkersStarted() == 1; }));
    }
};
