// menu_marks.h - the check and radio marks of the menu bar, and the commands
// that only store a setting and move its mark.
//
// The menu bar is replaced on every mode switch, so its marks are rebuilt
// from the settings each time one is loaded; between loads each command
// moves its own mark. A value outside its table leaves its group unmarked.
#pragma once

// Loads the current mode's menu bar in place of the one there, attaches it
// when MENU is on, and sets its marks.
void loadModeMenu();
void setMarksTwoPage();
void setMarksNormal();

// The menu id of a filter code, of a rotation code, of a transparency; 0 for
// a code without an item.
int filterItem(int code);
int rotationItem(int code);
int transparencyItem(int transparency);

// Filter (39000-39010) and rotation (40159-40166) commands: the current
// mode's value, or both modes' with synchro on. Pictures on screen keep their
// processing until the next page.
void chooseFilter(int id);
void chooseRotation(int id);
// F7 and F8: the rotation command one code up or down (nothing past 6 or 0).
void stepRotation(int direction);
// Spread rule, binding, fit modes and transparency.
void chooseSetting(int id);
// True for the ids chooseSetting takes.
bool isSettingCommand(int id);
