#include "catalog/column_rename_dialog.h"

#include "catalog/catalog_view.h"
#include "catalog/column_choice.h"
#include "platform/dialog.h"
#include "platform/text_encoding.h"

namespace {

using platform::DialogId;
using platform::DialogMessage;
using platform::DialogParams;

constexpr int kColumnChoice = 1042;
constexpr int kNewName = 1003;
constexpr int kDefaultName = 1048;

// The column at the chosen display position; -1 for none.
int chosenColumn(DialogId dialog, const CatalogList& list) {
    const int position = platform::selection(dialog, kColumnChoice);
    return position >= 0 && position < list.visibleCount ? visibleOrder(list)[std::size_t(position)]
                                                         : -1;
}

void rename(DialogId dialog, CatalogWindow& catalog) {
    CatalogList& list = catalog.list;
    const int id = chosenColumn(dialog, list);
    if (id < 0) return;
    const std::string name(
        platform::cp932FittingPrefix(platform::controlText(dialog, kNewName), kColumnNameLimit));
    list.columns[std::size_t(id)].displayName = name;
    takeColumnWidths(catalog);
    list.viewColumns[std::size_t(columnPosition(list, id))].name = name;
    const std::vector<int> selected = selectedRows(catalog);
    showWholeCatalog(catalog);
    platform::setSelectedReportRows(catalog.view, selected);
}

int renameProcedure(DialogId dialog, DialogMessage message, const DialogParams& params) {
    CatalogWindow& catalog = *static_cast<CatalogWindow*>(params.context);
    const CatalogList& list = catalog.list;
    auto showName = [&](bool byDefault) {
        const int id = chosenColumn(dialog, list);
        if (id < 0) return;
        const CatalogColumn& column = list.columns[std::size_t(id)];
        platform::setControlText(dialog, kNewName,
                                 byDefault ? column.defaultName : column.displayName);
    };
    if (message == DialogMessage::Init) {
        fillColumnChoice(dialog, kColumnChoice, list);
        showName(false);
        return 1;
    }
    if (message != DialogMessage::Command) return 0;
    if (params.id == kColumnChoice &&
        params.notification == platform::Notification::SelectionChanged) {
        showName(false);
        return 1;
    }
    if (params.notification != platform::Notification::Clicked) return 0;
    if (params.id == kDefaultName) {
        showName(true);
        return 1;
    }
    if (params.id == platform::kOkId) rename(dialog, catalog);
    return platform::endOnOkOrCancel(dialog, message, params);
}

} // namespace

void runColumnRenameDialog(CatalogWindow& catalog) {
    platform::runDialog("LIST_COLUMN_EDIT", catalog.window, renameProcedure, &catalog);
}
