// mode_switch.h - switching between normal mode and two-page mode.
//
// A spread becomes one picture on the way to normal mode (its first page when
// keepFirstOfSpread is set, else its second); on the way back the spread
// that was left is rebuilt around the current page.
#pragma once

void switchToNormalMode();
void switchToTwoPageMode();
// Normal mode from two-page mode and back.
void toggleMode();
