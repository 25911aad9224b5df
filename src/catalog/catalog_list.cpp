// catalog_list.cpp - the column table and the model's few operations.
#include "catalog/catalog_list.h"

namespace {

struct ColumnDefault {
    const char* name;
    ColumnKind kind;
    int width;
    int position;
};

constexpr ColumnDefault kDefaults[kColumnCount] = {
    {"タイトル", ColumnKind::Text, 130, 0},
    {"制作者", ColumnKind::Text, 70, -1},
    {"場所", ColumnKind::Text, 150, 1},
    {"タイプ", ColumnKind::Number, 70, -1},
    {"更新日時", ColumnKind::Date, 100, -1},
    {"追加日時", ColumnKind::Date, 100, -1},
    {"総ファイル数", ColumnKind::Number, 70, -1},
    {"画像数(JPG)", ColumnKind::Number, 70, -1},
    {"エラー画像数(JPG)", ColumnKind::Number, 70, -1},
    {"合計ファイルサイズ", ColumnKind::Number, 70, -1},
    {"平均ファイルサイズ", ColumnKind::Number, 70, -1},
    {"中間ファイルサイズ", ColumnKind::Number, 70, -1},
    {"Avg.X", ColumnKind::Number, 40, -1},
    {"Avg.Y", ColumnKind::Number, 40, -1},
    {"Mid.X", ColumnKind::Number, 40, -1},
    {"Mid.Y", ColumnKind::Number, 40, -1},
    {"備考", ColumnKind::Text, 70, -1},
    {"内容", ColumnKind::Text, 70, -1},
    {"ユーザー定義１", ColumnKind::Text, 70, -1},
    {"ユーザー定義２", ColumnKind::Text, 70, -1},
    {"ユーザー定義３", ColumnKind::Text, 70, -1},
    {"お気に入り", ColumnKind::Text, 70, -1},
    {"使用頻度", ColumnKind::Counter, 60, -1},
    {"ＣＤ名", ColumnKind::Text, 70, -1},
    {"スタートページ", ColumnKind::Text, 70, -1},
    {"ラストページ", ColumnKind::Text, 70, -1},
};

std::vector<ViewColumn> viewColumnsAfterTitle(const CatalogList& list) {
    std::vector<ViewColumn> after;
    std::vector<int> order = visibleOrder(list);
    for (std::size_t p = 1; p < order.size(); ++p) {
        const CatalogColumn& column = list.columns[order[p]];
        after.push_back({column.displayName, column.defaultWidth});
    }
    return after;
}

} // namespace

void resetColumns(CatalogList& list) {
    for (int id = 0; id < kColumnCount; ++id) {
        const ColumnDefault& d = kDefaults[id];
        list.columns[id] = {d.name, d.name, d.position, d.width, d.kind};
    }
}

void resetCatalog(CatalogList& list) {
    resetColumns(list);
    list.visibleCount = 2;
    list.rows.clear();
    list.viewColumns.clear();
    buildViewColumns(list);
    list.nextSerial = 0;
    list.modified = false;
    list.hasFileName = false;
    list.listPath.clear();
    list.currentRow = -1;
}

std::vector<int> visibleOrder(const CatalogList& list) {
    std::vector<int> order(std::size_t(list.visibleCount), -1);
    for (int id = 0; id < kColumnCount; ++id) {
        int position = list.columns[id].displayPosition;
        if (position >= 0 && position < list.visibleCount) order[std::size_t(position)] = id;
    }
    return order;
}

void buildViewColumns(CatalogList& list) {
    list.viewColumns.clear();
    list.viewColumns.push_back({list.columns[kColumnTitle].displayName, kTitleViewWidth});
    for (ViewColumn& column : viewColumnsAfterTitle(list)) list.viewColumns.push_back(std::move(column));
}

void buildViewColumnsAfterTitle(CatalogList& list) {
    std::vector<ViewColumn> after = viewColumnsAfterTitle(list);
    std::size_t at = list.viewColumns.empty() ? 0 : 1;
    list.viewColumns.insert(list.viewColumns.begin() + std::ptrdiff_t(at), after.begin(), after.end());
}

void appendRow(CatalogList& list, int icon, RowCells texts) {
    texts.resize(std::size_t(list.visibleCount));
    list.rows.push_back({icon, list.nextSerial, std::move(texts), {}});
    ++list.nextSerial;
}
