#include "viewer/navigation.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "catalog/disc_prompt.h"
#include "picture/pipeline.h"
#include "platform/memory_block.h"
#include "platform/modal.h"
#include "platform/window.h"
#include "resources/command_ids.h"
#include "viewer/reduced_pictures.h"
#include "viewer/view_layout.h"
#include "viewer/viewer.h"

namespace {

void showError(const char* caption) {
    Viewer& v = viewer();
    platform::messageBox(v.mainWindow, v.pages.errorText, caption);
}

// The receiver takes over the page list's last decoded picture; the list
// forgets the handles so that no block is named twice.
void takeLoaded(PictureBuffer& receiver) {
    PageList& pages = viewer().pages;
    receiver.attach(pages.loadedHeader, pages.loadedBits);
    pages.loadedHeader = nullptr;
    pages.loadedBits = nullptr;
    forgetReduced(receiver);
}

// The picture moves from `giver` to `receiver` without a copy.
void handOver(PictureBuffer& giver, PictureBuffer& receiver) {
    receiver.attach(giver.headerBlock, giver.bitsBlock);
    giver.release();
}

PipelineOptions currentOptions() {
    Viewer& v = viewer();
    const ModeSettings& mode = v.mode();
    PipelineOptions options;
    options.use24bit = v.settings.use24bit;
    options.transform = mode.TRANSFORM;
    options.filter = mode.FILTER;
    options.shapeRule = v.normalMode() ? 1 : v.settings.mihiraki;
    return options;
}

// Entry `index` of the open list with the options in force.
PageKey keyOf(int index) {
    const PageList& pages = viewer().pages;
    PageKey key;
    key.index = index;
    if (index >= 0 && index < static_cast<int>(pages.entries.size()))
        key.name = pages.entries[static_cast<std::size_t>(index)];
    key.options = currentOptions();
    return key;
}

// A picture taken from the kept pages is processed already: only the
// rotation its processing made is set again.
void process(PictureBuffer& picture, PageOrigin& origin) {
    if (origin.processed) {
        lastRotation = origin.rotation;
        return;
    }
    const PipelineOptions options = currentOptions();
    // Processing may change the pixels or replace the blocks: a reduced form
    // made from the unprocessed page no longer holds.
    const bool changes = options.use24bit || options.transform || options.filter;
    if (changes) forgetReduced(picture);
    processLoaded(picture, options);
    if (changes) forgetReduced(picture);
    origin.key.options = options;
    origin.rotation = lastRotation;
    origin.processed = true;
}

// The shown picture leaves `picture`: kept for a step back when it was
// processed with the options still in force (with its reduced forms), freed
// otherwise.
void retire(PictureBuffer& picture, PageOrigin& origin) {
    Viewer& v = viewer();
    if (picture.owned && origin.processed && origin.key.index >= 0 &&
        origin.key == keyOf(origin.key.index)) {
        v.keptPages.keep(origin.key, picture, origin.rotation);
    } else {
        forgetReduced(picture);
        picture.freeBlocks();
    }
    origin = {};
}

// A shown buffer takes over the page list's last loaded picture, its
// former picture retired.
void takeShown(PictureBuffer& receiver, PageOrigin& origin) {
    retire(receiver, origin);
    PageList& pages = viewer().pages;
    receiver.attach(pages.loadedHeader, pages.loadedBits);
    pages.loadedHeader = nullptr;
    pages.loadedBits = nullptr;
    origin = std::exchange(viewer().document.loadedOrigin, {});
    // The reduced forms of a kept picture are its own: its blocks stayed alive.
    if (!origin.processed) forgetReduced(receiver);
}

// The second picture becomes the main one.
void secondToMain() {
    OpenDocument& document = viewer().document;
    retire(document.main, document.mainOrigin);
    handOver(document.second, document.main);
    document.mainOrigin = std::exchange(document.secondOrigin, {});
}

// A read-ahead picture becomes the shown page at the list's current index.
void showReadAhead(int buffer, PictureBuffer& shown, PageOrigin& origin) {
    OpenDocument& document = viewer().document;
    retire(shown, origin);
    handOver(document.readAhead[buffer], shown);
    document.readAheadIndex[buffer] = -1;
    origin.key = keyOf(viewer().pages.currentIndex);
}

// The page at `index` as the page list's loaded picture, when it was decoded
// ahead: by a read-ahead buffer or on another core.
bool takeDecodedAhead(int index) {
    Viewer& v = viewer();
    OpenDocument& document = v.document;
    PageList& pages = v.pages;
    for (int n = 0; n < 2; ++n) {
        PictureBuffer& buffer = document.readAhead[n];
        if (document.readAheadIndex[n] != index || !buffer.owned) continue;
        forgetReduced(buffer);
        pages.loadedHeader = buffer.headerBlock;
        pages.loadedBits = buffer.bitsBlock;
        buffer.release();
        buffer.headerBlock = buffer.bitsBlock = nullptr;
        document.readAheadIndex[n] = -1;
        return true;
    }
    return v.pagesAhead.take(index, pages.loadedHeader, pages.loadedBits);
}

// The page at `index` of the list as the loaded picture: the processed
// picture kept of a view left when there is one, else one decoded ahead,
// else decoded now.
int loadEntry(int index) {
    Viewer& v = viewer();
    PageKey key = keyOf(index);
    BlockPair kept;
    const int rotation = v.keptPages.take(key, kept);
    if (rotation >= 0) {
        v.pages.loadedHeader = kept.header;
        v.pages.loadedBits = kept.bits;
        v.document.loadedOrigin = {std::move(key), rotation, true};
        return kLoaded;
    }
    v.document.loadedOrigin = {std::move(key), 0, false};
    if (takeDecodedAhead(index)) return kLoaded;
    v.keptPages.dropEarlierSteps();
    return v.pages.decodeEntry(index) ? kLoaded : kDecodeFailed;
}

// Asks the other cores for the pages after those shown: those that
// `steps` next-page steps will show and, with read-ahead on, more, within
// the budget of pages decoded ahead. Pages a read-ahead buffer holds are not
// asked for again; pages no longer asked for are freed.
void decodeAhead(int steps) {
    Viewer& v = viewer();
    const PageList& pages = v.pages;
    const OpenDocument& document = v.document;
    std::size_t buffered = 0, bufferedBytes = 0;
    for (int n = 0; n < 2; ++n) {
        if (document.readAheadIndex[n] < 0 || !document.readAhead[n].owned) continue;
        ++buffered;
        bufferedBytes += platform::blockSize(document.readAhead[n].headerBlock) +
                         platform::blockSize(document.readAhead[n].bitsBlock);
    }
    const int perStep = v.normalMode() ? 1 : 2;
    int count = steps * perStep + (v.settings.sakiyomi ? static_cast<int>(kPagesAhead) : 0);
    // Never a page on screen: it would be held twice.
    count = std::min(count, pages.pageCount - std::max(v.layout.shownCount, 1));
    std::vector<int> wanted;
    for (int n = 1; pages.navigable && n <= count; ++n) {
        const int index = (pages.currentIndex + n) % pages.pageCount;
        if (index != document.readAheadIndex[0] && index != document.readAheadIndex[1])
            wanted.push_back(index);
    }
    const std::size_t used = bufferedBytes + v.keptPages.bytesHeld();
    v.pagesAhead.request(wanted, kPagesAhead - buffered,
                         used < kPagesAheadBudget ? kPagesAheadBudget - used : 0);
}

// PageList::loadPage and loadNextForPair through loadEntry.
int loadPage(int n, int how) {
    const int index = viewer().pages.stepTo(n, how);
    return index < 0 ? kNoList : loadEntry(index);
}

int loadNextForPair() {
    const int index = viewer().pages.stepToPair();
    return index < 0 ? kNoList : loadEntry(index);
}

void stepBack() {
    PageList& pages = viewer().pages;
    pages.currentIndex = pages.previousIndex;
}

void stepForward() {
    PageList& pages = viewer().pages;
    pages.previousIndex = pages.currentIndex;
    pages.currentIndex += 1;
    if (pages.currentIndex >= pages.pageCount) pages.currentIndex = 0;
}

// Frees the shown picture of the page `target` before it is decoded again,
// so that no page is ever held twice (Space in a folder of one picture, a
// reload that reprocesses the page, a spread stepping onto its own first
// page). Answers the index that names what stays on screen, or -1 when
// nothing was freed.
int dropShownPage(int target) {
    Viewer& v = viewer();
    ViewLayout& layout = v.layout;
    OpenDocument& document = v.document;
    const int current = v.pages.currentIndex;
    const int first = current > 0 ? current - 1 : v.pages.pageCount - 1;
    if (layout.shownCount && target == current) {
        // The only page shown, or the second of a spread.
        if (layout.shownCount == 2)
            retire(document.second, document.secondOrigin);
        else
            retire(document.main, document.mainOrigin);
        --layout.shownCount;
        return first;
    }
    if (layout.shownCount == 2 && target == first) {
        // The first page of a spread: the second stays, in its place.
        secondToMain();
        layout.shownCount = 1;
        return current;
    }
    return -1;
}

// A step's load of `n` by `how`, counted from the failed page when the last
// step failed; it never holds a page twice (dropShownPage). On a failed
// decode the index goes back to the pages still shown, the failed page is
// kept for the next step, and a page taken off the screen for the step
// leaves the screen showing what is left.
int loadStep(int n, int how) {
    Viewer& v = viewer();
    PageList& pages = v.pages;
    const int shown = pages.currentIndex, before = pages.previousIndex;
    const int from = v.document.failedIndex >= 0 ? v.document.failedIndex : shown;
    v.document.failedIndex = -1;
    v.keptPages.beginStep();
    pages.currentIndex = from;
    const int target = pages.stepTarget(n, how);
    pages.currentIndex = shown;
    const int kept = pages.navigable ? dropShownPage(target) : -1;
    pages.currentIndex = from;
    const int result = loadPage(n, how);
    if (result != kDecodeFailed) return result;
    v.document.failedIndex = pages.currentIndex;
    pages.currentIndex = kept >= 0 ? kept : shown;
    pages.previousIndex = before;
    if (kept < 0) return result;
    if (v.layout.shownCount)
        relayoutAndRepaint();
    else
        platform::invalidate(v.pictureWindow, true);
    return result;
}

// The page after the current one, loaded for a pair. When it cannot be
// decoded the current page stays alone and current, and the failed page is
// kept for the next step; the caller reports it once the page is shown.
int loadPairPage() {
    Viewer& v = viewer();
    const int result = loadNextForPair();
    if (result == kDecodeFailed) {
        v.document.failedIndex = v.pages.currentIndex;
        stepBack();
    }
    return result;
}

void invalidateReadAhead() {
    OpenDocument& document = viewer().document;
    document.readAheadValid = false;
    document.refillPending = kRefillNothing;
}

// The loaded page becomes the main picture, paired with the page after it
// when both pair; then everything is placed and painted, and a second page
// that could not be decoded is reported.
void showLoaded() {
    Viewer& v = viewer();
    OpenDocument& document = v.document;
    takeShown(document.main, document.mainOrigin);
    process(document.main, document.mainOrigin);
    v.layout.shownCount = 1;
    int pair = kNoList;
    if (isPairable(document.main)) {
        // The first page is reduced for drawing on another core while the
        // page after it is decoded, unless a later step will draw instead.
        std::optional<BackgroundReduction> first;
        if (!v.layout.deferPainting) first.emplace(document.main, true);
        pair = loadPairPage();
        if (pair == kLoaded) {
            takeShown(document.second, document.secondOrigin);
            process(document.second, document.secondOrigin);
            if (isPairable(document.second)) {
                v.layout.shownCount = 2;
            } else {
                stepBack();
                retire(document.second, document.secondOrigin);
            }
        }
    }
    relayoutAndRepaint();
    if (pair == kDecodeFailed) showError(kErrorCaption);
}

// Loads the page `n` after the current one into read-ahead buffer `which`,
// unprocessed: taken from the other cores when they decoded it. False when
// it could not be decoded.
bool refillFrom(int n, int which) {
    Viewer& v = viewer();
    PageList& pages = v.pages;
    OpenDocument& document = v.document;
    PictureBuffer& buffer = document.readAhead[which];
    document.readAheadIndex[which] = -1;
    const int index = pages.stepTo(n, kPeek);
    if (index < 0) return false;
    if (!v.pagesAhead.take(index, pages.loadedHeader, pages.loadedBits) &&
        !pages.decodeEntry(index))
        return false;
    takeLoaded(buffer);
    document.readAheadIndex[which] = index;
    // Reduced now at the size it will most likely be shown at, so that its
    // step only draws it.
    prepareReduced(buffer, isPairableUnprocessed(buffer));
    return true;
}

// A refill runs after the step has been painted, so that the page turn shows
// at once and the decoding of the next pages follows it.
void queueRefill(int pages) {
    Viewer& v = viewer();
    v.document.refillPending = pages;
    platform::postCommand(v.mainWindow, cmd::RefillReadAhead);
}

// Previous page (offset -3) or previous file (offset -2) while a spread is shown.
void spreadBack(int offset, bool previousPageStep) {
    Viewer& v = viewer();
    OpenDocument& document = v.document;
    const char* caption = previousPageStep ? kPreviousPageErrorCaption : kErrorCaption;
    if (loadStep(offset, kRelative) != kLoaded) {
        showError(caption);
        if (v.layout.shownCount) platform::invalidate(v.pictureWindow, false);
        return;
    }
    takeShown(document.main, document.mainOrigin);
    process(document.main, document.mainOrigin);
    v.layout.shownCount = 1;
    int pair = kNoList;
    if (isPairable(document.main)) {
        pair = loadPairPage();
        if (pair == kLoaded) {
            takeShown(document.second, document.secondOrigin);
            process(document.second, document.secondOrigin);
            if (isPairable(document.second)) {
                v.layout.shownCount = 2;
            } else if (previousPageStep) {
                secondToMain();
            } else {
                stepBack();
                retire(document.second, document.secondOrigin);
            }
        }
    } else {
        pair = loadPairPage();
        if (pair == kLoaded) {
            takeShown(document.main, document.mainOrigin);
            process(document.main, document.mainOrigin);
        }
    }
    relayoutAndRepaint();
    if (pair == kDecodeFailed) showError(caption);
}

// Previous page and previous file: one picture back, or from a spread the
// spread-back step with its offset.
void stepBackward(int spreadOffset, bool previousPageStep) {
    Viewer& v = viewer();
    if (!v.layout.shownCount) return;
    invalidateReadAhead();
    if (v.layout.shownCount == 1)
        showFrom(-1, kRelative);
    else
        spreadBack(spreadOffset, previousPageStep);
}

} // namespace

bool isPairable(const PictureBuffer& picture) {
    const Viewer& v = viewer();
    if (v.normalMode()) return false;
    if (v.settings.mihiraki == 1) return false;
    if (v.settings.mihiraki == 2) return true;
    return picture.width <= picture.height;
}

bool isPairableUnprocessed(const PictureBuffer& picture) {
    const Viewer& v = viewer();
    if (v.normalMode()) return false;
    if (v.settings.mihiraki == 1) return false;
    if (v.settings.mihiraki == 2) return true;
    switch (v.settings.modes[kTwoPageMode].TRANSFORM) {
    case 1:
    case 2:
        return picture.width >= picture.height;
    case 3:
    case 4:
        return true;
    default:
        return picture.width <= picture.height;
    }
}

bool showFrom(int n, int how) {
    invalidateReadAhead();
    if (loadStep(n, how) != kLoaded) {
        showError(kErrorCaption);
        return false;
    }
    showLoaded();
    return true;
}

bool openPath(const std::string& path) {
    invalidateReadAhead();
    viewer().keptPages.clear(); // they belong to the list being replaced
    if (!viewer().pages.open(path)) {
        bool reopened = false;
        if (promptForDisc(viewer().catalog, path, reopened)) return reopened;
        showError(kErrorCaption);
        return false;
    }
    viewer().document.failedIndex = -1; // a new list
    // The pages on screen belong to the list replaced: they go when the new
    // ones are shown, never kept under the new list's entries of their names.
    viewer().document.mainOrigin = {};
    viewer().document.secondOrigin = {};
    // What was decoded ahead belongs to the list replaced.
    dropReadAhead();
    viewer().pagesAhead.setList(viewer().pages);
    viewer().document.loadedOrigin = {keyOf(viewer().pages.currentIndex), 0, false};
    showLoaded();
    // Once the first view is painted: memory for the next of its size.
    const OpenDocument& document = viewer().document;
    const bool spread = viewer().layout.shownCount == 2;
    platform::prepareFreedMemory(platform::blockSize(document.main.bitsBlock) +
                                 (spread ? platform::blockSize(document.second.bitsBlock) : 0));
    if (viewer().settings.sakiyomi) decodeAhead(0);
    return true;
}

bool showNextWithReadAhead() {
    Viewer& v = viewer();
    OpenDocument& document = v.document;
    if (!document.readAheadValid) {
        invalidateReadAhead();
        if (loadStep(1, kRelative) != kLoaded) {
            showError(kErrorCaption);
            return false;
        }
        showLoaded();
        queueRefill(kRefillBoth);
        return true;
    }
    document.readAheadValid = false;
    v.keptPages.beginStep();
    stepForward();
    showReadAhead(0, document.main, document.mainOrigin);
    process(document.main, document.mainOrigin);
    v.layout.shownCount = 1;
    // A one-page list never forms a spread: the page after it is itself.
    if (isPairable(document.main) && v.pages.pageCount > 1) {
        if (isPairableUnprocessed(document.readAhead[1])) {
            stepForward();
            showReadAhead(1, document.second, document.secondOrigin);
            process(document.second, document.secondOrigin);
            v.layout.shownCount = 2;
        } else {
            retire(document.second, document.secondOrigin);
        }
    }
    relayoutAndRepaint();
    // With one page shown the second read-ahead page is the next one now.
    if (v.layout.shownCount == 1) {
        handOver(document.readAhead[1], document.readAhead[0]);
        document.readAheadIndex[0] = std::exchange(document.readAheadIndex[1], -1);
        queueRefill(kRefillSecond);
    } else {
        queueRefill(kRefillBoth);
    }
    return true;
}

void refillReadAhead() {
    Viewer& v = viewer();
    OpenDocument& document = v.document;
    const int pages = document.refillPending;
    if (pages == kRefillNothing) return;
    document.refillPending = kRefillNothing;
    // In a list too short to hold two pages after those shown, the pages
    // read ahead would wrap round to a page on screen and hold it twice.
    if (v.pages.pageCount < v.layout.shownCount + 2) return;
    bool ok = true;
    if (pages == kRefillBoth) ok = refillFrom(1, 0);
    ok = refillFrom(2, 1) && ok;
    document.readAheadValid = ok;
    decodeAhead(0);
}

void dropReadAhead() {
    OpenDocument& document = viewer().document;
    invalidateReadAhead();
    for (int n = 0; n < 2; ++n) {
        forgetReduced(document.readAhead[n]);
        document.readAhead[n].freeBlocks();
        document.readAheadIndex[n] = -1;
    }
    viewer().pagesAhead.clear();
}

void firstFile() {
    if (viewer().layout.shownCount) showFrom(0, kAbsolute);
}

void lastFile() {
    // Two-page mode starts at index pageCount - 2, so that the last two pages
    // form the last spread; normal mode shows the last picture.
    const Viewer& v = viewer();
    if (v.layout.shownCount) showFrom(v.normalMode() ? 0 : 1, kFromEnd);
}

void nextPage() {
    Viewer& v = viewer();
    if (!v.layout.shownCount) return;
    if (v.settings.sakiyomi)
        showNextWithReadAhead();
    else
        showFrom(1, kRelative);
}

void nextFile() {
    Viewer& v = viewer();
    if (v.normalMode() || v.layout.shownCount == 1)
        showFrom(1, kRelative);
    else if (v.layout.shownCount == 2)
        showFrom(0, kRelative); // the spread's second page becomes the first
}

void previousPage() {
    stepBackward(-3, true);
}

void previousFile() {
    stepBackward(-2, false);
}

void randomFile() {
    Viewer& v = viewer();
    if (v.layout.shownCount) showFrom(randomBetween(0, v.pages.pageCount - 1), kAbsolute);
}

namespace {

struct NavigationCommand {
    int id;
    void (*run)();
};

constexpr NavigationCommand kNavigationCommands[] = {
    {cmd::FirstFile, firstFile},       {cmd::PreviousPage, previousPage},
    {cmd::NextPage, nextPage},         {cmd::PreviousFile, previousFile},
    {cmd::NextFile, nextFile},         {cmd::LastFile, lastFile},
    {cmd::RandomFile, randomFile},
};

const NavigationCommand* navigationCommand(int id) {
    for (const NavigationCommand& command : kNavigationCommands)
        if (command.id == id) return &command;
    return nullptr;
}

bool isNextStep(int id) {
    return id == cmd::NextPage || id == cmd::NextFile;
}

// The navigation commands waiting in the queue.
struct Waiting {
    bool any = false;
    int nextSteps = 0;
};

Waiting waiting() {
    Waiting found;
    for (int id : platform::queuedCommands(viewer().mainWindow)) {
        found.any = found.any || isNavigationCommand(id);
        found.nextSteps += isNextStep(id) ? 1 : 0;
    }
    return found;
}

} // namespace

bool isNavigationCommand(int id) {
    return navigationCommand(id) != nullptr;
}

void navigate(int id) {
    Viewer& v = viewer();
    ViewLayout& layout = v.layout;
    const Waiting before = waiting();
    layout.deferPainting = before.any;
    // The pages of the next-page steps waiting are decoded on the other
    // cores while this step and the next ones take theirs.
    if (isNextStep(id) && before.nextSteps && layout.shownCount)
        decodeAhead(before.nextSteps + 1);
    if (const NavigationCommand* command = navigationCommand(id)) command->run();
    layout.deferPainting = false;
    // Asked again: a message box of the step may have run the waiting ones.
    const bool stillWaiting = waiting().any;
    if (!v.settings.sakiyomi && !stillWaiting) v.pagesAhead.clear();
    if (!layout.paintingOwed || stillWaiting) return;
    layout.paintingOwed = false;
    if (layout.shownCount) relayoutAndRepaint();
}

void reverseBinding() {
    Viewer& v = viewer();
    if (v.layout.shownCount != 2) return;
    v.settings.RightorLeft = v.settings.RightorLeft ? 0 : 1;
    platform::radioCheckMenuItem(v.menu, cmd::BindRight, cmd::BindLeft,
                                 v.settings.RightorLeft ? cmd::BindRight : cmd::BindLeft);
    relayoutAndRepaint();
}
