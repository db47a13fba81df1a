#include <QApplication>
#include <QFont>
#include <clocale>
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
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    // The program's own font family: measured text must not depend on the machine's default.
    QApplication::setFont(QFont("Liberation Sans"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
