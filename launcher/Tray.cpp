#include "launcher/Tray.h"
#include "launcher/Launcher.h"
#include "resources/resource.h"
#include <shellapi.h>

#if !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "first form of the icon record");
#endif

static const char TrayTip[] = "Zindral";

void AddTrayIcon(HWND window, HINSTANCE instance)
{
    NOTIFYICONDATAA data = {NOTIFYICONDATAA_V1_SIZE};
    data.hWnd = window;
    data.uID = TrayMessage;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = TrayMessage;
    // Stays loaded until the process ends.
    data.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ZINDRAL),
                                               IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    lstrcpynA(data.szTip, TrayTip, sizeof(TrayTip));
    Shell_NotifyIconA(NIM_ADD, &data);
}

void RemoveTrayIcon(HWND window)
{
    NOTIFYICONDATAA data = {NOTIFYICONDATAA_V1_SIZE};
    data.hWnd = window;
    data.uID = TrayMessage;
    data.uFlags = 0;
    Shell_NotifyIconA(NIM_DELETE, &data);
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
