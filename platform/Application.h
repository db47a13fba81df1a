#pragma once
#include <QApplication>
#include <string>

namespace platform {

// The application object of the program and of its window tests. An exception that a handler
// lets out (memory that cannot be had) ends at the edge of the event loop: it is told in a
// message box and the program goes on, instead of ending in an abort.
class CApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
    // A failure of the program's own, in a message box once the current handler has returned.
    static void Report(const std::string& why);
};

} // namespace platform
