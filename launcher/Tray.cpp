// The tray icon and its callback: the menu and the double click.
#include "launcher/Tray.h"
#include "launcher/Launcher.h"
#include "launcher/Startup.h"
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

// Started from an elevated prompt, Zindral runs above Explorer's integrity
// level, and the system drops the messages above WM_USER that Explorer sends
// it unless the window lets them through. Vista can let them through only for
// the whole process.
static void AcceptTaskbarCreated(HWND window)
{
    static char user32Name[] = "user32.dll";
    static char allowForWindowName[] = "ChangeWindowMessageFilterEx";
    static char allowName[] = "ChangeWindowMessageFilter";
    HMODULE user32 = GetModuleHandleA(user32Name);
    auto allowForWindow = FindFunction<BOOL(WINAPI*)(HWND, UINT, DWORD, void*)>(user32, allowForWindowName);
    if (allowForWindow)
        allowForWindow(window, s_taskbarCreated, MSGFLT_ALLOW, nullptr);
    else if (auto allow = FindFunction<BOOL(WINAPI*)(UINT, DWORD)>(user32, allowName))
        allow(s_taskbarCreated, MSGFLT_ADD);
}

void AddTrayIcon(HWND window, HINSTANCE instance)
{
    // Stays loaded until the process ends.
    s_trayIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_ZINDRAL), IMAGE_ICON,
                                               16, 16, LR_DEFAULTCOLOR));
    s_taskbarCreated = RegisterWindowMessageA(TaskbarCreatedName);
    AcceptTaskbarCreated(window);
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
// the edit dialog or file dialog it opened, whichever was active last. Only
// the root owner knows that one: asked about a window that is owned itself,
// as the configuration dialog is, the system answers with that window.
static void ShowOpenDialog()
{
    SetForegroundWindow(GetLastActivePopup(GetAncestor(g_dialogWindow, GA_ROOTOWNER)));
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
