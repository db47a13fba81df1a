#include "platform/CRuntime.h"
#include "platform/ModulePath.h"

#include <gtest/gtest.h>

TEST(CRuntime, NumbersReadLikeTheCLibraryWithoutOverflow) {
    const std::pair<const char*, int> ints[] = {{"  42abc", 42},
                                                {"-7,3", -7},
                                                {"x1", 0},
                                                {"99999999999999999999", INT32_MAX},
                                                {"-99999999999", INT32_MIN}};
    for (const auto& [text, value] : ints)
        EXPECT_EQ(platform::Atoi(text), value) << text;
    EXPECT_DOUBLE_EQ(platform::Atof(" 1.5letters"), 1.5);
    EXPECT_DOUBLE_EQ(platform::Atof("(8.0"), 0.0);
    EXPECT_DOUBLE_EQ(platform::Atof(""), 0.0);
    // Unsigned: all digits and in range, or 0 and not ok.
    const std::pair<const char*, unsigned> unsigneds[] = {
        {"20000", 20000u}, {"4294967295", 4294967295u}, {"12a", 0}, {"-5", 0}, {"4294967296", 0}};
    for (const auto& [text, value] : unsigneds) {
        bool ok = !value;
        EXPECT_EQ(platform::AtoUnsigned(text, &ok), value) << text;
        EXPECT_EQ(ok, value != 0) << text;
    }
}

TEST(ModulePath, DirectoryEndsWithSlashAndWindowsPathsMap) {
    const std::string dir = platform::GetModuleDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    platform::SetModuleDirectoryOverride("/tmp/x");
    EXPECT_EQ(platform::GetModuleDirectory(), "/tmp/x/");
    platform::SetModuleDirectoryOverride("");
    EXPECT_EQ(platform::GetModuleDirectory(), dir);
    EXPECT_EQ(platform::MapWindowsPath("c:\\temp\\debug.txt"), "/temp/debug.txt");
    EXPECT_EQ(platform::MapWindowsPath("res\\Blinking.bmp"), "res/Blinking.bmp");
}
