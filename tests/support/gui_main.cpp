#include <QApplication>
#include <QFont>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    // The program's own font family: measured text must not depend on the machine's default.
    QApplication::setFont(QFont("Liberation Sans"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
