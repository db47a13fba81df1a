#include "app/Qel2App.h"

#include "app/Qel2Dlg.h"
#include "controls/DialogLayout.h"
#include "engine/RunGate.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

void CQel2App::SetUpLook() {
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setFont(QFont("Liberation Sans"));
    QApplication::setFont(DialogFont());
}

bool CQel2App::InitInstance() {
    RunGate().Set(); // open before any window exists
    {
        CQel2Dlg dlg;
        dlg.DoModal();
    } // the worker is stopped and joined before the attractor and the drawing window go
    return false;
}

int CQel2App::ExitInstance() {
    return 0;
}
