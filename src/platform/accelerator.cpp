#include "platform/accelerator.h"

#include "platform/window.h"

namespace platform {
namespace {

WindowId acceleratorTarget = 0;
const AcceleratorTable* acceleratorTable = nullptr;

} // namespace

void setAccelerators(WindowId target, const AcceleratorTable* table) {
    acceleratorTarget = target;
    acceleratorTable = table;
}

int translateAccelerator(int key, unsigned state) {
    if (!acceleratorTable || !isWindow(acceleratorTarget)) return 0;
    int command = findAccelerator(*acceleratorTable, key, state);
    if (command == 0) return 0;
    sendCommand(acceleratorTarget, command);
    return 1;
}

} // namespace platform
