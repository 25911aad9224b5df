// catalog_search.h - finding rows of the catalog whose cells hold a text, and
// replacing that text in them, with the matching of platform/text_match.h.
//
// Search and replacement texts and the searched part of each cell are held to
// kSearchTextLimit bytes as the list file stores them (CP932); what follows in
// a longer cell is neither searched nor changed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog_list.h"

inline constexpr std::size_t kSearchTextLimit = 519;

enum class SearchScope { AllColumns, TextColumns, OneColumn };

// The display positions searched: every visible column, the visible columns
// of kind Text, or the one at `chosen`.
std::vector<int> scopePositions(const CatalogList& list, SearchScope scope, int chosen);

struct SearchRequest {
    std::vector<int> positions; // scopePositions
    std::string search;         // already held to kSearchTextLimit
    unsigned options = 0;       // MatchOption flags
};

bool rowMatches(const CatalogList& list, int row, const SearchRequest& request);
// The first matching row after `start` (downward) or before it (upward); -1
// when none. Upward from -1 looks at nothing.
int findRow(const CatalogList& list, int start, bool downward, const SearchRequest& request);

// Replaces the search text by `replacement` in the cells of `row` in scope;
// true when any cell changed. Leaves `modified` alone.
bool replaceInRow(CatalogList& list, int row, const SearchRequest& request,
                  std::string_view replacement);
// The same in every row; the count of rows with a replacement.
int replaceInAllRows(CatalogList& list, const SearchRequest& request, std::string_view replacement);
