#include "platform/application.h"

#include <QApplication>
#include <utility>

#include "platform/window_host.h"

namespace platform {
namespace {

// QApplication keeps a reference to the count it was given. The instance
// is a plain pointer on purpose: destroying it during static destruction,
// after Qt's own globals are gone, crashes, so without stopApplication it
// simply lives until the process ends.
int argumentCount = 0;
QApplication* instance = nullptr;

} // namespace

int startApplication(int argc, char** argv) {
    if (instance || QCoreApplication::instance()) return 0;
    argumentCount = argc;
    instance = new QApplication(argumentCount, argv);
    // Desktops match the windows to the installed launcher by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VOXA_APP_ID));
    return 1;
}

void stopApplication() {
    if (!instance) return;
    detail::destroyAllWindows();
    detail::destroyAllMenus();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete std::exchange(instance, nullptr);
}

bool hasApplication() {
    return instance != nullptr;
}

int runMessageLoop() {
    return QCoreApplication::exec();
}

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
