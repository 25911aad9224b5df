// window_messages.cpp - painting (invalidation and updates), the system
// move, commands, timers, drops, the cursor and the input state.
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QWindow>
#include <algorithm>

#include "platform/key_translation.h"
#include "platform/window.h"
#include "platform/window_events.h"
#include "platform/window_host.h"

namespace platform {
namespace detail {
namespace {

QRegion regionOf(std::span<const Rect> rects) {
    QRegion region;
    for (const Rect& rect : rects)
        if (!rect.isEmpty()) region += toQRect(rect);
    return region;
}

} // namespace

Qt::CursorShape qtCursor(CursorShape shape) {
    switch (shape) {
    case CursorShape::Wait:
        return Qt::WaitCursor;
    case CursorShape::Hidden:
        return Qt::BlankCursor;
    case CursorShape::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace detail

using namespace detail;

// ---- painting -------------------------------------------------------------

void invalidate(WindowId window, bool erase) {
    WindowRecord* record = findWindow(window);
    if (!record) return;
    invalidateRect(window, clientRect(window), erase);
}

void invalidateRect(WindowId window, Rect rect, bool erase) {
    invalidateRegion(window, std::span<const Rect>(&rect, 1), erase);
}

void invalidateRegion(WindowId window, std::span<const Rect> rects, bool erase) {
    WindowRecord* record = findWindow(window);
    if (!record) return;
    QRegion region = regionOf(rects) & QRegion(record->client->rect());
    if (region.isEmpty()) return;
    if (erase) {
        record->eraseRegion += region;
        record->keepRegion -= region;
    } else {
        record->keepRegion += region - record->eraseRegion;
    }
    record->dirtyRegion += region;
    record->client->update(region);
}

void updateWindow(WindowId window) {
    WindowRecord* record = findWindow(window);
    if (!record || record->dirtyRegion.isEmpty()) return;
    record->client->repaint(record->dirtyRegion);
}

// ---- moving, commands and timers ------------------------------------------

void startSystemMove(WindowId window) {
    WindowRecord* top = topLevelOf(window);
    if (!top) return;
    QWindow* handle = top->frame->windowHandle();
    if (handle && handle->startSystemMove()) return;
    startManualMove(top->id, top->frame->pos());
}

int sendCommand(WindowId window, int id) {
    if (!findWindow(window)) return 0;
    MessageParams params;
    params.id = id;
    dispatch(window, MessageKind::Command, params);
    return 1;
}

void postCommand(WindowId window, int id) {
    WindowRecord* record = findWindow(window);
    if (!record) return;
    record->queuedCommands.push_back(id);
    postCommandEvent(record->client, id);
}

std::vector<int> queuedCommands(WindowId window) {
    WindowRecord* record = findWindow(window);
    if (!record) return {};
    return {record->queuedCommands.begin(), record->queuedCommands.end()};
}

void setTimer(WindowId window, int id, int periodMs) {
    WindowRecord* record = findWindow(window);
    if (!record) return;
    killTimer(window, id);
    int qtId = record->client->startTimer(std::max(0, periodMs));
    if (qtId != 0) record->timers[id] = qtId;
}

void killTimer(WindowId window, int id) {
    WindowRecord* record = findWindow(window);
    if (!record) return;
    auto it = record->timers.find(id);
    if (it == record->timers.end()) return;
    record->client->killTimer(it->second);
    record->timers.erase(it);
}

bool hasTimer(WindowId window, int id) {
    WindowRecord* record = findWindow(window);
    return record && record->timers.count(id) != 0;
}

void acceptDrops(WindowId window, bool accept) {
    WindowRecord* record = findWindow(window);
    if (record && record->frame) record->frame->setAcceptDrops(accept);
}

// ---- cursor and input state -----------------------------------------------

void setCursorShape(WindowId window, CursorShape shape) {
    WindowRecord* record = findWindow(window);
    if (!record || record->cursor == shape) return;
    record->cursor = shape;
    record->client->setCursor(qtCursor(shape));
}

CursorShape cursorShape(WindowId window) {
    WindowRecord* record = findWindow(window);
    return record ? record->cursor : CursorShape::Arrow;
}

void setBusyCursor(bool busy) {
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

unsigned inputState() {
    return modifierState(QGuiApplication::keyboardModifiers()) |
           buttonState(QGuiApplication::mouseButtons());
}

Point cursorScreenPosition() {
    QPoint pos = QCursor::pos();
    return {pos.x(), pos.y()};
}

} // namespace platform
