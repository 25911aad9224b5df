#include "platform/application.h"

#include <QApplication>
#include <memory>

namespace platform {
namespace {

// QApplication keeps a reference to the count it was given.
int argumentCount = 0;
std::unique_ptr<QApplication>& application() {
    static std::unique_ptr<QApplication> instance;
    return instance;
}

} // namespace

int startApplication(int argc, char** argv) {
    if (application() || QCoreApplication::instance()) return 0;
    argumentCount = argc;
    application() = std::make_unique<QApplication>(argumentCount, argv);
    return 1;
}

void stopApplication() {
    if (!application()) return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    application().reset();
}

bool hasApplication() { return application() != nullptr; }

int runMessageLoop() { return QCoreApplication::exec(); }

// Queued, so that the loop ends after the message being handled, and a quit
// asked for before the loop starts still ends it.
void postQuit(int code) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [code] { QCoreApplication::exit(code); },
        Qt::QueuedConnection);
}

void processPendingMessages() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace platform
