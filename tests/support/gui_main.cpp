#include "platform/Application.h"
#include "platform/RuntimeDir.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

#if defined(__SANITIZE_THREAD__)
// QProcess starts its child with vfork semantics, which ThreadSanitizer takes for a fork of this
// multi-threaded process: it would end the test at the next thread started, such as a Run's
// drawing thread. The child only runs exec.
extern "C" const char* __tsan_default_options() {
    return "die_after_fork=0";
}
#endif

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    platform::EnsureRuntimeDir();
    platform::CApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    // The program's own font (as CQel2App::SetUpLook starts), whatever the system's default sans
    // is: pictures of text depend on it.
    const QFont font("Liberation Sans");
    if (QFontInfo(font).family() != font.family()) {
        std::fprintf(stderr, "the program's font Liberation Sans is missing (fonts-liberation2, "
                             "scripts/setup test)\n");
        return 1;
    }
    QApplication::setFont(font);
    // The plot labels ask for Arial, which only the system's aliases turn into Liberation Sans.
    QFont::insertSubstitution("Arial", font.family());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
