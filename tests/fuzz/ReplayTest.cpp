#include "FuzzTargets.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

// Runs every file of corpus/<name> through the target; returns how many there were.
template <typename F> int ReplayCorpus(const char* name, F target) {
    const std::filesystem::path dir = std::filesystem::path(QEL_FUZZ_CORPUS) / name;
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        EXPECT_EQ(target(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "")
            << entry.path();
        ++count;
    }
    return count;
}

} // namespace

TEST(FuzzReplay, IniReaderAndWriterKeepEveryInvariant) {
    EXPECT_GT(ReplayCorpus("ini", fuzz::Ini), 0);
}

TEST(FuzzReplay, SettingsOfEveryKindLoadAndSurviveASave) {
    EXPECT_GT(ReplayCorpus("settings", fuzz::Settings), 0);
}

TEST(FuzzReplay, XmlReaderAndCountryLookup) {
    EXPECT_GT(ReplayCorpus("xml", fuzz::Xml), 0);
}

TEST(FuzzReplay, GuideParserAndLayout) {
    EXPECT_GT(ReplayCorpus("guide", fuzz::Guide), 0);
}

// Inputs at the edges that no seed file holds.
TEST(FuzzReplay, EmptyAndTinyInputs) {
    const uint8_t bytes[] = {'<', '\\', 'c', '\n', '|', '=', '[', 0xFF, 0};
    for (std::size_t n = 0; n <= sizeof bytes; ++n) {
        EXPECT_EQ(fuzz::Ini(bytes, n), "") << n;
        EXPECT_EQ(fuzz::Settings(bytes, n), "") << n;
        EXPECT_EQ(fuzz::Xml(bytes, n), "") << n;
        EXPECT_EQ(fuzz::Guide(bytes, n), "") << n;
    }
}
