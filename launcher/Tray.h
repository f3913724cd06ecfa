#pragma once
#include <windows.h>

void AddTrayIcon(HWND window, HINSTANCE instance);
void RemoveTrayIcon(HWND window);
// The launcher window's handling of the tray callback message.
void TrayCallback(HWND window, WPARAM wParam, LPARAM lParam);
