#include "platform/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <utility>

#include "platform/dialog_host.h"
#include "platform/window_host.h"

namespace platform {
namespace {

// QApplication keeps a reference to the count it was given. The instance
// is a plain pointer on purpose: destroying it during static destruction,
// after Qt's own globals are gone, crashes, so without stopApplication it
// simply lives until the process ends.
int argumentCount = 0;
char** arguments = nullptr;
QApplication* instance = nullptr;

// The toolkit's texts (the file dialog's labels, the standard buttons) in
// Japanese, from the translations installed with Qt.
void loadJapaneseTranslation() {
    auto* translator = new QTranslator(instance);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

} // namespace

int startApplication(int argc, char** argv) {
    if (instance || QCoreApplication::instance()) return 0;
    argumentCount = argc;
    arguments = argv;
    // An owned window made native (each top-level is, for its frame margins)
    // would otherwise make every child of its owner a native window too: the
    // main window's client and menu bar would become X windows of their own.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    instance = new QApplication(argumentCount, argv);
    loadJapaneseTranslation();
    // Desktops match the windows to the installed launcher by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VOXA_APP_ID));
    return 1;
}

std::vector<std::string> applicationArguments() {
    std::vector<std::string> left;
    for (int i = 1; i < argumentCount && arguments && arguments[i]; ++i)
        left.emplace_back(arguments[i]);
    return left;
}

void stopApplication() {
    if (!instance) return;
    detail::destroyAllDialogs();
    detail::destroyAllWindows();
    detail::destroyAllMenus();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete std::exchange(instance, nullptr);
    arguments = nullptr;
    argumentCount = 0;
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
