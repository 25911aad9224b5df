// catalog_bench_window.h - a shown catalog window on Qt's offscreen platform,
// owned by a window that stands for the viewer's main window, and the main
// function of the benchmarks that need one.
#pragma once

#include "catalog/catalog_window.h"
#include "sources/page_list.h"

struct BenchCatalogWindow {
    BenchCatalogWindow();
    ~BenchCatalogWindow();
    PageList pages{"/nonexistent/"}; // no plug-ins
    CatalogWindow catalog;
};

// Runs the registered benchmarks with the application started.
int runBenchmarksWithApplication(int argc, char** argv);
