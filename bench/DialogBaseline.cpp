// The configuration dialog's baseline of bench/run.sh: the least a resident
// program does to show the hot-key table in a list. It loads the table and
// makes the rows' texts at start; the tray's double-click message opens
// dialog template 105 and fills its list view with those rows. What
// Zindral's dialog costs above this is its own work.
#include <windows.h>
#include <commctrl.h>
#include <new>
#include "launcher/Launcher.h"
#include "launcher/Startup.h"
#include "model/Heap.h"
#include "model/KeyNames.h"
#include "resources/resource.h"
#include "settings/Settings.h"

void ConstructStatics()
{
    ConstructHotKeys();
}

void DestroyStatics()
{
    DestroyHotKeys();
}

static SharedString* g_keyTexts;

static void FillList(HWND list)
{
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNA column = {LVCF_WIDTH | LVCF_TEXT};
    column.cx = 120;
    column.pszText = const_cast<char*>("Key");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = 280;
    column.pszText = const_cast<char*>("Command");
    SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    for (LONG i = 0; i < g_hotKeys.count; ++i) {
        LVITEMA item = {LVIF_TEXT | LVIF_PARAM};
        item.iItem = i;
        item.pszText = const_cast<char*>(g_keyTexts[i].TextOrEmpty());
        item.lParam = i;
        int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        LVITEMA command = {LVIF_TEXT};
        command.iSubItem = 1;
        command.pszText = const_cast<char*>(g_hotKeys.items[i].commandLine.TextOrEmpty());
        SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&command));
    }
}

static INT_PTR CALLBACK ListDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        FillList(GetDlgItem(dialog, IDC_LIST));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

static LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case TrayMessage:
        if (lParam == WM_LBUTTONDBLCLK)
            DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIG), window, ListDialogProc, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int ProgramEntry(HINSTANCE instance, HINSTANCE, char*, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    LoadHotKeys(g_hotKeys);
    g_keyTexts = static_cast<SharedString*>(AllocateBlock(g_hotKeys.count * sizeof(SharedString) + 1));
    if (!g_keyTexts)
        return 0;
    for (LONG i = 0; i < g_hotKeys.count; ++i)
        new (&g_keyTexts[i]) SharedString(HotKeyText(g_hotKeys.items[i]));

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BaselineProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "ZindralDialogBaseline";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 10, 10, 10, 10,
                                  nullptr, nullptr, instance, nullptr);
    MSG message;
    while (window && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
