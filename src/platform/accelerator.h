// accelerator.h - the keyboard accelerators of the message loop.
//
// One table is in force at a time, for one target window: a key that the
// table names becomes a Command to the target, whichever of the layer's
// windows has the keyboard, and no KeyDown or Character is sent for it.
// Modal dialogs keep their keys.
#pragma once

#include "platform/accelerator_table.h"
#include "platform/window_message.h"

namespace platform {

// The table stays the caller's (resources/ tables live for the whole run);
// null turns accelerators off.
void setAccelerators(WindowId target, const AcceleratorTable* table);

// Sends the command of `key` with `state` to the target; 1 when the table
// claimed the key, 0 when it did not (the key goes on as a KeyDown).
int translateAccelerator(int key, unsigned state);

} // namespace platform
