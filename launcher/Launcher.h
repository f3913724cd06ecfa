#pragma once
#include "model/HotKey.h"

constexpr UINT FirstHotKeyId = 512;   // identifier of table entry 0
constexpr UINT TrayMessage = 9910;    // tray callback message and icon identifier
extern const char LauncherClassName[]; // "ZindralClass"

// 1 while the About or the configuration dialog is open.
extern int g_dialogOpen;
// Submenu 0 of menu resource 102, shown by the tray icon.
extern HMENU g_trayMenu;

LRESULT CALLBACK LauncherWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void RegisterHotKeys(HWND window, const HotKeyList& list);
void UnregisterHotKeys(HWND window, const HotKeyList& list);
