#include "catalog/column_dialog.h"

#include <algorithm>

#include "catalog/catalog_view.h"
#include "catalog/column_set.h"
#include "platform/dialog.h"

namespace {

using platform::DialogId;
using platform::DialogMessage;
using platform::DialogParams;

constexpr int kVisibleList = 1038;
constexpr int kHiddenList = 1039;
constexpr int kAdd = 1044;
constexpr int kRemove = 1045;
constexpr int kUp = 1047;
constexpr int kDown = 1048;

struct ColumnSession {
    CatalogWindow* catalog;
    std::vector<int> visible; // ids in display order, the title first
    std::vector<int> hidden;  // ids in ascending order
};

void showLists(DialogId dialog, const ColumnSession& session) {
    const CatalogList& list = session.catalog->list;
    for (auto [id, ids] :
         {std::pair{kVisibleList, &session.visible}, std::pair{kHiddenList, &session.hidden}}) {
        platform::clearItems(dialog, id);
        for (int column : *ids)
            platform::addItem(dialog, id, list.columns[std::size_t(column)].displayName);
    }
}

void add(ColumnSession& session, int index) {
    session.visible.push_back(session.hidden[std::size_t(index)]);
    session.hidden.erase(session.hidden.begin() + index);
}

// The title and the location always stay.
void remove(ColumnSession& session, int index) {
    const int id = session.visible[std::size_t(index)];
    if (index == 0 || id == kColumnLocation) return;
    session.visible.erase(session.visible.begin() + index);
    session.hidden.insert(std::upper_bound(session.hidden.begin(), session.hidden.end(), id), id);
}

// Nothing moves above the title.
void moveUp(ColumnSession& session, int index) {
    if (index >= 2)
        std::swap(session.visible[std::size_t(index)], session.visible[std::size_t(index) - 1]);
}

void moveDown(ColumnSession& session, int index) {
    if (index >= 1 && index + 1 < int(session.visible.size()))
        std::swap(session.visible[std::size_t(index)], session.visible[std::size_t(index) + 1]);
}

void apply(ColumnSession& session) {
    CatalogWindow& catalog = *session.catalog;
    takeColumnWidths(catalog); // the title's width as the user left it
    setVisibleColumns(catalog.list, session.visible);
    showWholeCatalog(catalog);
}

int columnProcedure(DialogId dialog, DialogMessage message, const DialogParams& params) {
    ColumnSession& session = *static_cast<ColumnSession*>(params.context);
    if (message == DialogMessage::Init) {
        showLists(dialog, session);
        return 1;
    }
    if (message != DialogMessage::Command || params.notification != platform::Notification::Clicked)
        return 0;
    if (params.id == platform::kOkId) {
        apply(session);
        platform::endDialog(dialog, platform::kOkId);
        return 1;
    }
    if (platform::endOnOkOrCancel(dialog, message, params)) return 1;
    const bool onHidden = params.id == kAdd;
    const int index = platform::selection(dialog, onHidden ? kHiddenList : kVisibleList);
    if (index < 0) return 1;
    switch (params.id) {
    case kAdd:
        add(session, index);
        break;
    case kRemove:
        remove(session, index);
        break;
    case kUp:
        moveUp(session, index);
        break;
    case kDown:
        moveDown(session, index);
        break;
    default:
        return 0;
    }
    showLists(dialog, session);
    return 1;
}

} // namespace

void runColumnDialog(CatalogWindow& catalog) {
    ColumnSession session{&catalog, visibleOrder(catalog.list), {}};
    for (int id = 0; id < kColumnCount; ++id)
        if (columnPosition(catalog.list, id) < 0) session.hidden.push_back(id);
    platform::runDialog("LIST_COLUMN", catalog.window, columnProcedure, &session);
}
