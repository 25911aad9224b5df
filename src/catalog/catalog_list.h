// catalog_list.h - the catalog: 26 fixed columns of which any subset is
// visible in any order (the title always first), and one row per catalogued
// folder, picture or archive.
//
// A row holds a text cell for each visible column only, in display order:
// cell p belongs to the column at display position p. A column hidden while
// the list is open keeps its cells aside in each row until it is shown again
// or the list is saved (the file holds the visible columns only). Texts are
// UTF-8 in memory.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "catalog/row_cells.h"

enum class ColumnKind { Text = 1, Number = 2, Date = 3, Counter = 4 };

enum ColumnId {
    kColumnTitle, kColumnAuthor, kColumnLocation, kColumnType, kColumnUpdated, kColumnAdded,
    kColumnTotalFiles, kColumnJpegCount, kColumnJpegErrors, kColumnTotalSize, kColumnAverageSize,
    kColumnMedianSize, kColumnAvgX, kColumnAvgY, kColumnMidX, kColumnMidY, kColumnRemarks,
    kColumnContents, kColumnUser1, kColumnUser2, kColumnUser3, kColumnFavourite, kColumnUseCount,
    kColumnCdName, kColumnStartPage, kColumnLastPage,
};
inline constexpr int kColumnCount = 26;

// Byte limits of the list file, counted as the texts are stored there.
inline constexpr std::size_t kColumnNameLimit = 255;
inline constexpr std::size_t kCellLimit = 1023;
// View column 0 (the title) is always created this wide.
inline constexpr int kTitleViewWidth = 140;

struct CatalogColumn {
    std::string defaultName;
    std::string displayName;
    int displayPosition = -1; // -1 hidden, else 0 .. V-1
    int defaultWidth = 70;
    ColumnKind kind = ColumnKind::Text;
};

enum TypeIcon { kIconFolder = 0, kIconFile = 1, kIconArchive = 2 };

// The cell of a column hidden since the list was read or last saved.
struct HiddenCell {
    int id = 0;
    std::string text;
};

struct CatalogRow {
    int icon = kIconFolder;
    int serial = 0;
    RowCells cells; // one per visible column, in display order
    std::vector<HiddenCell> hidden; // only cells that were not empty
};

// What the report view shows as a column: its header text and width.
struct ViewColumn {
    std::string name;
    int width = 0;
};

struct CatalogList {
    std::array<CatalogColumn, kColumnCount> columns;
    int visibleCount = 2; // V
    std::vector<CatalogRow> rows;
    // The report view's columns in display order, with the widths the user
    // left them at; the catalog window mirrors this.
    std::vector<ViewColumn> viewColumns;
    int nextSerial = 0;
    bool modified = false;
    bool hasFileName = false;
    std::string listPath;
    int currentRow = -1;
    std::array<int, kColumnCount> sortDirection{}; // per display position: 0 never, 1 up, 2 down
};

// Every descriptor back to its default names, width, kind and position
// (Title at 0, Location at 1, the others hidden).
void resetColumns(CatalogList& list);
// The catalog as the window starts it and New leaves it: default columns,
// V = 2, their view columns, no rows, no file. The sort directions stay.
void resetCatalog(CatalogList& list);
// Element p is the id of the column at display position p.
std::vector<int> visibleOrder(const CatalogList& list);
// The view's columns from the descriptors: the title 140 wide, then each
// visible column with its display name and default width.
void buildViewColumns(CatalogList& list);
// The same for view columns 1 .. V-1 only, inserted after the title in front
// of any columns already there.
void buildViewColumnsAfterTitle(CatalogList& list);
// The display position of column `id`, -1 when it is hidden.
inline int columnPosition(const CatalogList& list, int id) {
    return list.columns[std::size_t(id)].displayPosition;
}
// Adds a row at the end with serial nextSerial; `texts` gives the V cells
// (missing ones start empty, extra ones are dropped). Leaves `modified` alone.
void appendRow(CatalogList& list, int icon, RowCells texts);
