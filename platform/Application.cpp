#include "platform/Application.h"

#include "platform/Dialogs.h"
#include "platform/Failure.h"

namespace platform {

bool CApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        Report(CurrentFailure());
    }
    return false;
}

void CApplication::Report(const std::string& why) {
    // Not inside the handler that failed: the box's own event loop would run in its middle.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [why] { MessageBox(nullptr, "The work stopped: " + why + ".", {}, MB_ICONEXCLAMATION); },
        Qt::QueuedConnection);
}

} // namespace platform
