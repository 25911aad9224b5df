// report_list_host.h - the Qt side of the report list, for the platform files
// that place one inside a widget of their own (a dialog's). Nothing above
// platform/ includes it.
#pragma once

#include <QRect>
#include <QWidget>

#include "platform/report_list.h"

namespace platform::detail {

// A report list as a child widget of `parent` at `rect`; it goes with it.
ReportListId createReportListIn(QWidget* parent, const QRect& rect,
                                const ReportListOptions& options);
// Its widget; null when not a list.
QWidget* reportListWidget(ReportListId list);

} // namespace platform::detail
