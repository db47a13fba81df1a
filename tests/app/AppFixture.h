#pragma once
#include "../engine/TestKit.h"
#include "../support/TempDir.h"
#include "app/Qel2App.h"
#include "app/Qel2Dlg.h"
#include "app/TrajectoryFile.h"
#include "app/ValueBoxes.h"
#include "controls/FloatEdit.h"
#include "controls/xStatic.h"
#include "engine/DrawWnd.h"
#include "engine/RunGate.h"
#include "model/Attractor.h"
#include "platform/Dialogs.h"
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
    CFloatEdit* Box(int index) const { return dlg->m_edit[index]; }
    void Type(int index, const QString& text) {
        Box(index)->selectAll();
        Box(index)->del();
        QTest::keyClicks(Box(index), text);
    }
    void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    CAttractor& A() const { return *dlg->Attractor(); }
    // Run, Simulate, Stop as enabled flags.
    std::string Buttons() const {
        return std::string(dlg->m_btnRun->isEnabled() ? "R" : "-") +
               (dlg->m_btnSimulate->isEnabled() ? "S" : "-") +
               (dlg->m_btnStop->isEnabled() ? "T" : "-");
    }
    // Ticks Accumulate, then runs each country of the list in turn.
    void Accumulate(std::initializer_list<int> countries) {
        Click(qobject_cast<QCheckBox*>(dlg->GetDlgItem(IDC_ACCUMULATE)));
        for (int index : countries) {
            dlg->m_comboCountry->setCurrentIndex(index);
            dlg->OnCountryChanged();
            Click(dlg->m_btnRun);
        }
    }
    // Waits for the exports started from window w to end.
    static void Exported(QObject* w) {
        EXPECT_TRUE(WaitFor([&] { return !w->findChild<CTrajectoryExport*>(); }, 60000))
            << "waited for an export to end";
    }
    // Starts a long animation and waits for its worker.
    void StartLongAnimation() {
        Type(EDIT_ITERATION, "2000000");
        Click(dlg->m_btnRun);
        Click(dlg->m_btnSimulate);
        ASSERT_TRUE(WaitFor([&] { return dlg->DrawWnd()->WorkersStarted() == 1; }));
    }
};
