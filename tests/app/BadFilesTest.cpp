#include "AppFixture.h"

#include <algorithm>
#include <random>

// The files the program reads at start-up, each spoilt in every way a hand edit, a failed
// copy or a wrong file can spoil it.
namespace {

const char* kSpoils[] = {"missing", "empty", "truncated", "garbage", "huge"};

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

} // namespace

// Each start-up file spoilt in turn: the window starts, runs and animates to the end, says
// nothing but range and country messages, and shows the country controls exactly when the
// country file could be read.
TEST_F(AppTest, SpoiltStartUpFilesGiveAWorkingWindow) {
    const struct {
        const char* name;
        std::string good, hugeLine;
    } files[] = {{"Attractors.ini", SourceFile("data/Attractors.ini"),
                  "Junk=1234567890 abcdefghijklmnopqrstuvwxyz\n"},
                 {"countries.xml", SourceFile("data/countries.xml"),
                  "  <Country Name=\"Filler\" a=\"20\" b=\"2\" c=\"1\" d=\"4\"/>\n"}};
    for (const auto& f : files)
        for (const std::string spoil : kSpoils) {
            SCOPED_TRACE(std::string(f.name) + " " + spoil);
            TempDir::Write(dir.File("Attractors.ini"), kTestSettings);
            TempDir::Write(dir.File("countries.xml"), kTestCountries);
            std::filesystem::remove(dir.File(f.name));
            if (spoil != "missing")
                TempDir::Write(dir.File(f.name), Spoilt(spoil, f.good, f.hugeLine));
            messages.clear();
            Start(nullptr, nullptr);
            EXPECT_EQ(Country()->isVisible(), f.name[0] != 'c' || spoil != "missing");
            Type(IDC_ITERATION, "40");
            Click(Button(IDC_RUN));
            Click(Button(IDC_SIMULATE));
            EXPECT_TRUE(WaitFor([&] { return Button(IDC_SIMULATE)->isEnabled(); }, 60000));
            EXPECT_TRUE(WaitFor([&] { return !Draw()->IsWorkerRunning(); }, 60000));
            EXPECT_EQ(Buttons(), "RS-");
            for (const std::string& m : messages)
                EXPECT_TRUE(m == "Could not find country name" ||
                            m.find(" must vary between ") != std::string::npos)
                    << m;
            const bool bNothingRead = f.name[0] == 'A' && (spoil == "missing" || spoil == "empty");
            EXPECT_TRUE(!bNothingRead || (A().m_zoom.m_value == 0 && A().m_iteration.m_upper == 0));
            // With the huge file the sections or countries around the junk still count.
            EXPECT_TRUE(spoil != "huge" ||
                        (A().m_iteration.m_value == 40 && Country()->count() > 3));
        }
}

// Saving parameters where the file cannot be written reports the error and leaves the earlier
// file exactly as it was.
TEST_F(AppTest, UnwritableParameterFileKeepsThePreviousOne) {
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
        TempDir::WithFileSizeLimit(limit, [&] { save(previous); });
        ASSERT_EQ(messages.size(), 1u) << limit;
        EXPECT_EQ(TempDir::Read(previous), before) << limit;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1); // no leftovers
}
