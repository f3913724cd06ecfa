// Zindral's entry: single instance, table, window, tray icon and message loop.
#include "launcher/Startup.h"
#include "launcher/Launcher.h"
#include "launcher/Tray.h"
#include "settings/Settings.h"
#include "resources/resource.h"
#include <commctrl.h>
#include <objbase.h>

void ConstructStatics()
{
    ConstructHotKeys();
}

void DestroyStatics()
{
    DestroyHotKeys();
}

// The configuration dialog holds a list view, whose class a fresh system
// registers only on request. The common controls are not among the system's
// known DLLs, so they come from the system folder by their full path, never
// from beside the program; they stay loaded for the process's life, as their
// classes must.
static void InitListViewClass()
{
    static char comctl32Name[] = "comctl32.dll";
    static char initName[] = "InitCommonControlsEx";
    auto initCommonControlsEx = FindFunction<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(
        LoadSystemLibrary(comctl32Name), initName);
    if (!initCommonControlsEx)
        return;
    INITCOMMONCONTROLSEX controls = {sizeof(controls)};
    controls.dwICC = ICC_LISTVIEW_CLASSES;
    initCommonControlsEx(&controls);
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

// From the launcher window to the end of its message loop.
static void RunLauncher(HINSTANCE instance)
{
    InitListViewClass();
    // Without a window nothing could ever deliver Exit: stop instead of
    // running a loop that cannot end.
    if (!RegisterLauncherClass(instance))
        return;
    HWND window = CreateLauncherWindow(instance);
    if (!window)
        return;

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
}

// A copy at another integrity level of this session holds the mutex and
// denies access to it. Any other failure (an event or a semaphore squatting
// the name) says nothing about another copy: the window search decides.
static bool AnotherCopyHoldsTheMutex(HANDLE mutex)
{
    DWORD error = GetLastError();
    return mutex ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
}

int ProgramEntry(HINSTANCE instance, HINSTANCE, char*, int)
{
    LoadHotKeys(g_hotKeys);
    // Two copies started together (a Run key and a Startup shortcut at
    // logon) may both find no window yet; only one creates the mutex. Its
    // name has no namespace prefix, which not every system knows.
    HANDLE instanceMutex = CreateMutexA(nullptr, FALSE, LauncherClassName);
    if (AnotherCopyHoldsTheMutex(instanceMutex) || FindWindowA(LauncherClassName, nullptr)) {
        if (instanceMutex)
            CloseHandle(instanceMutex);
        return 0;
    }

    // Some of what the shell starts are COM objects: the mail program behind
    // a mailto link, settings pages, packaged applications' file types. The
    // shell asks for an apartment on every thread that calls it.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    RunLauncher(instance);
    if (SUCCEEDED(com))
        CoUninitialize();
    if (instanceMutex)
        CloseHandle(instanceMutex);
    return 0;
}
