#include "app/Qel2App.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>
#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // QApplication adopts the user's locale; numbers here are read and written the C way.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QFont font("Liberation Sans");
    font.setPixelSize(11); // near the metrics the dialog layout was made for
    QApplication::setFont(font);
    CQel2App theApp;
    theApp.InitInstance();
    return theApp.ExitInstance();
}
