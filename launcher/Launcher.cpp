#include "launcher/Launcher.h"
#include "launcher/Tray.h"
#include "dialogs/Commands.h"
#include "resources/resource.h"
#include <shellapi.h>

#if !defined(_WIN64)
static_assert(sizeof(SHELLEXECUTEINFOA) == 60, "the shell expects its first record form");
#endif

const char LauncherClassName[] = "ZindralClass";
int g_dialogOpen = 0;
HMENU g_trayMenu = nullptr;

void RegisterHotKeys(HWND window, const HotKeyList& list)
{
    for (LONG i = 0; i < list.count; ++i) {
        const HotKey& entry = list.items[i];
        // A combination that another program (or an earlier entry) holds
        // simply never fires; nothing to report.
        RegisterHotKey(window, static_cast<int>(FirstHotKeyId + i), entry.modifiers, entry.key);
    }
}

void UnregisterHotKeys(HWND window, const HotKeyList& list)
{
    for (LONG i = 0; i < list.count; ++i)
        UnregisterHotKey(window, static_cast<int>(FirstHotKeyId + i));
}

// Hands the entry to the shell; a failure is the shell's to report.
static void LaunchEntry(const HotKey& entry)
{
    SHELLEXECUTEINFOA info = {sizeof(info)};
    info.fMask = SEE_MASK_DOENVSUBST;
    info.hwnd = nullptr;
    info.lpVerb = entry.verb.Text();
    info.lpFile = entry.commandLine.Text();
    info.lpParameters = entry.parameters.Text();
    info.lpDirectory = entry.workingDirectory.Text();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
}

// Identifiers outside the table, among them the platform's own negative
// ones, wrap around to large unsigned values and are ignored.
static void OnHotKey(WPARAM id)
{
    WPARAM index = id - FirstHotKeyId;
    if (id >= FirstHotKeyId && index < static_cast<WPARAM>(g_hotKeys.count))
        LaunchEntry(g_hotKeys.items[index]);
}

static bool OnCommand(HWND window, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDM_EXIT:
        // Not handled below, so the default handling destroys the window.
        SendMessageA(window, WM_CLOSE, 0, 0);
        return true;
    case IDM_ABOUT:
        AboutCommand();
        return true;
    case IDM_CONFIGURATION:
        ConfigurationCommand(window);
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK LauncherWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        if (OnCommand(window, wParam))
            return 0;
        break;
    case WM_HOTKEY:
        OnHotKey(wParam);
        return 0;
    case TrayMessage:
        TrayCallback(window, wParam, lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
