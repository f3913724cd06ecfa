#pragma once
// The tray menu's commands that open a dialog.
#include <windows.h>

// The launcher's Configuration command: the configuration dialog on a copy of
// the live table; on OK the copy becomes live, is saved and registered.
void ConfigurationCommand(HWND window);
// The launcher's About command.
void AboutCommand();
