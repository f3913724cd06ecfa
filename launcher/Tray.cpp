// The tray icon and its callback: the menu and the double click.
#include "launcher/Tray.h"
#include "launcher/Launcher.h"
#include "resources/resource.h"
#include <shellapi.h>

#if !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "first form of the icon record");
#endif

static const char TrayTip[] = "Zindral";
static const char TaskbarCreatedName[] = "TaskbarCreated";

static HICON s_trayIcon;
// 0 until the icon was first added, and should registering fail.
static UINT s_taskbarCreated;

// The record in its first form; only adding fills more than its owner fields.
static void NotifyTray(DWORD message, HWND window, HICON icon)
{
    NOTIFYICONDATAA data = {NOTIFYICONDATAA_V1_SIZE};
    data.hWnd = window;
    data.uID = TrayMessage;
    if (message == NIM_ADD) {
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = TrayMessage;
        data.hIcon = icon;
        __builtin_memcpy(data.szTip, TrayTip, sizeof(TrayTip));
    }
    Shell_NotifyIconA(message, &data);
}

void AddTrayIcon(HWND window, HINSTANCE instance)
{
    // Stays loaded until the process ends.
    s_trayIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ZINDRAL), IMAGE_ICON,
                                               16, 16, LR_DEFAULTCOLOR));
    s_taskbarCreated = RegisterWindowMessageA(TaskbarCreatedName);
    NotifyTray(NIM_ADD, window, s_trayIcon);
}

bool AddTrayIconAgain(HWND window, UINT message)
{
    if (message != s_taskbarCreated || message == 0)
        return false;
    NotifyTray(NIM_ADD, window, s_trayIcon);
    return true;
}

void RemoveTrayIcon(HWND window)
{
    NotifyTray(NIM_DELETE, window, nullptr);
}

static void ShowTrayMenu(HWND window)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    // A menu of a window that is not in the foreground does not close when
    // the user clicks elsewhere; the WM_NULL afterwards lets the foreground
    // switch finish before the next click on the icon.
    SetForegroundWindow(window);
    TrackPopupMenu(g_trayMenu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
}

// The launcher window is hidden and disabled while a dialog is open, and the
// dialogs have no taskbar button: the dialog itself takes the foreground, or
// the edit dialog or file dialog it opened, whichever was active last.
static void ShowOpenDialog()
{
    SetForegroundWindow(GetLastActivePopup(g_dialogWindow));
}

void TrayCallback(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (wParam != TrayMessage)
        return;
    switch (lParam) {
    case WM_LBUTTONDBLCLK:
        if (g_dialogOpen) {
            ShowOpenDialog();
            break;
        }
        SetForegroundWindow(window);
        SendMessageA(window, WM_COMMAND, IDM_CONFIGURATION, 0);
        break;
    case WM_RBUTTONUP:
        if (g_dialogOpen)
            ShowOpenDialog();
        else
            ShowTrayMenu(window);
        break;
    }
}
