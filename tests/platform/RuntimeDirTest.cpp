#include "platform/RuntimeDir.h"
#include "tests/support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

// Qt takes the folder only if it is a real folder of ours that nobody else may enter; one taken
// by something else under the name must not be used.
TEST(RuntimeDir, PrivateFolderOnlyWhenNoneIsSet) {
    TempDir tmp;
    const std::string mine = tmp.File("qel-runtime-" + std::to_string(::getuid()));
    const struct {
        const char* what;
        std::function<void()> prepare;
        bool bNamed; // the per-user name is the one used
    } cases[] = {
        {"nothing there", [] {}, true},
        {"our private folder", [&] { ::mkdir(mine.c_str(), 0700); }, true},
        {"an open folder", [&] { ::mkdir(mine.c_str(), 0755); }, false},
        {"a link to a private folder",
         [&] {
             ::mkdir(tmp.File("x").c_str(), 0700);
             ASSERT_EQ(::symlink(tmp.File("x").c_str(), mine.c_str()), 0);
         },
         false},
    };
    ::setenv("TMPDIR", tmp.Path().c_str(), 1);
    bool bEmpty = false; // set but empty counts as not set
    for (const auto& c : cases) {
        std::filesystem::remove_all(mine);
        c.prepare();
        (bEmpty = !bEmpty) ? ::setenv("XDG_RUNTIME_DIR", "", 1) : ::unsetenv("XDG_RUNTIME_DIR");
        const std::string dir = platform::EnsureRuntimeDir();
        struct stat st;
        ASSERT_EQ(::lstat(dir.c_str(), &st), 0) << c.what;
        EXPECT_TRUE(S_ISDIR(st.st_mode) && (st.st_mode & 0777) == 0700) << c.what;
        EXPECT_EQ(dir == mine, c.bNamed) << c.what << ": " << dir;
        EXPECT_EQ(dir, std::getenv("XDG_RUNTIME_DIR")) << c.what;
    }
    // A private folder is ours only if we own it: anyone can ask about one of its own as
    // another user; root can give one away, and it is then passed over.
    std::filesystem::remove_all(mine);
    ::mkdir(mine.c_str(), 0700);
    EXPECT_TRUE(platform::IsPrivateDirOf(mine, ::getuid()));
    EXPECT_FALSE(platform::IsPrivateDirOf(mine, ::getuid() + 1));
    if (::getuid() == 0 && ::chown(mine.c_str(), 65534, 65534) == 0) {
        ::unsetenv("XDG_RUNTIME_DIR");
        const std::string dir = platform::EnsureRuntimeDir();
        EXPECT_NE(dir, mine);
        EXPECT_TRUE(platform::IsPrivateDirOf(dir, 0)) << dir;
    }
    ::setenv("XDG_RUNTIME_DIR", "/set/elsewhere", 1);
    EXPECT_EQ(platform::EnsureRuntimeDir(), "/set/elsewhere");
    ::unsetenv("TMPDIR");
}
