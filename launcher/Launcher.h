#pragma once
// The launcher window's numbers, names and state.
#include "model/HotKey.h"

constexpr UINT FirstHotKeyId = 512;   // identifier of table entry 0
constexpr UINT TrayMessage = 9910;    // tray callback message and icon identifier
constexpr char LauncherClassName[] = "ZindralClass";   // also the single-instance mutex

// 1 while the About or the configuration dialog is open.
extern int g_dialogOpen;
// That dialog's window from its opening to its end: the one a click on the
// icon brings back, with the dialogs it has opened in turn.
extern HWND g_dialogWindow;
// Submenu 0 of menu resource 102, shown by the tray icon.
extern HMENU g_trayMenu;

LRESULT CALLBACK LauncherWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Registers entry i under FirstHotKeyId + i and notes which entries the
// system took; UnregisterHotKeys releases only those.
void RegisterHotKeys(HWND window, const HotKeyList& list);
void UnregisterHotKeys(HWND window, const HotKeyList& list);
// Tries again the live entries that did not register: a combination that
// another program has let go of works from then on.
void RegisterFailedHotKeys(HWND window);

// What registering an entry would meet if its table replaced the live one now.
enum HotKeyUse { HotKeyFree, HotKeyInUse, HotKeyRefused };
// A forecast begins with the live registrations, then takes the entries of
// the new table in order: an entry meets the earlier ones as the real
// registration would.
void BeginHotKeyForecast();
HotKeyUse ForecastHotKey(const HotKey& entry);
