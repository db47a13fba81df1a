#pragma once
#include "../engine/TestKit.h"
#include "../support/TempDir.h"
#include "app/Qel2App.h"
#include "app/Qel2Dlg.h"
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

// Settings of the tests' own, so the tests do not depend on the shipped pictures.
inline const char* kTestSettings =
    "[Lorenz]\nZoom=6.000\nStartColorChangeIter=100\nXYPlaneCenter=0,0\nXZPlaneCenter=0,25\n"
    "YZPlaneCenter=0,25\nXYZPlaneCenter=0,25\nVariation=(0.0050,0.0001,0.1000)\n"
    "Iteration=(2000,1,10000000)\nA=(28.0000,10.0000,50.0000)\nB=(2.6667,0.5000,10.0000)\n"
    "C=(10.0000,1.0000,20.0000)\nInitialConditionX=(1.0000,-30.0000,30.0000)\n"
    "InitialConditionY=(1.0000,-30.0000,30.0000)\nInitialConditionZ=(1.0000,0.0000,60.0000)\n"
    "EqX=x' = c(y - x)\nEqY=y' = ax - xz - y\nEqZ=z' = xy - bz\n"
    "[Sorvan]\nZoom=40.000\nStartColorChangeIter=100\nXYPlaneCenter=0,0\nXZPlaneCenter=0,0\n"
    "YZPlaneCenter=0,0\nXYZPlaneCenter=0,0\nVariation=(0.0100,0.0001,0.1000)\n"
    "Iteration=(2000,1,10000000)\nA=(12.0000,10.0000,50.0000)\nB=(1.5000,0.5000,10.0000)\n"
    "C=(0.8000,0.0000,20.0000)\nD=(3.0000,0.0000,20.0000)\nE=(0.1000,-2.0000,2.0000)\n"
    "F=(0.2000,0.0000,0.9900)\nG=(0.3000,0.0000,0.9900)\n"
    "InitialConditionX=(0.1000,-5.0000,5.0000)\nInitialConditionY=(0.1000,-5.0000,5.0000)\n"
    "InitialConditionZ=(0.1000,-5.0000,5.0000)\nEqX=x' = b y sin(z) + (x - a y) cos(z)\n"
    "EqY=y' = d y cos(z) + (c y + x) sin(z0)\nEqZ=z' = atan((1 - f) x y / (1 - g)) + e z\n";

inline const char* kTestCountries =
    "<?xml version=\"1.0\"?>\n<!-- test presets -->\n<Countries>\n"
    "  <Country Name=\"Ostravia\" a=\"20\" b=\"2\" c=\"1\" d=\"4\" G=\"0.2\" U=\"0.1\" "
    "I=\"0.2\"/>\n"
    "  <Country Name=\"Qelland\" a=\"12.5\" b=\"1.5\" c=\"0.8\" d=\"3\" G=\"0.1\" U=\"0.2\" "
    "I=\"0.3\"/>\n"
    "  <Country Name=\"Belmark\" a=\"30\" b=\"5\" c=\"2\" d=\"6\" G=\"-0.5\" U=\"0.5\" "
    "I=\"0.1\"/>\n"
    "  <Country Name=\"Zentia\" a=\"15\" b=\"1\" c=\"3\" d=\"2\" G=\"0.3\" U=\"0.3\" I=\"0.5\"/>\n"
    "</Countries>\n";

// The file as the source tree ships it, or the tests' own text.
inline std::string SourceData(const char* name, const char* fallback) {
    const auto path = std::filesystem::path(QEL_SOURCE_DIR) / "data" / name;
    std::error_code ec;
    return std::filesystem::exists(path, ec) ? TempDir::Read(path.string()) : fallback;
}

class AppTest : public ::testing::Test {
protected:
    TempDir dir;
    std::vector<std::string> messages;
    std::vector<platform::FileDialogRequest> asked;
    std::optional<std::string> answer; // what every file dialog answers; none cancels
    std::unique_ptr<CQel2Dlg> dlg;

    void SetUp() override {
        CQel2App::SetUpLook();
        Start(kTestSettings, kTestCountries);
    }
    void TearDown() override {
        dlg.reset();
        platform::SetMessageBoxResponder({});
        platform::SetFileDialogResponder({});
        platform::SetModuleDirectoryOverride("");
        RunGate().Set();
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
    // Starts a long animation and waits for its worker.
    void StartLongAnimation() {
        Type(EDIT_ITERATION, "2000000");
        Click(dlg->m_btnRun);
        Click(dlg->m_btnSimulate);
        ASSERT_TRUE(WaitFor([&] { return dlg->DrawWnd()->WorkersStarted() == 1; }));
    }
};
