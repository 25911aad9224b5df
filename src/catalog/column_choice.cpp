#include "catalog/column_choice.h"

void fillColumnChoice(platform::DialogId dialog, int control, const CatalogList& list) {
    for (int id : visibleOrder(list))
        platform::addItem(dialog, control, list.columns[std::size_t(id)].displayName);
    platform::setSelection(dialog, control, 0);
}
