#include "AppFixture.h"

#include "controls/GuideDlg.h"
#include "controls/GuideStatic.h"
#include "countries/CountryPresets.h"

#include <QTimer>
#include <algorithm>
#include <csignal>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

// The three files the program reads at start-up, each spoilt in every way a hand edit, a
// failed copy or a wrong file can spoil it: the program still starts, runs and animates.
namespace {

const char* kSpoils[] = {"missing", "empty", "truncated", "garbage", "huge"};
const char* kGuideSample = "<\\b\\crQEL> guide\nSecond <\\G\\Igrey> line\n";

// Cut in the middle of a line past the middle of the file; random bytes; or tens of megabytes
// of plausible lines inserted at that line.
std::string Spoilt(const std::string& spoil, const std::string& good, const std::string& line) {
    const std::size_t half = good.rfind('\n', good.size() / 2);
    const std::size_t cut = half == std::string::npos ? 0 : half + 1;
    std::string bytes;
    if (spoil == "truncated") {
        const std::size_t end = std::min(good.find('\n', good.size() / 2), good.size());
        bytes = good.substr(0, cut + (end - cut) / 2);
    } else if (spoil == "garbage") {
        std::mt19937 rng(static_cast<unsigned>(good.size()));
        bytes.resize(64 * 1024);
        for (char& c : bytes)
            c = static_cast<char>(rng());
    } else if (spoil == "huge") {
        bytes.reserve(good.size() + (24u << 20) + line.size());
        bytes = good.substr(0, cut);
        while (bytes.size() < (24u << 20))
            bytes += line;
        bytes += good.substr(cut);
    }
    return bytes;
}

class BadFilesTest : public AppTest {
protected:
    // Writes the spoilt file (or removes it), starts the program afresh and checks the
    // start-up state and a short Run and Simulate, which must end by themselves.
    void StartWith(const char* name, const std::string& spoil, const std::string& good,
                   const std::string& hugeLine) {
        SCOPED_TRACE(std::string(name) + " " + spoil);
        messages.clear();
        TempDir::Write(dir.File("Attractors.ini"), kTestSettings);
        TempDir::Write(dir.File("countries.xml"), kTestCountries);
        TempDir::Write(dir.File("QelGuide.txt"), kGuideSample);
        if (spoil == "missing")
            std::filesystem::remove(dir.File(name));
        else
            TempDir::Write(dir.File(name), Spoilt(spoil, good, hugeLine));
        Start(nullptr, nullptr);
        EXPECT_EQ(Buttons(), "RS-");
        EXPECT_EQ(dlg->windowTitle(), "QEL - Economic Simulator, based on Sorvan Attractor");
        // The country controls show exactly when the file could be read.
        EXPECT_EQ(dlg->m_comboCountry->isVisible(), dlg->m_bCountriesLoaded);
        Type(EDIT_ITERATION, "40");
        Click(dlg->m_btnRun);
        EXPECT_EQ(Buttons(), "RS-");
        Click(dlg->m_btnSimulate);
        EXPECT_TRUE(WaitFor([&] { return dlg->m_btnSimulate->isEnabled(); }, 60000));
        EXPECT_EQ(Buttons(), "RS-");
        EXPECT_TRUE(WaitFor([&] { return !dlg->DrawWnd()->IsWorkerRunning(); }, 60000));
        for (const std::string& m : messages)
            EXPECT_TRUE(m == "Could not find country name" ||
                        m.find(" must vary between ") != std::string::npos)
                << m;
    }
};

} // namespace

TEST_F(BadFilesTest, SpoiltSettingsFileGivesDefaultsAndAWorkingWindow) {
    const std::string good = SourceData("Attractors.ini", kTestSettings);
    for (const std::string spoil : kSpoils) {
        StartWith("Attractors.ini", spoil, good, "Junk=1234567890 abcdefghijklmnopqrstuvwxyz\n");
        if (spoil == "missing" || spoil == "empty") {
            // Nothing read: a zoom of 0 and an iteration count of 0 with limits 0 and 0.
            EXPECT_EQ(A().m_zoom.m_value, 0.0) << spoil;
            EXPECT_EQ(A().m_iteration.m_upper, 0) << spoil;
            EXPECT_EQ(A().m_iteration.m_value, 0) << spoil;
            EXPECT_TRUE(A().m_strEqX.empty()) << spoil;
        }
        // With the huge file the sections around the junk still count.
        EXPECT_TRUE(spoil != "huge" || A().m_iteration.m_value == 40);
    }
}

TEST_F(BadFilesTest, SpoiltCountryFileHidesOrEmptiesTheCountryList) {
    const std::string good = SourceData("countries.xml", kTestCountries);
    for (const std::string spoil : kSpoils) {
        StartWith("countries.xml", spoil, good,
                  "  <Country Name=\"Filler\" a=\"20\" b=\"2\" c=\"1\" d=\"4\" G=\"0.2\" "
                  "U=\"0.1\" I=\"0.2\"/>\n");
        if (spoil == "missing")
            continue; // the country tests check the hidden controls
        // Whatever was read is listed in full, and "Qelland" is loaded if it is there.
        EXPECT_TRUE(dlg->m_bCountriesLoaded) << spoil;
        CXmlDocument doc;
        ASSERT_EQ(doc.LoadFrom(dir.File("countries.xml")), 1);
        const std::vector<std::string> names = CountryNames(doc);
        ASSERT_EQ(dlg->m_comboCountry->count(), static_cast<int>(names.size())) << spoil;
        EXPECT_EQ(dlg->m_comboCountry->itemText(dlg->m_comboCountry->count() - 1),
                  QString::fromStdString(names.empty() ? "" : names.back()))
            << spoil;
        CountryValues qelland;
        const bool found = CountryTexts(doc, "Qelland", qelland);
        EXPECT_EQ(Box(EDIT_A)->text().toStdString(), found ? qelland.text[0] : "12       ");
        EXPECT_EQ(std::count(messages.begin(), messages.end(), "Could not find country name"),
                  found ? 0 : 1)
            << spoil;
        EXPECT_TRUE(spoil != "huge" || names.size() > 100000u) << names.size();
    }
}

TEST_F(BadFilesTest, SpoiltGuideLeavesTheGuideEmptyOrCut) {
    const std::string good = SourceData("QelGuide.txt", kGuideSample);
    for (const std::string spoil : kSpoils) {
        StartWith("QelGuide.txt", spoil, good,
                  "Plain guide text with <\\bbold> words and some more words to wrap.\n");
        int segments = -1; // the number of text segments of the guide opened from the menu
        QTimer::singleShot(0, [&] {
            if (auto* guide = qobject_cast<CGuideDlg*>(QApplication::activeModalWidget())) {
                segments = static_cast<int>(guide->TextControl().Segments().size());
                guide->accept();
            }
        });
        dlg->CommandAction(ID_HELP_GUIDE)->trigger();
        EXPECT_GE(segments, 0) << spoil << ": the guide did not open";
        EXPECT_EQ(segments > 0, spoil != "missing" && spoil != "empty") << spoil;
    }
}

// Saving parameters where the file cannot be written reports the error and leaves the earlier
// file exactly as it was.
TEST_F(BadFilesTest, UnwritableParameterFileKeepsThePreviousOne) {
    const std::string folder = dir.File("Saved"), previous = folder + "/Parameters.ini";
    std::filesystem::create_directory(folder);
    const std::string before = "[Lorenz]\nZoom=1.000\n; kept as it is\n";
    TempDir::Write(previous, before);
    auto save = [&](const std::string& path) {
        answer = path;
        messages.clear();
        dlg->CommandAction(ID_FILE_SAVE_PARAMETERS)->trigger();
    };
    // A path that cannot be created: a plain file stands where its folder should be.
    TempDir::Write(dir.File("plain"), "x");
    save(dir.File("plain/Parameters.ini"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error creating file " + dir.File("plain/Parameters.ini"));
    // A full disk, at once and part of the way through the six sections.
    for (rlim_t limit : {rlim_t{8}, rlim_t{1500}}) {
        struct rlimit old {};
        ::getrlimit(RLIMIT_FSIZE, &old);
        auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit tiny = old;
        tiny.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &tiny);
        save(previous);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        ASSERT_EQ(messages.size(), 1u) << limit;
        EXPECT_EQ(TempDir::Read(previous), before) << limit;
    }
    // A folder without write permission (not enforced for the superuser).
    if (::geteuid() != 0) {
        namespace fs = std::filesystem;
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        save(previous);
        fs::permissions(folder, fs::perms::owner_all);
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(TempDir::Read(previous), before);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1); // no leftovers
    // The same save into a writable place works.
    save(folder + "/Fresh.ini");
    EXPECT_TRUE(messages.empty());
    EXPECT_NE(TempDir::Read(folder + "/Fresh.ini").find("[Sorvan]"), std::string::npos);
}
