#include "catalog/data_dialog.h"

#include <array>

#include "catalog/catalog_view.h"
#include "platform/dialog.h"
#include "platform/text_encoding.h"

namespace {

using platform::DialogId;
using platform::DialogMessage;
using platform::DialogParams;

constexpr int kPageBox = 1055;
constexpr int kPageArrows = 1010;
constexpr int kFirstName = 1050;
constexpr int kFirstField = 1003;
constexpr int kSlots = 5;
// A field carries the first 519 stored bytes of its cell.
constexpr std::size_t kFieldLimit = 519;

int keptPage = 0;

struct DataSession {
    CatalogWindow* catalog = nullptr;
    int row = 0;
    int page = 0;
    std::vector<int> order;                      // the visible ids by display position
    std::array<std::string, kColumnCount> field; // per column id: the field's text
    std::array<std::string, kColumnCount> cell;  // per column id: the whole cell as it was
};

int pageCount(const DataSession& session) {
    return int(session.order.size()) / kSlots + 1;
}

// The column of slot j on the shown page; -1 for an empty slot.
int slotColumn(const DataSession& session, int j) {
    const std::size_t k = std::size_t(kSlots * session.page + j);
    return k < session.order.size() ? session.order[k] : -1;
}

void keepFields(DialogId dialog, DataSession& session) {
    for (int j = 0; j < kSlots; ++j)
        if (int id = slotColumn(session, j); id >= 0)
            session.field[std::size_t(id)] = platform::cp932FittingPrefix(
                platform::controlText(dialog, kFirstField + j), kFieldLimit);
}

void showPage(DialogId dialog, const DataSession& session) {
    const CatalogList& list = session.catalog->list;
    for (int j = 0; j < kSlots; ++j) {
        const int id = slotColumn(session, j);
        platform::setControlText(dialog, kFirstName + j,
                                 id >= 0 ? list.columns[std::size_t(id)].displayName : "");
        platform::setControlText(dialog, kFirstField + j,
                                 id >= 0 ? session.field[std::size_t(id)] : "");
        platform::setReadOnly(dialog, kFirstField + j, id < 0);
    }
    platform::setPosition(dialog, kPageArrows, session.page + 1);
}

void turnPage(DialogId dialog, DataSession& session) {
    const int page = platform::controlNumber(dialog, kPageBox, 2) - 1;
    if (page == session.page || page < 0 || page >= pageCount(session)) return;
    keepFields(dialog, session);
    session.page = keptPage = page;
    showPage(dialog, session);
}

// A field the user left as it came keeps the whole cell, however long.
void writeBack(DialogId dialog, DataSession& session) {
    keepFields(dialog, session);
    CatalogWindow& catalog = *session.catalog;
    for (int id : session.order) {
        const std::string& cell = session.cell[std::size_t(id)];
        const std::string& field = session.field[std::size_t(id)];
        if (field != platform::cp932FittingPrefix(cell, kFieldLimit))
            setCellOf(catalog, session.row, id, field);
    }
    catalog.list.modified = true;
}

int dataProcedure(DialogId dialog, DialogMessage message, const DialogParams& params) {
    DataSession& session = *static_cast<DataSession*>(params.context);
    if (message == DialogMessage::Init) {
        platform::setRange(dialog, kPageArrows, 1, pageCount(session));
        showPage(dialog, session);
        return 1;
    }
    if (message != DialogMessage::Command) return 0;
    if (params.id == kPageBox && params.notification == platform::Notification::Changed) {
        turnPage(dialog, session);
        return 1;
    }
    if (params.id == platform::kOkId && params.notification == platform::Notification::Clicked)
        writeBack(dialog, session);
    return platform::endOnOkOrCancel(dialog, message, params);
}

void runDataDialog(CatalogWindow& catalog, int row) {
    DataSession session;
    session.catalog = &catalog;
    session.row = row;
    session.order = visibleOrder(catalog.list);
    if (keptPage > int(session.order.size()) / kSlots) keptPage = 0;
    session.page = keptPage;
    for (int id : session.order) {
        session.cell[std::size_t(id)] = cellOf(catalog, row, id);
        session.field[std::size_t(id)] =
            platform::cp932FittingPrefix(session.cell[std::size_t(id)], kFieldLimit);
    }
    platform::runDialog("LIST_DATA", catalog.window, dataProcedure, &session);
}

} // namespace

void runDataDialogs(CatalogWindow& catalog) {
    for (int row : selectedRows(catalog))
        runDataDialog(catalog, row);
}
