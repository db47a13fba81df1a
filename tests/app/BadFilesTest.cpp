#include "AppFixture.h"

#include "controls/GuideDlg.h"
#include "controls/GuideStatic.h"
#include "countries/CountryPresets.h"
#include "res/ResourceIds.h"

#include <QAction>
#include <algorithm>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

// The three files the program reads at start-up, each spoilt in every way a hand edit, a
// failed copy or a wrong file can spoil it: the program still starts, runs and animates.
namespace {

enum class Spoil { Missing, Empty, Truncated, Garbage, Huge };
const Spoil kSpoils[] = {Spoil::Missing, Spoil::Empty, Spoil::Truncated, Spoil::Garbage,
                         Spoil::Huge};
const char* SpoilName(Spoil s) {
    switch (s) {
    case Spoil::Missing:
        return "missing";
    case Spoil::Empty:
        return "empty";
    case Spoil::Truncated:
        return "truncated";
    case Spoil::Garbage:
        return "garbage";
    default:
        return "huge";
    }
}

std::string SourceData(const char* name, const char* fallback) {
    const auto path = std::filesystem::path(__FILE__).parent_path() / "../../data" / name;
    std::error_code ec;
    return std::filesystem::exists(path, ec) ? TempDir::Read(path.string()) : fallback;
}

const char* kGuideSample = "<\\b\\crQEL> guide\nSecond <\\G\\Igrey> line\n";

// Cut in the middle of a line past the middle of the file.
std::string Truncated(const std::string& good) {
    const std::size_t start = good.rfind('\n', good.size() / 2);
    std::size_t end = good.find('\n', good.size() / 2);
    if (end == std::string::npos)
        end = good.size();
    const std::size_t from = start == std::string::npos ? 0 : start + 1;
    return good.substr(0, from + (end - from) / 2);
}

std::string Garbage(unsigned seed) {
    std::mt19937 rng(seed);
    std::string bytes(64 * 1024, '\0');
    for (char& c : bytes)
        c = static_cast<char>(rng());
    return bytes;
}

// Tens of megabytes: the good text with one enormous stretch of plausible lines in between.
std::string Huge(const std::string& good, const std::string& line) {
    std::string huge;
    const std::size_t half = good.rfind('\n', good.size() / 2);
    const std::size_t cut = half == std::string::npos ? 0 : half + 1;
    huge.reserve(good.size() + (24u << 20) + line.size());
    huge += good.substr(0, cut);
    while (huge.size() < (24u << 20))
        huge += line;
    huge += good.substr(cut);
    return huge;
}

class BadFilesTest : public AppTest {
protected:
    // Writes the spoilt file (or removes it) and starts the program afresh.
    void StartWith(const char* name, Spoil spoil, const std::string& good,
                   const std::string& hugeLine) {
        dlg.reset();
        messages.clear();
        TempDir::Write(dir.File("Attractors.ini"), kTestSettings);
        TempDir::Write(dir.File("countries.xml"), kTestCountries);
        TempDir::Write(dir.File("QelGuide.txt"), kGuideSample);
        const std::string path = dir.File(name);
        switch (spoil) {
        case Spoil::Missing:
            std::filesystem::remove(path);
            break;
        case Spoil::Empty:
            TempDir::Write(path, "");
            break;
        case Spoil::Truncated:
            TempDir::Write(path, Truncated(good));
            break;
        case Spoil::Garbage:
            TempDir::Write(path, Garbage(static_cast<unsigned>(good.size())));
            break;
        case Spoil::Huge:
            TempDir::Write(path, Huge(good, hugeLine));
            break;
        }
        Start(nullptr, nullptr);
    }

    // The start-up state and a short Run and Simulate, which must end by themselves.
    void ExpectUsable(const std::string& what) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(dlg);
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
            EXPECT_TRUE(m == "Could not find country name" || m.find(" must vary between ") != std::string::npos) << m;
    }

    // Opens the guide from the menu and returns the number of its text segments.
    int GuideSegments() {
        int segments = -1;
        QTimer::singleShot(0, [&] {
            if (auto* guide = qobject_cast<CGuideDlg*>(QApplication::activeModalWidget())) {
                segments = static_cast<int>(guide->TextControl().Segments().size());
                guide->accept();
            }
        });
        dlg->CommandAction(ID_HELP_GUIDE)->trigger();
        return segments;
    }
};

} // namespace

TEST_F(BadFilesTest, SpoiltSettingsFileGivesDefaultsAndAWorkingWindow) {
    const std::string good = SourceData("Attractors.ini", kTestSettings);
    for (Spoil spoil : kSpoils) {
        StartWith("Attractors.ini", spoil, good, "Junk=1234567890 abcdefghijklmnopqrstuvwxyz\n");
        ExpectUsable(std::string("Attractors.ini ") + SpoilName(spoil));
        if (spoil == Spoil::Missing || spoil == Spoil::Empty) {
            // Nothing read: a zoom of 0 and an iteration count of 0 with limits 0 and 0.
            EXPECT_EQ(A().m_zoom.m_value, 0.0);
            EXPECT_EQ(A().m_iteration.m_upper, 0);
            EXPECT_EQ(A().m_iteration.m_value, 0);
            EXPECT_TRUE(A().m_strEqX.empty());
        }
        if (spoil == Spoil::Huge) {
            EXPECT_EQ(A().m_iteration.m_value, 40); // the sections around the junk still count
        }
    }
}

TEST_F(BadFilesTest, SpoiltCountryFileHidesOrEmptiesTheCountryList) {
    const std::string good = SourceData("countries.xml", kTestCountries);
    std::string country =
        "  <Country Name=\"Filler\" a=\"20\" b=\"2\" c=\"1\" d=\"4\" G=\"0.2\" U=\"0.1\" "
        "I=\"0.2\"/>\n";
    for (Spoil spoil : kSpoils) {
        StartWith("countries.xml", spoil, good, country);
        ExpectUsable(std::string("countries.xml ") + SpoilName(spoil));
        const std::string what = std::string("countries.xml ") + SpoilName(spoil);
        if (spoil == Spoil::Missing) {
            EXPECT_FALSE(dlg->m_bCountriesLoaded);
            EXPECT_FALSE(dlg->m_comboCountry->isVisible());
            EXPECT_TRUE(messages.empty());
            continue;
        }
        // Whatever was read is listed in full, and "Qelland" is loaded if it is there.
        EXPECT_TRUE(dlg->m_bCountriesLoaded) << what;
        CXmlDocument doc;
        ASSERT_EQ(doc.LoadFrom(dir.File("countries.xml")), 1);
        const std::vector<std::string> names = CountryNames(doc);
        ASSERT_EQ(dlg->m_comboCountry->count(), static_cast<int>(names.size())) << what;
        if (!names.empty()) {
            EXPECT_EQ(dlg->m_comboCountry->itemText(static_cast<int>(names.size()) - 1),
                      QString::fromStdString(names.back()))
                << what;
        }
        CountryValues qelland;
        if (CountryTexts(doc, "Qelland", qelland)) {
            EXPECT_EQ(Box(EDIT_A)->text(), QString::fromStdString(qelland.text[0])) << what;
        } else {
            EXPECT_NE(std::find(messages.begin(), messages.end(), "Could not find country name"),
                      messages.end())
                << what;
        }
        if (spoil == Spoil::Huge) {
            EXPECT_GT(names.size(), 100000u) << what;
        }
    }
}

TEST_F(BadFilesTest, SpoiltGuideLeavesTheGuideEmptyOrCut) {
    const std::string good = SourceData("QelGuide.txt", kGuideSample);
    for (Spoil spoil : kSpoils) {
        StartWith("QelGuide.txt", spoil, good,
                  "Plain guide text with <\\bbold> words and some more words to wrap.\n");
        const std::string what = std::string("QelGuide.txt ") + SpoilName(spoil);
        ExpectUsable(what);
        const int segments = GuideSegments();
        EXPECT_GE(segments, 0) << what << ": the guide did not open";
        if (spoil == Spoil::Missing || spoil == Spoil::Empty)
            EXPECT_EQ(segments, 0) << what;
        else
            EXPECT_GT(segments, 0) << what;
    }
}

// Saving parameters where the file cannot be written reports the error and leaves the earlier
// file exactly as it was.
TEST_F(BadFilesTest, UnwritableParameterFileKeepsThePreviousOne) {
    const std::string folder = dir.File("Saved");
    std::filesystem::create_directory(folder);
    const std::string previous = folder + "/Parameters.ini";
    TempDir::Write(previous, "[Lorenz]\nZoom=1.000\n; kept as it is\n");
    const std::string before = TempDir::Read(previous);
    std::string target;
    platform::SetFileDialogResponder(
        [&](const platform::FileDialogRequest&) -> std::optional<std::string> { return target; });
    auto save = [&](const std::string& path) {
        target = path;
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
        std::filesystem::permissions(folder, std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
        save(previous);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(TempDir::Read(previous), before);
    }
    int leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        leftovers += entry.path().filename() != "Parameters.ini";
    EXPECT_EQ(leftovers, 0);

    // The same save into a writable place works.
    save(folder + "/Fresh.ini");
    EXPECT_TRUE(messages.empty());
    EXPECT_NE(TempDir::Read(folder + "/Fresh.ini").find("[Sorvan]"), std::string::npos);
}
