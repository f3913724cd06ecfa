#include "launcher/Startup.h"
#include "launcher/Launcher.h"
#include "launcher/Tray.h"
#include "settings/Settings.h"
#include "resources/resource.h"
#include <commctrl.h>

void ConstructStatics()
{
    ConstructHotKeys();
}

void DestroyStatics()
{
    DestroyHotKeys();
}

// The configuration dialog holds a list view, whose class a fresh system
// registers only on request.
static void InitListViewClass()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls)};
    controls.dwICC = ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);
}

static bool RegisterLauncherClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = 0;
    windowClass.lpfnWndProc = LauncherWndProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = LauncherClassName;
    return RegisterClassA(&windowClass) != 0;
}

static HWND CreateLauncherWindow(HINSTANCE instance)
{
    return CreateWindowExA(0, LauncherClassName, "", WS_POPUP, 10, 10, 10, 10,
                           nullptr, nullptr, instance, nullptr);
}

static void RunMessageLoop()
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int ProgramEntry(HINSTANCE instance, HINSTANCE, char*, int)
{
    LoadHotKeys(g_hotKeys);
    if (FindWindowA(LauncherClassName, nullptr))
        return 0;

    InitListViewClass();
    // Without a window nothing could ever deliver Exit: stop instead of
    // running a loop that cannot end.
    if (!RegisterLauncherClass(instance))
        return 0;
    HWND window = CreateLauncherWindow(instance);
    if (!window)
        return 0;

    AddTrayIcon(window, instance);
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDM_TRAY));
    g_trayMenu = GetSubMenu(menu, 0);
    RegisterHotKeys(window, g_hotKeys);

    RunMessageLoop();

    // The window is gone by now; its handle value still names the icon and
    // the hot keys.
    RemoveTrayIcon(window);
    UnregisterHotKeys(window, g_hotKeys);
    DestroyMenu(menu);
    g_trayMenu = nullptr;
    return 0;
}
