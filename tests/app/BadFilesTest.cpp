#include "AppFixture.h"

#include <algorithm>
#include <random>
#include <sys/stat.h>

// The files the program reads at start-up, each spoilt in every way a hand edit, a failed
// copy or a wrong file can spoil it.
namespace {

const char* kSpoils[] = {"missing", "empty", "truncated", "garbage", "huge", "fifo"};

// Cut in the middle of a line past the middle of the file; random bytes; or past the size a
// file may have.
std::string Spoilt(const std::string& spoil, const std::string& good) {
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
        bytes = good + std::string(platform::kMaxReadBytes + 1 - good.size(), '\n');
    }
    return bytes;
}

} // namespace

// Each start-up file spoilt in turn: the window starts, runs and animates to the end, says
// nothing but range and country messages or that a file too large or not a file (a FIFO,
// which would block a reader) cannot be read, and shows the country controls exactly when
// the country file could be read.
TEST_F(AppTest, SpoiltStartUpFilesGiveAWorkingWindow) {
    const std::pair<const char*, std::string> files[] = {
        {"Attractors.ini", SourceFile("data/Attractors.ini")},
        {"countries.xml", SourceFile("data/countries.xml")}};
    for (const auto& [name, good] : files)
        for (const std::string spoil : kSpoils) {
            SCOPED_TRACE(std::string(name) + " " + spoil);
            for (const auto& [other, text] :
                 {std::pair{"Attractors.ini", kTestSettings}, {"countries.xml", kTestCountries}}) {
                std::filesystem::remove(dir.File(other)); // a FIFO left before would block
                if (other != std::string(name))
                    TempDir::Write(dir.File(other), text);
            }
            if (spoil == "fifo")
                ASSERT_EQ(::mkfifo(dir.File(name).c_str(), 0600), 0);
            else if (spoil != "missing")
                TempDir::Write(dir.File(name), Spoilt(spoil, good));
            const bool refused = spoil == "huge" || spoil == "fifo";
            messages.clear();
            Start(nullptr, nullptr);
            EXPECT_EQ(Country()->isVisible(), name[0] != 'c' || (spoil != "missing" && !refused));
            Type(IDC_ITERATION, "40");
            Click(Button(IDC_RUN));
            Click(Button(IDC_SIMULATE));
            EXPECT_TRUE(WaitFor([&] { return Button(IDC_SIMULATE)->isEnabled(); }, 60000));
            EXPECT_TRUE(WaitFor([&] { return !Draw()->IsWorkerRunning(); }, 60000));
            EXPECT_EQ(Buttons(), "RS-");
            const std::string cannot =
                "Cannot read " + dir.File(name) +
                (spoil == "fifo" ? ": not a regular file (a FIFO, device or socket)"
                                 : ": larger than 16 MB");
            EXPECT_EQ(std::count(messages.begin(), messages.end(), cannot), refused ? 1 : 0);
            for (const std::string& m : messages)
                EXPECT_TRUE(m == "Could not find country name" || m == cannot ||
                            m.find(" must vary between ") != std::string::npos)
                    << m;
            const bool bNothingRead =
                name[0] == 'A' && (spoil == "missing" || spoil == "empty" || refused);
            EXPECT_TRUE(!bNothingRead || (A().m_zoom.m_value == 0 && A().m_iteration.m_upper == 0));
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
