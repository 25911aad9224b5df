// dialog_commands.h - the main window's commands that open the dialogs of
// the settings, picture and sources subsystems, and the copy command.
// Commands marked "shown" do nothing while no picture is shown.
#pragma once

void openOptions();            // 40181
void openPageNumber();         // 40088, shown
void openSlideshowInterval();  // 40118
void openPictureInformation(); // 40183, shown
void copyPicture();            // 40018, shown
void openPluginInformation();  // 40076
