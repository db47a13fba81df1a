#include "app/Qel2App.h"
#include "app/Runner.h"
#include "platform/Application.h"

#include <QApplication>
#include <QIcon>
#include <clocale>

int main(int argc, char** argv) {
    platform::CApplication app(argc, argv);
    CRunner::SetFailureReport(platform::CApplication::Report);
    // QApplication adopts the user's locale; numbers here are read and written the C way.
    std::setlocale(LC_NUMERIC, "C");
    CQel2App::SetUpLook();
    // One icon in every size for all three dialogs.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/icons/qel-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    CQel2App theApp;
    theApp.InitInstance();
    return theApp.ExitInstance();
}
