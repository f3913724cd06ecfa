// Puts a running Zindral into the states that scripts/screenshots takes
// pictures of. One step per start; a step that shows a window prints its
// screen rectangle as "left top width height".
//
//   shot-driver launcher         wait until Zindral's window exists
//   shot-driver screen           print the desktop's width and height
//   shot-driver menu X Y         open the tray menu with the cursor at X, Y
//   shot-driver escape           press Escape (closes the menu)
//   shot-driver config           open the configuration dialog
//   shot-driver edit ROW         select ROW of the list, open the edit dialog
//   shot-driver about            open the About box
//   shot-driver cancel           cancel the topmost dialog
//   shot-driver exit             end Zindral
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <stdlib.h>
#include "launcher/Launcher.h"
#include "resources/resource.h"

namespace {

const DWORD Deadline = 30000;

template <typename Condition>
bool WaitFor(Condition done)
{
    DWORD begin = GetTickCount();
    while (!done()) {
        if (GetTickCount() - begin > Deadline)
            return false;
        Sleep(50);
    }
    return true;
}

HWND Launcher()
{
    return FindWindowA(LauncherClassName, nullptr);
}

struct Search {
    DWORD processId;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char name[64] = "", caption[128] = "";
    GetClassNameA(window, name, sizeof(name));
    GetWindowTextA(window, caption, sizeof(caption));
    if (processId == search->processId && IsWindowVisible(window) &&
        strcmp(name, search->className) == 0 &&
        (!search->caption || strcmp(caption, search->caption) == 0)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible window of Zindral's process; EnumWindows goes from the top.
HWND ZindralWindow(const char* className, const char* caption)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(Launcher(), &processId);
    Search search = {processId, className, caption, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int PrintRect(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
           rect.bottom - rect.top);
    return 0;
}

int Fail(const char* what)
{
    fprintf(stderr, "shot-driver: %s\n", what);
    return 1;
}

void ClickAt(int x, int y)
{
    SetCursorPos(x, y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// Waits for the window and lets it paint before its picture is taken.
int WaitAndPrint(const char* className, const char* caption)
{
    HWND window = nullptr;
    if (!WaitFor([&] { return (window = ZindralWindow(className, caption)) != nullptr; }))
        return Fail("the window did not appear");
    // Active, as in front of the user: a click on the caption does that
    // where activation from another process is not honoured.
    if (caption) {
        RECT rect;
        GetWindowRect(window, &rect);
        ClickAt(rect.left + 30, rect.top + GetSystemMetrics(SM_CYFRAME) + 4);
    }
    Sleep(300);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(500);
    return PrintRect(window);
}

void Press(WORD key)
{
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

int OpenMenu(int x, int y)
{
    SetCursorPos(x, y);
    PostMessageA(Launcher(), TrayMessage, TrayMessage, WM_RBUTTONUP);
    return WaitAndPrint("#32768", nullptr);
}

int OpenCommand(WPARAM command, const char* caption)
{
    PostMessageA(Launcher(), WM_COMMAND, command, 0);
    return WaitAndPrint("#32770", caption);
}

// Selects a row with the mouse and the arrow keys (list-view messages with
// pointers do not cross processes), then presses Edit.
int EditRow(int row)
{
    HWND dialog = ZindralWindow("#32770", "Hot Key Configuration");
    HWND list = dialog ? GetDlgItem(dialog, IDC_LIST) : nullptr;
    if (!list)
        return Fail("the configuration dialog is not open");
    HWND header = FindWindowExA(list, nullptr, "SysHeader32", nullptr);
    RECT listRect, headerRect;
    GetWindowRect(list, &listRect);
    GetWindowRect(header, &headerRect);
    SetForegroundWindow(dialog);
    ClickAt(listRect.left + 40, headerRect.bottom + 6);
    for (int i = 0; i < row; ++i)
        Press(VK_DOWN);
    Sleep(300);
    PostMessageA(dialog, WM_COMMAND, IDC_EDIT, 0);
    return WaitAndPrint("#32770", "Edit Hot Key");
}

int CancelTopDialog()
{
    HWND dialog = ZindralWindow("#32770", nullptr);
    if (!dialog)
        return Fail("no dialog is open");
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return WaitFor([dialog] { return !IsWindow(dialog); }) ? 0 : Fail("the dialog stayed");
}

}  // namespace

int main(int argc, char** argv)
{
    const char* step = argc > 1 ? argv[1] : "";
    if (strcmp(step, "launcher") == 0)
        return WaitFor([] { return Launcher() != nullptr; }) ? 0 : Fail("Zindral did not start");
    if (strcmp(step, "screen") == 0) {
        printf("%d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        return 0;
    }
    if (!Launcher())
        return Fail("Zindral does not run");
    if (strcmp(step, "menu") == 0 && argc == 4)
        return OpenMenu(atoi(argv[2]), atoi(argv[3]));
    if (strcmp(step, "escape") == 0) {
        Press(VK_ESCAPE);
        return 0;
    }
    if (strcmp(step, "config") == 0)
        return OpenCommand(IDM_CONFIGURATION, "Hot Key Configuration");
    if (strcmp(step, "edit") == 0 && argc == 3)
        return EditRow(atoi(argv[2]));
    if (strcmp(step, "about") == 0)
        return OpenCommand(IDM_ABOUT, "About");
    if (strcmp(step, "cancel") == 0)
        return CancelTopDialog();
    if (strcmp(step, "exit") == 0) {
        PostMessageA(Launcher(), WM_COMMAND, IDM_EXIT, 0);
        return WaitFor([] { return Launcher() == nullptr; }) ? 0 : Fail("Zindral did not end");
    }
    return Fail("unknown step");
}
