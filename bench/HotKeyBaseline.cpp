// The hot-key baseline of bench/run.sh: the least a resident program does to
// start a command from a hot key. A hidden window holds Ctrl+Shift+F8, and
// each WM_HOTKEY hands the command-line tail to ShellExecuteExA; what a
// launch through Zindral costs above this is Zindral's own work.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include "launcher/Startup.h"

void ConstructStatics()
{
}

void DestroyStatics()
{
}

static const char* g_command;

static LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HOTKEY: {
        SHELLEXECUTEINFOA info = {sizeof(info)};
        info.fMask = SEE_MASK_DOENVSUBST;
        info.lpFile = g_command;
        info.lpParameters = "baseline";
        info.nShow = SW_SHOWNORMAL;
        ShellExecuteExA(&info);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int ProgramEntry(HINSTANCE instance, HINSTANCE, char* tail, int)
{
    g_command = tail;
    // As Zindral: the shell wants an apartment on the thread that calls it.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BaselineProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "ZindralHotKeyBaseline";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 10, 10, 10, 10,
                                  nullptr, nullptr, instance, nullptr);
    if (window && RegisterHotKey(window, 1, MOD_CONTROL | MOD_SHIFT | MOD_NOREPEAT, VK_F8)) {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}
