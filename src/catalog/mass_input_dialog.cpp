#include "catalog/mass_input_dialog.h"

#include "catalog/catalog_view.h"
#include "catalog/column_choice.h"
#include "platform/dialog.h"
#include "platform/text_encoding.h"

namespace {

using platform::DialogId;
using platform::DialogMessage;
using platform::DialogParams;

constexpr int kColumnChoice = 1042;
constexpr int kText = 1003;

void putIntoSelected(DialogId dialog, CatalogWindow& catalog) {
    CatalogList& list = catalog.list;
    const int position = platform::selection(dialog, kColumnChoice);
    const std::string text(
        platform::cp932FittingPrefix(platform::controlText(dialog, kText), kCellLimit));
    if (position >= 0 && position < list.visibleCount) {
        const int id = visibleOrder(list)[std::size_t(position)];
        for (int row : selectedRows(catalog))
            setCellOf(catalog, row, id, text);
    }
    list.modified = true;
}

int massInputProcedure(DialogId dialog, DialogMessage message, const DialogParams& params) {
    CatalogWindow& catalog = *static_cast<CatalogWindow*>(params.context);
    if (message == DialogMessage::Init) {
        fillColumnChoice(dialog, kColumnChoice, catalog.list);
        platform::focusControl(dialog, kText);
        return 1;
    }
    if (message == DialogMessage::Command &&
        params.notification == platform::Notification::Clicked && params.id == platform::kOkId)
        putIntoSelected(dialog, catalog);
    return platform::endOnOkOrCancel(dialog, message, params);
}

} // namespace

void runMassInputDialog(CatalogWindow& catalog) {
    platform::runDialog("LIST_EDIT_MASSPUT", catalog.window, massInputProcedure, &catalog);
}
