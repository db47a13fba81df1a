#include "platform/CRuntime.h"
#include "platform/ModulePath.h"

#include <gtest/gtest.h>

TEST(CRuntime, NumbersReadLikeTheCLibraryWithoutOverflow) {
    EXPECT_EQ(platform::Atoi("  42abc"), 42);
    EXPECT_EQ(platform::Atoi("-7,3"), -7);
    EXPECT_EQ(platform::Atoi("x1"), 0);
    EXPECT_EQ(platform::Atoi("99999999999999999999"), INT32_MAX);
    EXPECT_EQ(platform::Atoi("-99999999999"), INT32_MIN);
    EXPECT_DOUBLE_EQ(platform::Atof(" 1.5letters"), 1.5);
    EXPECT_DOUBLE_EQ(platform::Atof("(8.0"), 0.0);
    EXPECT_DOUBLE_EQ(platform::Atof(""), 0.0);

    bool ok = false;
    EXPECT_EQ(platform::AtoUnsigned("20000", &ok), 20000u);
    EXPECT_TRUE(ok);
    EXPECT_EQ(platform::AtoUnsigned("12a", &ok), 0u);
    EXPECT_FALSE(ok);
    EXPECT_EQ(platform::AtoUnsigned("-5", &ok), 0u);
    EXPECT_EQ(platform::AtoUnsigned("4294967295", &ok), 4294967295u);
    EXPECT_EQ(platform::AtoUnsigned("4294967296", &ok), 0u);
    EXPECT_FALSE(ok);
}

TEST(ModulePath, DirectoryEndsWithSlashAndWindowsPathsMap) {
    std::string dir = platform::GetModuleDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    platform::SetModuleDirectoryOverride("/tmp/x");
    EXPECT_EQ(platform::GetModuleDirectory(), "/tmp/x/");
    platform::SetModuleDirectoryOverride("");
    EXPECT_EQ(platform::GetModuleDirectory(), dir);
    EXPECT_EQ(platform::MapWindowsPath("c:\\temp\\debug.txt"), "/temp/debug.txt");
    EXPECT_EQ(platform::MapWindowsPath("res\\Blinking.bmp"), "res/Blinking.bmp");
}
