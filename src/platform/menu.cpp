// menu.cpp - menu bars over QMenuBar.
//
// The check marks are kept here as the truth: Qt flips a checkable action
// itself when it is chosen, so after every choice the marks are put back as
// the calls below last left them.
#include "platform/menu.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <map>
#include <memory>

#include "platform/modal.h"
#include "platform/window_host.h"

namespace platform {
namespace {

struct MenuRecord {
    QMenuBar* bar = nullptr; // owned; a child of the frame while attached
    std::map<int, QAction*> actions;
    std::map<int, bool> checked;
    std::map<int, bool> radio;
    std::vector<QMenu*> popups; // the bar's popups, in order
    WindowId window = 0;        // attached to
    bool inPopup = false;       // popupMenu sends the command itself
};

std::map<MenuHandle, std::unique_ptr<MenuRecord>>& menus() {
    static std::map<MenuHandle, std::unique_ptr<MenuRecord>> table;
    return table;
}

MenuHandle nextMenu = 1;

MenuRecord* findMenu(MenuHandle menu) {
    auto it = menus().find(menu);
    return it == menus().end() ? nullptr : it->second.get();
}

QString fromUtf8(const char* text) {
    return QString::fromUtf8(text ? text : "");
}

void showMark(MenuRecord& record, int id) {
    QAction* action = record.actions[id];
    bool checked = record.checked[id];
    // A plain item is checkable only while marked, so that an unmarked one
    // shows no empty box.
    if (!record.radio[id]) action->setCheckable(checked);
    if (action->isChecked() != checked) action->setChecked(checked);
}

void chosen(MenuHandle menu, int id) {
    MenuRecord* record = findMenu(menu);
    if (!record) return;
    for (const auto& [itemId, action] : record->actions)
        showMark(*record, itemId);
    if (record->window && !record->inPopup) sendCommand(record->window, id);
}

void collectItems(const QMenu* menu, const MenuRecord& record, std::vector<PopupItem>& items) {
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            collectItems(action->menu(), record, items);
            continue;
        }
        PopupItem item;
        for (const auto& [id, known] : record.actions)
            if (known == action) item.id = id;
        if (!action->isSeparator()) item.text = action->text().toStdString();
        items.push_back(std::move(item));
    }
}

ModalAnswer showPopup(const ModalRequest& request) {
    ModalAnswer answer;
    MenuRecord* record = findMenu(request.menu);
    if (!record || request.popupIndex < 0 ||
        request.popupIndex >= static_cast<int>(record->popups.size()))
        return answer;
    Point at = request.position.value_or(Point{});
    record->inPopup = true;
    QAction* action = record->popups[request.popupIndex]->exec(QPoint(at.x, at.y));
    record = findMenu(request.menu);
    if (!record) return answer;
    record->inPopup = false;
    for (const auto& [id, known] : record->actions)
        if (known == action && action) answer.command = id;
    answer.result = answer.command ? DialogResult::Ok : DialogResult::Cancel;
    return answer;
}

} // namespace

MenuHandle loadMenu(const MenuTable& table) {
    auto record = std::make_unique<MenuRecord>();
    auto bar = std::make_unique<QMenuBar>();
    bar->setNativeMenuBar(false);
    MenuHandle handle = nextMenu++;
    std::vector<QMenu*> open;
    std::map<QMenu*, QActionGroup*> groups;
    for (std::size_t i = 0; i < table.count; ++i) {
        const MenuEntry& entry = table.entries[i];
        QMenu* current = open.empty() ? nullptr : open.back();
        switch (entry.kind) {
        case MenuEntryKind::Popup: {
            QMenu* popup = current ? current->addMenu(fromUtf8(entry.text))
                                   : bar->addMenu(fromUtf8(entry.text));
            if (!current) record->popups.push_back(popup);
            open.push_back(popup);
            break;
        }
        case MenuEntryKind::EndPopup:
            if (open.empty()) return 0;
            open.pop_back();
            break;
        case MenuEntryKind::Separator:
            if (current)
                current->addSeparator();
            else
                bar->addSeparator();
            break;
        case MenuEntryKind::Item:
        case MenuEntryKind::RadioItem: {
            if (record->actions.count(entry.id)) return 0;
            QAction* action = current ? current->addAction(fromUtf8(entry.text))
                                      : bar->addAction(fromUtf8(entry.text));
            bool radio = entry.kind == MenuEntryKind::RadioItem;
            if (radio) {
                QActionGroup*& group = groups[current];
                if (!group)
                    group = new QActionGroup(current ? static_cast<QObject*>(current)
                                                     : static_cast<QObject*>(bar.get()));
                action->setCheckable(true);
                group->addAction(action);
            }
            int id = entry.id;
            QObject::connect(action, &QAction::triggered, [handle, id] { chosen(handle, id); });
            record->actions[id] = action;
            record->checked[id] = false;
            record->radio[id] = radio;
            break;
        }
        }
    }
    if (!open.empty()) return 0;
    record->bar = bar.release();
    menus()[handle] = std::move(record);
    return handle;
}

int destroyMenu(MenuHandle menu) {
    MenuRecord* record = findMenu(menu);
    if (!record) return 0;
    if (record->window) detachMenu(record->window);
    QMenuBar* bar = record->bar;
    menus().erase(menu);
    bar->deleteLater();
    return 1;
}

bool isMenu(MenuHandle menu) {
    return findMenu(menu) != nullptr;
}

int attachMenu(WindowId window, MenuHandle menu) {
    detail::WindowRecord* target = detail::findWindow(window);
    MenuRecord* record = findMenu(menu);
    if (!target || !target->frame || !record) return 0;
    if (target->menu == menu) return 1;
    if (record->window) detachMenu(record->window);
    if (target->menu) detachMenu(window);
    record->bar->setParent(target->frame);
    record->bar->show();
    record->window = window;
    target->menu = menu;
    target->menuBar = record->bar;
    detail::layOutFrame(*target);
    return 1;
}

void detachMenu(WindowId window) {
    detail::WindowRecord* target = detail::findWindow(window);
    if (!target || !target->menu) return;
    if (MenuRecord* record = findMenu(target->menu)) {
        record->bar->hide();
        record->bar->setParent(nullptr);
        record->window = 0;
    }
    target->menu = 0;
    target->menuBar = nullptr;
    detail::layOutFrame(*target);
}

MenuHandle attachedMenu(WindowId window) {
    detail::WindowRecord* target = detail::findWindow(window);
    return target ? target->menu : 0;
}

int checkMenuItem(MenuHandle menu, int id, bool checked) {
    MenuRecord* record = findMenu(menu);
    if (!record || !record->actions.count(id)) return 0;
    record->checked[id] = checked;
    showMark(*record, id);
    return 1;
}

int radioCheckMenuItem(MenuHandle menu, int first, int last, int id) {
    MenuRecord* record = findMenu(menu);
    if (!record) return 0;
    // Clear first, so an exclusive group never sees two marks at once.
    for (auto it = record->actions.lower_bound(first);
         it != record->actions.end() && it->first <= last; ++it) {
        if (it->first == id) continue;
        record->checked[it->first] = false;
        showMark(*record, it->first);
    }
    if (id < first || id > last || !record->actions.count(id)) return 0;
    record->checked[id] = true;
    showMark(*record, id);
    return 1;
}

bool isMenuItemChecked(MenuHandle menu, int id) {
    MenuRecord* record = findMenu(menu);
    return record && record->actions.count(id) && record->checked[id];
}

bool hasMenuItem(MenuHandle menu, int id) {
    MenuRecord* record = findMenu(menu);
    return record && record->actions.count(id);
}

std::string menuItemText(MenuHandle menu, int id) {
    MenuRecord* record = findMenu(menu);
    if (!record || !record->actions.count(id)) return {};
    return record->actions[id]->text().toStdString();
}

std::vector<std::string> menuBarTitles(MenuHandle menu) {
    std::vector<std::string> titles;
    if (MenuRecord* record = findMenu(menu))
        for (QAction* action : record->bar->actions())
            titles.push_back(action->text().toStdString());
    return titles;
}

int popupMenu(WindowId owner, MenuHandle menu, int popupIndex, Point screenPoint) {
    MenuRecord* record = findMenu(menu);
    if (!record || popupIndex < 0 || popupIndex >= static_cast<int>(record->popups.size()))
        return 0;
    ModalRequest request;
    request.kind = ModalKind::PopupMenu;
    request.owner = owner;
    request.caption = record->popups[popupIndex]->title().toStdString();
    request.menu = menu;
    request.popupIndex = popupIndex;
    request.position = screenPoint;
    collectItems(record->popups[popupIndex], *record, request.items);
    int id = runModal(request, showPopup).command;
    if (id == 0 || !hasMenuItem(menu, id)) return 0;
    sendCommand(owner, id);
    return id;
}

namespace detail {

void destroyAllMenus() {
    while (!menus().empty())
        destroyMenu(menus().begin()->first);
}

} // namespace detail
} // namespace platform
