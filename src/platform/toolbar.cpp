// toolbar.cpp - the toolbar over a QToolBar standing on its own in a window.
#include "platform/toolbar.h"

#include <QAction>
#include <QPixmap>
#include <QPointer>
#include <QToolBar>
#include <map>

#include "platform/window.h"
#include "platform/window_host.h"

namespace platform {
namespace {

std::map<ToolbarId, QPointer<QToolBar>>& toolbars() {
    static std::map<ToolbarId, QPointer<QToolBar>> table;
    return table;
}

ToolbarId nextToolbar = 1;

QToolBar* findToolbar(ToolbarId toolbar) {
    auto it = toolbars().find(toolbar);
    return it == toolbars().end() ? nullptr : it->second.data();
}

} // namespace

ToolbarId createToolbar(WindowId parent, const char* const* strip, Size imageSize,
                        std::span<const ToolbarButton> buttons) {
    QWidget* client = detail::clientWidget(parent);
    if (!client) return 0;
    ToolbarId id = nextToolbar++;
    auto* bar = new QToolBar(client);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setIconSize(QSize(imageSize.width, imageSize.height));
    QPixmap images(strip);
    for (const ToolbarButton& button : buttons) {
        if (button.image < 0) {
            bar->addSeparator();
            continue;
        }
        QPixmap image = images.copy(button.image * imageSize.width, 0, imageSize.width,
                                    imageSize.height);
        QAction* action = bar->addAction(QIcon(image), QString());
        int command = button.command;
        QObject::connect(action, &QAction::triggered, [parent, command] { sendCommand(parent, command); });
        if (QWidget* widget = bar->widgetForAction(action)) widget->setFocusPolicy(Qt::NoFocus);
    }
    QObject::connect(bar, &QObject::destroyed, [id] { toolbars().erase(id); });
    toolbars()[id] = bar;
    autoSizeToolbar(id);
    bar->show();
    return id;
}

void autoSizeToolbar(ToolbarId toolbar) {
    QToolBar* bar = findToolbar(toolbar);
    if (!bar || !bar->parentWidget()) return;
    bar->setGeometry(0, 0, bar->parentWidget()->width(), bar->sizeHint().height());
}

int toolbarHeight(ToolbarId toolbar) {
    QToolBar* bar = findToolbar(toolbar);
    return bar ? bar->sizeHint().height() : 0;
}

} // namespace platform
