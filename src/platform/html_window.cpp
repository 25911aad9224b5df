#include "platform/html_window.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

#include "platform/window_host.h"

namespace platform {

int showHtmlWindow(WindowId owner, const std::string& path) {
    const QFileInfo page(QString::fromStdString(path));
    if (!page.isFile() || !page.isReadable()) return 0;
    static QPointer<QTextBrowser> shown;
    if (!shown) {
        // A child window of the owner's frame: it goes when the frame goes.
        shown = new QTextBrowser(detail::frameWidget(owner));
        shown->setWindowFlag(Qt::Window);
        shown->setAttribute(Qt::WA_DeleteOnClose);
        shown->setOpenExternalLinks(true);
        shown->resize(640, 480);
    }
    shown->setSource(QUrl::fromLocalFile(page.absoluteFilePath()));
    shown->setWindowTitle(shown->documentTitle());
    shown->show();
    shown->raise();
    shown->activateWindow();
    return 1;
}

} // namespace platform
