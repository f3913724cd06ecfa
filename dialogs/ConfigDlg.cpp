#include "dialogs/ConfigDlg.h"
#include <new>
#include <commctrl.h>
#include "dialogs/Commands.h"
#include "dialogs/HotKeyDlg.h"
#include "launcher/Launcher.h"
#include "model/Heap.h"
#include "model/KeyNames.h"
#include "resources/resource.h"
#include "settings/Settings.h"

namespace {

const char SettingsName[] = "ConfigDlg";

HotKey* NewRecord(const HotKey& entry)
{
    void* block = AllocateBlock(sizeof(HotKey));
    return block ? new (block) HotKey(entry) : nullptr;
}

void DeleteRecord(HotKey* record)
{
    if (!record)
        return;
    record->~HotKey();
    FreeBlock(record);
}

}  // namespace

ConfigDlg::ConfigDlg()
    : ResizableDialog(IDD_CONFIG), anchors(), minWidth(0), minHeight(0), listView(nullptr),
      tableComplete(true)
{
}

Anchor* ConfigDlg::GetAnchors(int& count)
{
    count = sizeof(anchors) / sizeof(anchors[0]);
    return anchors;
}

bool ConfigDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return true;
    case WM_DESTROY:
        OnDestroy();
        return false;
    case WM_GETMINMAXINFO:
        // Not yet measured before WM_INITDIALOG: leave the platform's limits.
        if (minHeight > 0) {
            MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize.x = minWidth;
            limits->ptMinTrackSize.y = minHeight;
        }
        return false;
    case WM_NOTIFY:
        OnNotify(reinterpret_cast<const NMHDR*>(lParam));
        return false;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return true;
    default:
        return LayoutProc(message, wParam, lParam);
    }
}

void ConfigDlg::OnNotify(const NMHDR* header)
{
    if (header->idFrom != IDC_LIST)
        return;
    if (header->code == LVN_KEYDOWN) {
        if (reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey == VK_DELETE)
            DeleteSelected();
    } else if (header->code == NM_DBLCLK) {
        EditSelected();
    }
}

void ConfigDlg::OnCommand(int id)
{
    if (id == IDOK || id == IDCANCEL)
        EndDialog(hwnd, id);
    else if (id == IDC_ADD)
        AddHotKey();
    else if (id == IDC_DELETE)
        DeleteSelected();
    else if (id == IDC_EDIT)
        EditSelected();
}

void ConfigDlg::OnInitDialog()
{
    listView = GetDlgItem(hwnd, IDC_LIST);

    RECT window;
    GetWindowRect(hwnd, &window);
    minWidth = (window.right - window.left) * 2 / 5;
    minHeight = (window.bottom - window.top) * 4 / 5;

    SetupList();

    anchors[0].Capture(hwnd, IDOK, AnchorFollowRight);
    anchors[1].Capture(hwnd, IDCANCEL, AnchorFollowRight);
    anchors[2].Capture(hwnd, IDC_EDIT, AnchorFollowRight);
    anchors[3].Capture(hwnd, IDC_ADD, AnchorFollowRight);
    anchors[4].Capture(hwnd, IDC_DELETE, AnchorFollowRight);
    anchors[5].Capture(hwnd, IDC_LIST, AnchorGrowBoth);

    int width;
    int height;
    if (StoredSize(SettingsName, &width, &height)) {
        MoveWindow(hwnd, 0, 0, width, height, TRUE);
        CenterOnWorkArea();
    }
}

void ConfigDlg::SetupList()
{
    SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

    RECT client;
    GetClientRect(listView, &client);
    int available = client.right - gripWidth;
    int keyWidth = available * 30 / 100;
    int commandWidth = available - keyWidth;

    RegKey settings;
    if (OpenDialogSettings(settings, SettingsName)) {
        DWORD stored;
        if (settings.ReadDword("KeyWidth", &stored))
            keyWidth = static_cast<int>(stored);
        if (settings.ReadDword("CommandWidth", &stored))
            commandWidth = static_cast<int>(stored);
    }

    LVCOLUMNA column = {LVCF_WIDTH | LVCF_TEXT};
    column.cx = keyWidth;
    column.pszText = const_cast<char*>("Key");
    SendMessageA(listView, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = commandWidth;
    column.pszText = const_cast<char*>("Command");
    SendMessageA(listView, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));

    for (LONG i = 0; i < table.count; ++i) {
        int index = InsertEmptyRow(i);
        // An entry without a row would vanish from the table on OK.
        if (index < 0 || !SetItem(index, &table.items[i]))
            tableComplete = false;
    }
}

int ConfigDlg::InsertEmptyRow(int index)
{
    LVITEMA item = {LVIF_PARAM};
    item.iItem = index;
    return static_cast<int>(SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool ConfigDlg::SetItem(int index, const HotKey* entry)
{
    LVITEMA item = {LVIF_PARAM};
    item.iItem = index;
    if (!SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return false;
    HotKey* old = reinterpret_cast<HotKey*>(item.lParam);

    HotKey* record = NewRecord(*entry);
    if (!record) {
        // Never leave a row without its entry: keep the old record, or drop
        // the row that was to receive its first one.
        if (!old)
            DeleteRow(index);
        return false;
    }

    SharedString keyText = HotKeyText(*entry);
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iSubItem = 0;
    item.pszText = const_cast<char*>(keyText.TextOrEmpty());
    item.lParam = reinterpret_cast<LPARAM>(record);
    if (!SendMessageA(listView, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item))) {
        DeleteRecord(record);
        return false;
    }
    DeleteRecord(old);

    item.mask = LVIF_TEXT;
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(entry->commandLine.TextOrEmpty());
    SendMessageA(listView, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return true;
}

void ConfigDlg::AddHotKey()
{
    // Stored entries are numbered 000 to 999: a further one could not be saved.
    if (SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0) >= MaxHotKeys)
        return;

    HotKeyDlg edit;
    edit.hotKey.key = 'A';
    edit.hotKey.modifiers = HotKeyWin;
    if (edit.Show(hwnd) != IDOK)
        return;

    int index = InsertEmptyRow(static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0)));
    if (index >= 0)
        SetItem(index, &edit.hotKey);
}

void ConfigDlg::EditSelected()
{
    int index = FirstSelectedRow();
    if (index < 0)
        return;
    HotKey* record = RowRecord(index);
    if (!record)
        return;

    HotKeyDlg edit;
    edit.hotKey = *record;
    if (edit.Show(hwnd) == IDOK)
        SetItem(index, &edit.hotKey);
}

void ConfigDlg::DeleteSelected()
{
    int index = FirstSelectedRow();
    if (index < 0)
        return;
    HotKey* record = RowRecord(index);
    // The row goes first, so that it never points at a freed record.
    if (SendMessageA(listView, LVM_DELETEITEM, index, 0))
        DeleteRecord(record);
}

void ConfigDlg::OnDestroy()
{
    table.count = 0;
    for (;;) {
        LVITEMA item = {LVIF_PARAM};
        if (!SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
            break;
        HotKey* record = reinterpret_cast<HotKey*>(item.lParam);
        if (!record || !table.Append(*record))
            tableComplete = false;
        if (!SendMessageA(listView, LVM_DELETEITEM, 0, 0))
            break;
        DeleteRecord(record);
    }
    SaveGeometry();
}

void ConfigDlg::SaveGeometry()
{
    RegKey settings;
    if (!CreateDialogSettings(settings, SettingsName))
        return;
    WriteNormalSize(settings);

    LVCOLUMNA column = {LVCF_WIDTH};
    if (SendMessageA(listView, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column)))
        settings.WriteDword("KeyWidth", static_cast<DWORD>(column.cx));
    if (SendMessageA(listView, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column)))
        settings.WriteDword("CommandWidth", static_cast<DWORD>(column.cx));
}

HotKey* ConfigDlg::RowRecord(int index)
{
    LVITEMA item = {LVIF_PARAM};
    item.iItem = index;
    if (!SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<HotKey*>(item.lParam);
}

int ConfigDlg::FirstSelectedRow()
{
    return static_cast<int>(SendMessageA(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ConfigDlg::DeleteRow(int index)
{
    SendMessageA(listView, LVM_DELETEITEM, index, 0);
}

void ConfigurationCommand(HWND window)
{
    g_dialogOpen = 1;
    ConfigDlg dialog;
    dialog.table = g_hotKeys;
    // A copy that the heap cut short would show, and on OK save, a table
    // without the entries it lost.
    bool copied = dialog.table.count == g_hotKeys.count;
    if (copied && dialog.Show(window) == IDOK && dialog.tableComplete) {
        // The old count decides which identifiers are released.
        UnregisterHotKeys(window, g_hotKeys);
        g_hotKeys = dialog.table;
        SaveHotKeys(g_hotKeys);
        RegisterHotKeys(window, g_hotKeys);
    }
    g_dialogOpen = 0;
}
