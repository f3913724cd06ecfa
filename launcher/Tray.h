#pragma once
// The tray icon of the launcher window.
#include <windows.h>

void AddTrayIcon(HWND window, HINSTANCE instance);
// A taskbar that starts (Explorer restarted, or started after Zindral) tells
// every top-level window with a registered message; the icon is then added
// again as it was. True when `message` was that one.
bool AddTrayIconAgain(HWND window, UINT message);
void RemoveTrayIcon(HWND window);
// The launcher window's handling of the tray callback message.
void TrayCallback(HWND window, WPARAM wParam, LPARAM lParam);
