// commands.h - the main window's command table: every menu item,
// accelerator and private id, and the operation it runs.
#pragma once

// Runs command `id`; false for an id the main window does not know.
bool runCommand(int id);
