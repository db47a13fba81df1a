#include "../support/TempDir.h"
#include "platform/AtomicFile.h"
#include "platform/CsvText.h"

#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using platform::CAtomicFile;
using platform::WriteFileAtomically;

namespace {
int Entries(const std::string& dir) {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

mode_t Mode(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}
} // namespace

// A failure at any point (a full disk at once or part of the way, a missing folder, a folder
// in the way) leaves the earlier file byte for byte, no temporary, and an error naming the
// file and the reason. A replaced file keeps its mode.
TEST(AtomicFile, AFailedWriteKeepsTheEarlierFile) {
    TempDir dir;
    const std::string f = dir.File("kept.csv"), before = "earlier\n";
    TempDir::Write(f, before);
    ::chmod(f.c_str(), 0640);
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
    ASSERT_TRUE(WriteFileAtomically(f, "new\n"));
    EXPECT_EQ(TempDir::Read(f), "new\n");
    EXPECT_EQ(Mode(f) & 07777, 0640u);
}

// Devices, FIFOs and standard output are written in place and stay what they are; a link is
// followed and stays a link; two writers of one file never share a temporary, and the file
// ends as one of them wrote it, whole.
TEST(AtomicFile, StreamsLinksAndTwoWritersAtOnce) {
    TempDir dir;
    ASSERT_TRUE(WriteFileAtomically("/dev/null", "nothing"));
    EXPECT_TRUE(S_ISCHR(Mode("/dev/null")));
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string got;
    std::thread reader([&] { got = TempDir::Read(fifo); });
    EXPECT_TRUE(WriteFileAtomically(fifo, "through the fifo"));
    reader.join();
    EXPECT_EQ(got, "through the fifo");
    EXPECT_TRUE(S_ISFIFO(Mode(fifo)));
    const int saved = ::dup(STDOUT_FILENO);
    const int out = ::open(dir.File("stdout").c_str(), O_WRONLY | O_CREAT, 0600);
    ::dup2(out, STDOUT_FILENO);
    const bool written = WriteFileAtomically("-", "to standard output");
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(out);
    EXPECT_TRUE(written);
    EXPECT_EQ(TempDir::Read(dir.File("stdout")), "to standard output");

    std::filesystem::create_directory(dir.File("real"));
    TempDir::Write(dir.File("real/target"), "old");
    std::filesystem::create_symlink("real/target", dir.File("link"));
    std::filesystem::create_symlink(dir.File("link"), dir.File("link2"));
    ASSERT_TRUE(WriteFileAtomically(dir.File("link2"), "through two links"));
    EXPECT_TRUE(S_ISLNK(Mode(dir.File("link"))) && S_ISLNK(Mode(dir.File("link2"))));
    EXPECT_EQ(TempDir::Read(dir.File("real/target")), "through two links");

    const std::string f = dir.File("real/both.csv");
    CAtomicFile a(f), b(f);
    const std::string textA(200000, 'a'), textB(300000, 'b');
    ASSERT_TRUE(a.Write(textA.substr(0, 100000)) && b.Write(textB.substr(0, 100000)));
    EXPECT_EQ(Entries(dir.File("real")), 3); // the target and two temporaries
    ASSERT_TRUE(a.Write(textA.substr(100000)) && b.Write(textB.substr(100000)));
    ASSERT_TRUE(b.Commit());
    ASSERT_TRUE(a.Commit());
    EXPECT_EQ(TempDir::Read(f), textA);
    EXPECT_EQ(Entries(dir.File("real")), 2);
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
