#include "../support/TempDir.h"
#include "platform/AtomicFile.h"
#include "platform/CsvText.h"
#include "platform/FileRead.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using platform::WriteFileAtomically;

static int Entries(const std::string& dir) {
    return static_cast<int>(std::distance(fs::directory_iterator(dir), {}));
}

// A failure at any point (a full disk at once or part of the way, a missing folder, a folder
// in the way) leaves the earlier file byte for byte, no temporary, and an error naming the
// file and the reason. A replaced file keeps its mode; a device is written in place and stays
// one (a FIFO: the export's test; standard output: check-render); a link is followed and
// stays a link.
TEST(AtomicFile, AFailedWriteKeepsTheEarlierFileLinksAndDevicesStay) {
    TempDir dir;
    const std::string f = dir.File("kept.csv"), before = "earlier\n";
    TempDir::Write(f, before);
    fs::permissions(f, fs::perms(0640));
    for (rlim_t limit : {rlim_t{0}, rlim_t{100000}}) {
        std::string error;
        TempDir::WithFileSizeLimit(limit, [&] {
            EXPECT_FALSE(WriteFileAtomically(f, std::string(300000, 'x'), &error)) << limit;
        });
        EXPECT_EQ(error, f + ": " + std::strerror(EFBIG));
        EXPECT_EQ(TempDir::Read(f), before);
        EXPECT_EQ(Entries(dir.Path()), 1);
    }
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(dir.File("no/such/x.csv"), "x", &error));
    EXPECT_EQ(error, dir.File("no/such/x.csv") + ": " + std::strerror(ENOENT));
    EXPECT_FALSE(WriteFileAtomically(dir.Path(), "x", &error));
    EXPECT_EQ(error, dir.Path() + ": " + std::strerror(EISDIR));
    fs::create_symlink("kept.csv", dir.File("link"));
    fs::create_symlink(dir.File("link"), dir.File("link2"));
    ASSERT_TRUE(WriteFileAtomically(dir.File("link2"), "through two links"));
    EXPECT_TRUE(fs::is_symlink(dir.File("link")) && fs::is_symlink(dir.File("link2")));
    EXPECT_EQ(TempDir::Read(f), "through two links");
    EXPECT_EQ(fs::status(f).permissions(), fs::perms(0640));
    ASSERT_TRUE(WriteFileAtomically("/dev/null", "nothing"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

// Two writers of one file never share a temporary; the file ends as one of them wrote it.
TEST(AtomicFile, TwoWritersAtOnce) {
    TempDir dir;
    const std::string f = dir.File("both.csv"), textA(200000, 'a'), textB(300000, 'b');
    platform::CAtomicFile a(f), b(f);
    ASSERT_TRUE(a.Write(textA.substr(0, 100000)) && b.Write(textB.substr(0, 100000)));
    EXPECT_EQ(Entries(dir.Path()), 2); // two temporaries
    ASSERT_TRUE(a.Write(textA.substr(100000)) && b.Write(textB.substr(100000)));
    ASSERT_TRUE(b.Commit() && a.Commit());
    EXPECT_EQ(TempDir::Read(f), textA);
    EXPECT_EQ(Entries(dir.Path()), 1);
}

TEST(CsvText, NumbersPrintAsPrintfAndReadBackExactlyNamesAreQuoted) {
    const double cases[] = {0.0,  -0.0, 0.1,      1.0 / 3.0, -2.5e-310, 1e300, 123456789012345678.0,
                            28.0, 0.03, HUGE_VAL, NAN};
    for (double v : cases) {
        char mine[platform::kCsvNumberMax + 1], theirs[40];
        *platform::FormatCsvNumber(mine, v) = '\0';
        std::snprintf(theirs, sizeof theirs, "%.17g", v);
        EXPECT_STREQ(mine, theirs);
        const double back = std::strtod(mine, nullptr);
        EXPECT_TRUE(std::isnan(v) || std::memcmp(&back, &v, sizeof v) == 0) << mine;
    }
    EXPECT_EQ(platform::CsvField("Qelland"), "Qelland");
    EXPECT_EQ(platform::CsvField("Saint \"Q\", Isle"), "\"Saint \"\"Q\"\", Isle\"");
}

// Only a regular file within the limit is read, and at once: a folder, a FIFO without a
// writer, a device and a file one byte over the limit are refused with the reason, a missing
// file is told apart; a UTF-8 byte-order mark is not part of the text.
TEST(FileRead, RegularFilesWithinTheLimitOnlyWithoutAByteOrderMark) {
    using platform::EFileRead;
    TempDir dir;
    const std::string f = dir.File("f.ini"), fifo = dir.File("fifo");
    std::string text, error;
    TempDir::Write(f, "\xEF\xBB\xBF[Henon]\n");
    ASSERT_EQ(platform::ReadWholeFile(f, text), EFileRead::Read);
    EXPECT_EQ(text, "[Henon]\n");
    std::filesystem::resize_file(f, platform::kMaxReadBytes);
    ASSERT_EQ(platform::ReadWholeFile(f, text), EFileRead::Read);
    EXPECT_EQ(text.size(), platform::kMaxReadBytes - 3); // the mark left out
    std::filesystem::resize_file(f, platform::kMaxReadBytes + 1);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const char* notAFile = "not a regular file (a FIFO, device or socket)";
    const struct {
        std::string path, why;
        EFileRead result;
    } refused[] = {{dir.Path(), std::strerror(EISDIR), EFileRead::NotAFile},
                   {fifo, notAFile, EFileRead::NotAFile},
                   {"/dev/zero", notAFile, EFileRead::NotAFile},
                   {f, "larger than 16 MB", EFileRead::Refused},
                   {dir.File("none"), std::strerror(ENOENT), EFileRead::Missing}};
    for (const auto& r : refused) {
        EXPECT_EQ(platform::ReadWholeFile(r.path, text, &error), r.result) << r.path;
        EXPECT_EQ(error, r.path + ": " + r.why);
        EXPECT_TRUE(text.empty());
    }
}
