#include "platform/ProfileFile.h"
#include "../support/TempDir.h"

#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;

TEST(ProfileRead, MissingThingsReadAsDefaultAndNamesIgnoreCase) {
    TempDir dir;
    std::string f = dir.File("a.ini");
    EXPECT_EQ(GetPrivateProfileString("S", "K", "dflt", 64, f), "dflt");
    TempDir::Write(f, "[Lorenz]\r\n  Zoom = 8.000  \r\nEqX=x' = c(y - x), z\r\n[Other]\nZoom=9\n");
    EXPECT_EQ(GetPrivateProfileString("lorenz", "ZOOM", "", 64, f), "8.000");
    EXPECT_EQ(GetPrivateProfileString("Lorenz", "EqX", "", 256, f), "x' = c(y - x), z");
    EXPECT_EQ(GetPrivateProfileString("Other", "zoom", "", 64, f), "9");
    EXPECT_EQ(GetPrivateProfileString("Lorenz", "Missing", "", 64, f), "");
    EXPECT_EQ(GetPrivateProfileString("Nope", "Zoom", "d", 64, f), "d");
    // Cut to the buffer size less one.
    EXPECT_EQ(GetPrivateProfileString("Lorenz", "Zoom", "", 4, f), "8.0");
    EXPECT_EQ(GetPrivateProfileString("Lorenz", "Zoom", "", 1, f), "");
}

TEST(ProfileRead, GarbageAndBinaryDoNotConfuseTheReader) {
    TempDir dir;
    std::string f = dir.File("g.ini");
    const char raw[] = "\0\xff[bad\n=novalue\n[S]\nno equals here\nK=\0v\n";
    std::string junk(raw, sizeof raw - 1);
    TempDir::Write(f, junk);
    EXPECT_EQ(GetPrivateProfileString("S", "K", "", 64, f), std::string("\0v", 2));
    EXPECT_EQ(GetPrivateProfileString("S", "", "d", 64, f), "d");
}

TEST(ProfileWrite, ReplacesInPlaceAppendsAndKeepsOtherBytes) {
    TempDir dir;
    std::string f = dir.File("p.ini");
    const std::string original = "; comment\r\n[A]\r\nx=1\r\ny = 2\r\n\r\n[B]\nz=3\n";
    TempDir::Write(f, original);
    ASSERT_TRUE(WritePrivateProfileString("a", "Y", "20", f));
    EXPECT_EQ(TempDir::Read(f), "; comment\r\n[A]\r\nx=1\r\nY=20\r\n\r\n[B]\nz=3\n");
    ASSERT_TRUE(WritePrivateProfileString("A", "w", "new", f));
    EXPECT_EQ(TempDir::Read(f), "; comment\r\n[A]\r\nx=1\r\nY=20\r\nw=new\n\r\n[B]\nz=3\n");
    ASSERT_TRUE(WritePrivateProfileString("C", "k", "v", f));
    EXPECT_EQ(TempDir::Read(f),
              "; comment\r\n[A]\r\nx=1\r\nY=20\r\nw=new\n\r\n[B]\nz=3\n[C]\nk=v\n");
    EXPECT_EQ(GetPrivateProfileString("C", "K", "", 64, f), "v");
}

TEST(ProfileWrite, NewFileFileWithoutFinalNewlineAndLineBreaksInValues) {
    TempDir dir;
    std::string f = dir.File("n.ini");
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "two\nlines", f));
    EXPECT_EQ(TempDir::Read(f), "[S]\nk=two lines\n");
    TempDir::Write(f, "[S]\nk=1");
    ASSERT_TRUE(WritePrivateProfileString("S", "j", "2", f));
    EXPECT_EQ(TempDir::Read(f), "[S]\nk=1\nj=2\n");
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "3", f));
    EXPECT_EQ(TempDir::Read(f), "[S]\nk=3\nj=2\n");
}

TEST(ProfileWrite, AFailedWriteLeavesTheOldFileAndNoLeftovers) {
    // A file size limit stands in for a full disk, and works for root too.
    TempDir dir;
    std::string f = dir.File("full.ini");
    const std::string before = "[S]\nk=" + std::string(200, '1') + "\n";
    TempDir::Write(f, before);
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100;
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool ok = WritePrivateProfileString("S", "j", "2", f);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(TempDir::Read(f), before);
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.Path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST(ProfileWrite, APathThatCannotBeCreatedFails) {
    TempDir dir;
    std::string f = dir.File("no/such/folder/x.ini");
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "2", f));
    TempDir::Write(dir.File("plain"), "x");
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "2", dir.File("plain/x.ini")));
    EXPECT_EQ(TempDir::Read(dir.File("plain")), "x");
}
