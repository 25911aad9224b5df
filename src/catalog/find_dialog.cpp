#include "catalog/find_dialog.h"

#include <cstdio>

#include "catalog/catalog_search.h"
#include "catalog/catalog_view.h"
#include "catalog/column_choice.h"
#include "platform/modal.h"
#include "platform/text_encoding.h"
#include "platform/text_match.h"

namespace {

using platform::DialogId;
using platform::DialogMessage;
using platform::DialogParams;

constexpr int kSearchText = 1042;
constexpr int kFindUp = 1043;          // LIST_FIND
constexpr int kReplacementText = 1043; // LIST_REPLACE
constexpr int kFindDown = 1044;
constexpr int kCaseMatters = 1014;
constexpr int kWidthMatters = 1056;
constexpr int kKanaMatters = 1057;
constexpr int kSymbolsMatter = 1058;
constexpr int kScopeAll = 1018;
constexpr int kScopeText = 1019;
constexpr int kScopeOne = 1020;
constexpr int kScopeColumn = 1059;
constexpr int kReplace = 1068;
constexpr int kReplaceAll = 1069;

enum class Kind { Find, Replace };

// The row each kind of dialog found last, kept from one dialog to the next.
int foundLast[2] = {0, 0};

struct FindSession {
    CatalogWindow* catalog;
    Kind kind;
    std::string lastSearch; // the history's newest entry
};

// Checked boxes add nothing; an unchecked one lets its difference go. The
// symbol box lets symbols go in an upward search of the find dialog and
// nonspacing marks everywhere else.
unsigned matchOptions(DialogId dialog, bool dropSymbols) {
    unsigned options = 0;
    if (!platform::isChecked(dialog, kCaseMatters)) options |= platform::kMatchIgnoreCase;
    if (!platform::isChecked(dialog, kWidthMatters)) options |= platform::kMatchIgnoreWidth;
    if (!platform::isChecked(dialog, kKanaMatters)) options |= platform::kMatchIgnoreKanaType;
    if (!platform::isChecked(dialog, kSymbolsMatter))
        options |= dropSymbols ? platform::kMatchIgnoreSymbols : platform::kMatchIgnoreNonSpace;
    return options;
}

std::string limitedText(DialogId dialog, int id) {
    return std::string(
        platform::cp932FittingPrefix(platform::controlText(dialog, id), kSearchTextLimit));
}

SearchRequest requestOf(DialogId dialog, const CatalogList& list, bool dropSymbols) {
    SearchScope scope = platform::isChecked(dialog, kScopeText)  ? SearchScope::TextColumns
                        : platform::isChecked(dialog, kScopeOne) ? SearchScope::OneColumn
                                                                 : SearchScope::AllColumns;
    return {scopePositions(list, scope, platform::selection(dialog, kScopeColumn)),
            limitedText(dialog, kSearchText), matchOptions(dialog, dropSymbols)};
}

void search(DialogId dialog, FindSession& session, bool downward) {
    CatalogWindow& catalog = *session.catalog;
    int& found = foundLast[int(session.kind)];
    SearchRequest request =
        requestOf(dialog, catalog.list, session.kind == Kind::Find && !downward);
    const int start = firstSelectedRow(catalog);
    if (start >= 0) found = start;
    platform::setSelectedReportRows(catalog.view, {});
    const int row = findRow(catalog.list, start, downward, request);
    if (row >= 0) found = row;
    if (found < int(catalog.list.rows.size())) platform::selectOnlyReportRow(catalog.view, found);
    if (request.search != session.lastSearch) {
        platform::addItem(dialog, kSearchText, request.search);
        session.lastSearch = request.search;
    }
}

void replaceSelected(DialogId dialog, CatalogWindow& catalog) {
    const int row = firstSelectedRow(catalog);
    if (row < 0) return;
    replaceInRow(catalog.list, row, requestOf(dialog, catalog.list, false),
                 limitedText(dialog, kReplacementText));
    catalog.list.modified = true;
    platform::updateReportRows(catalog.view, row, row);
}

void replaceAll(DialogId dialog, CatalogWindow& catalog) {
    CatalogList& list = catalog.list;
    const int count = replaceInAllRows(list, requestOf(dialog, list, false),
                                       limitedText(dialog, kReplacementText));
    list.modified = true;
    platform::updateReportRows(catalog.view, 0, int(list.rows.size()) - 1);
    if (count == 0) return;
    char text[48];
    std::snprintf(text, sizeof text, "%d アイテム置換っ！！", count);
    platform::messageBox(catalog.window, text, "置換したぞ");
}

void initialise(DialogId dialog, const CatalogList& list) {
    fillColumnChoice(dialog, kScopeColumn, list);
    platform::setChecked(dialog, kScopeAll, true);
    platform::focusControl(dialog, kSearchText);
}

int command(DialogId dialog, FindSession& session, int id) {
    const bool replacing = session.kind == Kind::Replace;
    switch (id) {
    case kFindDown:
        search(dialog, session, true);
        return 1;
    case kFindUp: // the replacement text's id in LIST_REPLACE
        if (replacing) return 0;
        search(dialog, session, false);
        return 1;
    case kReplace:
        if (replacing) replaceSelected(dialog, *session.catalog);
        return 1;
    case kReplaceAll:
        if (replacing) replaceAll(dialog, *session.catalog);
        return 1;
    case platform::kCancelId:
        platform::destroyDialog(dialog);
        return 1;
    default:
        return 0;
    }
}

int findProcedure(DialogId dialog, DialogMessage message, const DialogParams& params) {
    auto* session = static_cast<FindSession*>(params.context);
    switch (message) {
    case DialogMessage::Init:
        initialise(dialog, session->catalog->list);
        return 1;
    case DialogMessage::Command:
        if (params.notification != platform::Notification::Clicked) return 0;
        return command(dialog, *session, params.id);
    case DialogMessage::Destroy:
        delete session;
        return 1;
    default:
        return 0;
    }
}

DialogId open(CatalogWindow& catalog, Kind kind) {
    auto* session = new FindSession{&catalog, kind, {}};
    const DialogId dialog = platform::createDialog(
        kind == Kind::Find ? "LIST_FIND" : "LIST_REPLACE", catalog.window, findProcedure, session);
    if (!dialog) delete session; // no template: the procedure never ran
    return dialog;
}

} // namespace

DialogId openFindDialog(CatalogWindow& catalog) {
    return open(catalog, Kind::Find);
}

DialogId openReplaceDialog(CatalogWindow& catalog) {
    return open(catalog, Kind::Replace);
}
