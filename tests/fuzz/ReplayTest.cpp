#include "FuzzTargets.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

using Target = std::string (*)(const uint8_t*, std::size_t);

// Each target with the folder of corpus/ that holds its kept inputs.
const std::pair<const char*, Target> kTargets[] = {
    {"ini", fuzz::Ini}, {"settings", fuzz::Settings}, {"xml", fuzz::Xml}, {"guide", fuzz::Guide}};

TEST(FuzzReplay, EveryKeptInputKeepsEveryInvariant) {
    for (const auto& [name, target] : kTargets) {
        int count = 0;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(QEL_FUZZ_CORPUS) / name)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
            EXPECT_EQ(target(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "")
                << entry.path();
            ++count;
        }
        EXPECT_GT(count, 0) << name;
    }
}

// Inputs at the edges that no seed file holds.
TEST(FuzzReplay, EmptyAndTinyInputs) {
    const uint8_t bytes[] = {'<', '\\', 'c', '\n', '|', '=', '[', 0xFF, 0};
    for (std::size_t n = 0; n <= sizeof bytes; ++n)
        for (const auto& [name, target] : kTargets)
            EXPECT_EQ(target(bytes, n), "") << name << " " << n;
}

} // namespace
