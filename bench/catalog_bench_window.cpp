#include "catalog_bench_window.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/application.h"
#include "platform/window.h"

BenchCatalogWindow::BenchCatalogWindow() {
    platform::WindowClass owner;
    owner.name = "BenchOwner";
    owner.procedure = [](platform::WindowId, platform::MessageKind,
                         const platform::MessageParams&) { return 0; };
    platform::registerWindowClass(owner);
    platform::WindowCreation creation;
    creation.className = owner.name;
    creation.rect = platform::rectAt(0, 0, 400, 300);
    catalog.viewer.mainWindow = platform::createWindow(creation);
    catalog.viewer.pages = &pages;
    createCatalogWindow(catalog);
    platform::showWindow(catalog.window, platform::ShowCommand::Show);
    platform::processPendingMessages();
}

BenchCatalogWindow::~BenchCatalogWindow() {
    platform::destroyWindow(catalog.viewer.mainWindow);
    platform::processPendingMessages();
}

int runBenchmarksWithApplication(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::startApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::stopApplication();
    return 0;
}
