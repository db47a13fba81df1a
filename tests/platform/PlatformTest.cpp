#include "../support/TempDir.h"
#include "platform/CRuntime.h"
#include "platform/ModulePath.h"
#include "platform/ProfileFile.h"

#include <filesystem>
#include <gtest/gtest.h>

using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;

TEST(ProfileRead, DefaultsCaseBlanksBufferCutsAndBinary) {
    TempDir dir;
    const std::string f = dir.File("a.ini");
    EXPECT_EQ(GetPrivateProfileString("S", "K", "dflt", 64, f), "dflt"); // no file
    TempDir::Write(f, "[Lorenz]\r\n  Zoom = 8.000  \r\nEqX=x' = c(y - x), z\r\n[Other]\nZoom=9\n");
    const struct {
        const char *section, *key, *dflt;
        std::size_t nSize;
        std::string value;
    } cases[] = {{"lorenz", "ZOOM", "", 64, "8.000"},
                 {"Lorenz", "EqX", "", 256, "x' = c(y - x), z"},
                 {"Other", "zoom", "", 64, "9"},
                 {"Lorenz", "Missing", "d", 64, "d"},
                 {"Nope", "Zoom", "d", 64, "d"},
                 {"Lorenz", "Zoom", "", 4, "8.0"}, // cut to the buffer size less one
                 {"Lorenz", "Zoom", "", 1, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(GetPrivateProfileString(c.section, c.key, c.dflt, c.nSize, f), c.value)
            << c.section << "." << c.key << "/" << c.nSize;
    // Garbage and NUL bytes do not confuse the reader.
    const char raw[] = "\0\xff[bad\n=novalue\n[S]\nno equals here\nK=\0v\n";
    TempDir::Write(f, std::string(raw, sizeof raw - 1));
    EXPECT_EQ(GetPrivateProfileString("S", "K", "", 64, f), std::string("\0v", 2));
    EXPECT_EQ(GetPrivateProfileString("S", "", "d", 64, f), "d");
}

TEST(ProfileWrite, ReplacesInPlaceAppendsAndKeepsOtherBytes) {
    TempDir dir;
    const std::string f = dir.File("p.ini");
    TempDir::Write(f, "; comment\r\n[A]\r\nx=1\r\ny = 2\r\n\r\n[B]\nz=3\n");
    // Each write in turn, and the whole file after it.
    const struct {
        const char *section, *key, *value, *file;
    } steps[] = {
        {"a", "Y", "20", "; comment\r\n[A]\r\nx=1\r\nY=20\r\n\r\n[B]\nz=3\n"},
        {"A", "w", "new", "; comment\r\n[A]\r\nx=1\r\nY=20\r\nw=new\n\r\n[B]\nz=3\n"},
        {"C", "k", "v", "; comment\r\n[A]\r\nx=1\r\nY=20\r\nw=new\n\r\n[B]\nz=3\n[C]\nk=v\n"}};
    for (const auto& s : steps) {
        ASSERT_TRUE(WritePrivateProfileString(s.section, s.key, s.value, f)) << s.key;
        EXPECT_EQ(TempDir::Read(f), s.file) << s.key;
    }
    // A new file, line breaks in a value, a file without its final newline.
    const std::string n = dir.File("n.ini");
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "two\nlines", n));
    EXPECT_EQ(TempDir::Read(n), "[S]\nk=two lines\n");
    TempDir::Write(n, "[S]\nk=1");
    ASSERT_TRUE(WritePrivateProfileString("S", "j", "2", n));
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "3", n));
    EXPECT_EQ(TempDir::Read(n), "[S]\nk=3\nj=2\n");
}

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

TEST(ModulePath, ProgramFilesBesideTheProgramElseInTheInstalledShareFolder) {
    TempDir tmp;
    std::filesystem::create_directories(tmp.File("share/qel/res"));
    std::filesystem::create_directories(tmp.File("bin/res"));
    platform::SetModuleDirectoryOverride(tmp.File("bin"));
    EXPECT_EQ(platform::GetProgramFilePath("a.ini"), tmp.File("bin/a.ini")); // in neither
    for (const std::string name : {"a.ini", "res/m.bmp"}) {
        TempDir::Write(tmp.File("share/qel/" + name), "x");
        EXPECT_EQ(platform::GetProgramFilePath(name), tmp.File("share/qel/" + name));
        TempDir::Write(tmp.File("bin/" + name), "x"); // a build folder's own copy comes first
        EXPECT_EQ(platform::GetProgramFilePath(name), tmp.File("bin/" + name));
    }
    platform::SetModuleDirectoryOverride("/");
    EXPECT_EQ(platform::GetProgramFilePath("none.ini"), "/none.ini");
    platform::SetModuleDirectoryOverride("");
}
