#include "launcher/Tray.h"
#include "launcher/Launcher.h"
#include "resources/resource.h"
#include <shellapi.h>

#if !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "first form of the icon record");
#endif

static const char TrayTip[] = "Zindral";

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
    NotifyTray(NIM_ADD, window, static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ZINDRAL),
                                                              IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
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

void TrayCallback(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (wParam != TrayMessage)
        return;
    switch (lParam) {
    case WM_LBUTTONDBLCLK:
        SetForegroundWindow(window);
        if (!g_dialogOpen)
            SendMessageA(window, WM_COMMAND, IDM_CONFIGURATION, 0);
        break;
    case WM_RBUTTONUP:
        if (g_dialogOpen)
            SetForegroundWindow(window);
        else
            ShowTrayMenu(window);
        break;
    }
}
