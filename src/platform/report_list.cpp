// report_list.cpp - the report list over a QTableView whose model asks the
// owner's source for each cell it paints.
#include "platform/report_list.h"

#include <QAbstractTableModel>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QTableView>
#include <algorithm>
#include <map>

#include "platform/accelerator.h"
#include "platform/keys.h"
#include "platform/key_translation.h"
#include "platform/report_list_host.h"
#include "platform/window_host.h"

namespace platform {
namespace {

Qt::Alignment qtAlignment(ColumnAlignment alignment) {
    switch (alignment) {
    case ColumnAlignment::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlignment::Centre:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case ColumnAlignment::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

class ReportModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount({}))
            return {};
        switch (role) {
        case Qt::DisplayRole:
            if (!source_.cellText) return {};
            return QString::fromStdString(source_.cellText(index.row(), index.column()));
        case Qt::DecorationRole: {
            if (index.column() != 0 || !source_.icon) return {};
            int icon = source_.icon(index.row());
            if (icon < 0 || icon >= static_cast<int>(icons_.size())) return {};
            return icons_[static_cast<std::size_t>(icon)];
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(qtAlignment(columns_[std::size_t(index.column())].alignment));
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= columnCount({})) return {};
        const ReportColumn& column = columns_[std::size_t(section)];
        if (role == Qt::DisplayRole) return QString::fromStdString(column.name);
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(qtAlignment(column.alignment));
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    void setSource(ReportSource source) {
        beginResetModel();
        source_ = std::move(source);
        endResetModel();
    }
    void setIcons(std::vector<QIcon> icons) { icons_ = std::move(icons); }
    void setColumns(const std::vector<ReportColumn>& columns) {
        beginResetModel();
        columns_ = columns;
        endResetModel();
    }
    void setRows(int rows) {
        beginResetModel();
        rows_ = std::max(0, rows);
        endResetModel();
    }
    void insertRowsAt(int at, int count) {
        if (count <= 0 || at < 0 || at > rows_) return;
        beginInsertRows({}, at, at + count - 1);
        rows_ += count;
        endInsertRows();
    }
    void removeRowsAt(int at, int count) {
        count = std::min(count, rows_ - at);
        if (count <= 0 || at < 0) return;
        beginRemoveRows({}, at, at + count - 1);
        rows_ -= count;
        endRemoveRows();
    }
    void rowsChanged(int first, int last) {
        first = std::max(first, 0);
        last = std::min(last, rows_ - 1);
        if (first > last || columns_.empty()) return;
        emit dataChanged(index(first, 0), index(last, columnCount({}) - 1));
    }
    int rows() const { return rows_; }

private:
    int rows_ = 0;
    std::vector<ReportColumn> columns_;
    ReportSource source_;
    std::vector<QIcon> icons_;
};

struct ReportRecord {
    QPointer<QTableView> view;
    ReportModel* model = nullptr; // owned by the view
    ReportListener listener;
};

std::map<ReportListId, ReportRecord>& lists() {
    static std::map<ReportListId, ReportRecord> table;
    return table;
}

ReportListId nextList = 1;

ReportRecord* findList(ReportListId list) {
    auto it = lists().find(list);
    return it == lists().end() || !it->second.view ? nullptr : &it->second;
}

// Tells the listener; false when there is none, or when the list went while
// the listener ran.
bool notify(ReportListId list, const ReportEvent& event, bool& alive) {
    ReportRecord* record = findList(list);
    alive = record != nullptr;
    if (!record || !record->listener) return false;
    ReportListener listener = record->listener; // it may replace itself
    bool taken = listener(event);
    alive = findList(list) != nullptr;
    return taken;
}

Point screenPoint(const QPoint& global) {
    return {global.x(), global.y()};
}

class ReportView : public QTableView {
public:
    ReportView(ReportListId id, QWidget* parent) : QTableView(parent), id_(id) {}

protected:
    // Tab is a key like any other here, not a focus move.
    bool focusNextPrevChild(bool) override { return false; }

    void keyPressEvent(QKeyEvent* event) override {
        ReportEvent report;
        report.key = detail::keyOf(event->key());
        report.state = detail::modifierState(event->modifiers()) |
                       detail::buttonState(QGuiApplication::mouseButtons());
        if (report.key != key::Unknown && translateAccelerator(report.key, report.state)) return;
        bool alive = true;
        if (notify(id_, report, alive) || !alive) return;
        QTableView::keyPressEvent(event);
    }

    void mousePressEvent(QMouseEvent* event) override {
        ReportEvent report;
        report.kind = ReportEventKind::ButtonDown;
        report.button = detail::mouseButtonOf(event->button());
        report.row = rowAt(event->position().toPoint());
        report.state = detail::modifierState(event->modifiers()) | detail::buttonState(event->buttons());
        report.screenPosition = screenPoint(event->globalPosition().toPoint());
        bool alive = true;
        notify(id_, report, alive);
        if (alive) QTableView::mousePressEvent(event);
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QPointer<ReportView> self(this);
        QTableView::mouseDoubleClickEvent(event);
        if (!self || event->button() != Qt::LeftButton) return;
        ReportEvent report;
        report.kind = ReportEventKind::DoubleClick;
        report.button = MouseButton::Left;
        report.row = rowAt(event->position().toPoint());
        report.state = detail::modifierState(event->modifiers()) | detail::buttonState(event->buttons());
        report.screenPosition = screenPoint(event->globalPosition().toPoint());
        bool alive = true;
        notify(id_, report, alive);
    }

    void contextMenuEvent(QContextMenuEvent* event) override {
        ReportEvent report;
        report.kind = ReportEventKind::ContextMenu;
        report.screenPosition = screenPoint(event->globalPos());
        bool alive = true;
        notify(id_, report, alive);
        event->accept();
    }

private:
    // The row at a point of the viewport; -1 below the last row.
    int rowAt(const QPoint& point) const {
        QModelIndex index = indexAt(point);
        return index.isValid() ? index.row() : -1;
    }

    ReportListId id_;
};

QItemSelection selectionOf(const ReportModel& model, std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    QItemSelection selection;
    int lastColumn = model.columnCount({}) - 1;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] <= rows[j] + 1) ++j;
        if (rows[i] >= 0 && rows[j] < model.rows())
            selection.select(model.index(rows[i], 0), model.index(rows[j], std::max(lastColumn, 0)));
        i = j + 1;
    }
    return selection;
}

} // namespace

namespace detail {

ReportListId createReportListIn(QWidget* parent, const QRect& rect, const ReportListOptions& options) {
    if (!parent) return 0;
    ReportListId id = nextList++;
    auto* view = new ReportView(id, parent);
    auto* model = new ReportModel(view);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(options.multipleSelection ? QAbstractItemView::ExtendedSelection
                                                     : QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTabKeyNavigation(false);
    view->setShowGrid(options.gridLines);
    view->setWordWrap(false);
    view->setIconSize(QSize(16, 16));
    view->setFocusPolicy(Qt::StrongFocus);
    QHeaderView* header = view->horizontalHeader();
    header->setSectionsMovable(options.headerDragDrop);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // One height for every row, so the view never measures rows.
    QHeaderView* rows = view->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(std::max(18, view->fontMetrics().height() + 4));
    QObject::connect(header, &QHeaderView::sectionClicked, view, [id](int column) {
        ReportEvent report;
        report.kind = ReportEventKind::HeaderClick;
        report.column = column;
        bool alive = true;
        notify(id, report, alive);
    });
    QObject::connect(view, &QObject::destroyed, [id] { lists().erase(id); });
    view->setGeometry(rect);
    view->show();
    lists()[id] = ReportRecord{view, model, {}};
    return id;
}

QWidget* reportListWidget(ReportListId list) {
    ReportRecord* record = findList(list);
    return record ? record->view.data() : nullptr;
}

} // namespace detail

ReportListId createReportList(WindowId parent, Rect rect, const ReportListOptions& options) {
    return detail::createReportListIn(detail::clientWidget(parent), detail::toQRect(rect), options);
}

bool isReportList(ReportListId list) {
    return findList(list) != nullptr;
}

void setReportSource(ReportListId list, ReportSource source) {
    if (ReportRecord* record = findList(list)) record->model->setSource(std::move(source));
}

void setReportListener(ReportListId list, ReportListener listener) {
    if (ReportRecord* record = findList(list)) record->listener = std::move(listener);
}

void setReportImages(ReportListId list, const std::vector<const char* const*>& images) {
    ReportRecord* record = findList(list);
    if (!record) return;
    std::vector<QIcon> icons;
    for (const char* const* xpm : images) icons.emplace_back(QPixmap(xpm));
    record->model->setIcons(std::move(icons));
    record->view->viewport()->update();
}

void setReportColumns(ReportListId list, const std::vector<ReportColumn>& columns) {
    ReportRecord* record = findList(list);
    if (!record) return;
    QHeaderView* header = record->view->horizontalHeader();
    record->model->setColumns(columns);
    for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
        header->moveSection(header->visualIndex(column), column);
        header->resizeSection(column, columns[std::size_t(column)].width);
    }
}

int reportColumnCount(ReportListId list) {
    ReportRecord* record = findList(list);
    return record ? record->model->columnCount({}) : 0;
}

int reportColumnWidth(ReportListId list, int column) {
    ReportRecord* record = findList(list);
    if (!record || column < 0 || column >= record->model->columnCount({})) return 0;
    return record->view->horizontalHeader()->sectionSize(column);
}

void setReportRowCount(ReportListId list, int rows) {
    if (ReportRecord* record = findList(list)) record->model->setRows(rows);
}

int reportRowCount(ReportListId list) {
    ReportRecord* record = findList(list);
    return record ? record->model->rows() : 0;
}

void insertReportRows(ReportListId list, int at, int count) {
    if (ReportRecord* record = findList(list)) record->model->insertRowsAt(at, count);
}

void removeReportRows(ReportListId list, int at, int count) {
    if (ReportRecord* record = findList(list)) record->model->removeRowsAt(at, count);
}

void updateReportRows(ReportListId list, int first, int last) {
    if (ReportRecord* record = findList(list)) record->model->rowsChanged(first, last);
}

std::vector<int> selectedReportRows(ReportListId list) {
    std::vector<int> rows;
    ReportRecord* record = findList(list);
    if (!record) return rows;
    for (const QItemSelectionRange& range : record->view->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void setSelectedReportRows(ReportListId list, const std::vector<int>& rows) {
    ReportRecord* record = findList(list);
    if (!record) return;
    record->view->selectionModel()->select(selectionOf(*record->model, rows),
                                           QItemSelectionModel::ClearAndSelect);
}

void selectOnlyReportRow(ReportListId list, int row) {
    ReportRecord* record = findList(list);
    if (!record || row < 0 || row >= record->model->rows()) return;
    QModelIndex index = record->model->index(row, 0);
    record->view->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    record->view->scrollTo(index);
}

void moveReportList(ReportListId list, Rect rect) {
    if (ReportRecord* record = findList(list)) record->view->setGeometry(detail::toQRect(rect));
}

void focusReportList(ReportListId list) {
    ReportRecord* record = findList(list);
    if (!record) return;
    record->view->window()->activateWindow();
    record->view->setFocus(Qt::OtherFocusReason);
}

bool reportListHasFocus(ReportListId list) {
    ReportRecord* record = findList(list);
    return record && record->view->hasFocus();
}

} // namespace platform
