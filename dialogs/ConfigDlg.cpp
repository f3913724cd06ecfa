// The configuration dialog: the hot-key table as a list, and its command.
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

const AnchorRule Anchors[] = {
    {IDOK, AnchorFollowRight},
    {IDCANCEL, AnchorFollowRight},
    {IDC_EDIT, AnchorFollowRight},
    {IDC_ADD, AnchorFollowRight},
    {IDC_DELETE, AnchorFollowRight},
    {IDC_LIST, AnchorGrowBoth},
};
// CaptureAnchors reads one rule for each anchor the dialog holds.
static_assert(sizeof(Anchors) / sizeof(Anchors[0]) == sizeof(ConfigDlg::anchors) / sizeof(Anchor),
              "a rule for every anchor");

struct Column {
    const char* title;
    const char* widthName;   // where its width is remembered
};
const Column Columns[] = {
    {"Key", "KeyWidth"},
    {"Command", "CommandWidth"},
    {},   // the end: loops that stop here stay loops in the machine code
};

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
        LimitTracking(lParam, minWidth, minHeight, false);
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

inline void ConfigDlg::OnNotify(const NMHDR* header)
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

inline void ConfigDlg::OnCommand(int id)
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
    g_dialogWindow = hwnd;
    listView = GetDlgItem(hwnd, IDC_LIST);

    SetupList();

    CaptureLayout(Anchors, &minWidth, &minHeight, 2, 4);

    ApplyStoredSize(SettingsName, true);
}

LRESULT ConfigDlg::List(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(listView, message, wParam, lParam);
}

void ConfigDlg::SetupList()
{
    List(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

    RECT client;
    GetClientRect(listView, &client);
    int available = client.right - gripWidth;
    DWORD widths[2];
    widths[0] = available * 30 / 100;
    widths[1] = available - widths[0];

    RegKey settings;
    bool stored = OpenDialogSettings(settings, SettingsName);
    LVCOLUMNA column = {LVCF_WIDTH | LVCF_TEXT};
    for (int i = 0; Columns[i].title; ++i) {
        // Either width may be stored without the other.
        if (stored)
            settings.ReadDword(Columns[i].widthName, &widths[i]);
        column.cx = static_cast<int>(widths[i]);
        column.pszText = const_cast<char*>(Columns[i].title);
        List(LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }

    for (LONG i = 0; i < table.count; ++i) {
        int index = InsertEmptyRow(i);
        // An entry without a row would vanish from the table on OK.
        if (index < 0 || !SetItem(index, &table.items[i]))
            tableComplete = false;
    }
    ShowMarks();
}

LRESULT ConfigDlg::RowMessage(UINT message, int index, HotKey** record)
{
    LVITEMA item = {LVIF_PARAM};
    item.iItem = index;
    LRESULT result = List(message, 0, reinterpret_cast<LPARAM>(&item));
    *record = reinterpret_cast<HotKey*>(item.lParam);
    return result;
}

inline int ConfigDlg::InsertEmptyRow(int index)
{
    HotKey* none;
    return static_cast<int>(RowMessage(LVM_INSERTITEMA, index, &none));
}

inline bool ConfigDlg::ReadRow(int index, HotKey** record)
{
    return RowMessage(LVM_GETITEMA, index, record) != 0;
}

bool ConfigDlg::SetItem(int index, const HotKey* entry)
{
    HotKey* old;
    if (!ReadRow(index, &old))
        return false;

    HotKey* record = NewRecord(*entry);
    if (!record || !SetKeyColumn(index, record, "")) {
        // Never leave a row without its entry: keep the old record, or drop
        // the row that was to receive its first one.
        DeleteRecord(record);
        if (!old)
            List(LVM_DELETEITEM, index, 0);
        return false;
    }
    DeleteRecord(old);

    LVITEMA item = {LVIF_TEXT};
    item.iItem = index;
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(entry->commandLine.TextOrEmpty());
    List(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return true;
}

bool ConfigDlg::SetKeyColumn(int index, HotKey* record, const char* mark)
{
    SharedString keyText = HotKeyText(*record);
    keyText.Append(mark);
    LVITEMA item = {LVIF_TEXT | LVIF_PARAM};
    item.iItem = index;
    item.pszText = const_cast<char*>(keyText.TextOrEmpty());
    item.lParam = reinterpret_cast<LPARAM>(record);
    return List(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

void ConfigDlg::EditRow(int index, const HotKey* start)
{
    HotKeyDlg edit;
    if (start) {
        edit.hotKey = *start;
    } else {
        edit.hotKey.key = 'A';
        edit.hotKey.modifiers = HotKeyWin;
    }
    if (edit.Show(hwnd) != IDOK || !edit.textsRead)
        return;
    if (index < 0)
        index = InsertEmptyRow(static_cast<int>(List(LVM_GETITEMCOUNT, 0, 0)));
    if (index >= 0 && SetItem(index, &edit.hotKey))
        ShowMarks();
}

void ConfigDlg::AddHotKey()
{
    // Stored entries are numbered 000 to 999: a further one could not be saved.
    if (List(LVM_GETITEMCOUNT, 0, 0) < MaxHotKeys)
        EditRow(-1, nullptr);
}

void ConfigDlg::EditSelected()
{
    HotKey* record;
    int index = FirstSelectedRow(&record);
    if (index >= 0 && record)
        EditRow(index, record);
}

void ConfigDlg::DeleteSelected()
{
    HotKey* record;
    int index = FirstSelectedRow(&record);
    // The row goes first, so that it never points at a freed record.
    if (index >= 0 && List(LVM_DELETEITEM, index, 0)) {
        DeleteRecord(record);
        ShowMarks();
    }
}

// Rows are forecast in list order, the order in which OK registers them, so
// that of two equal rows the later one is marked.
void ConfigDlg::ShowMarks()
{
    static const char* const Marks[] = {"", " (in use)", " (refused)"};
    BeginHotKeyForecast();
    HotKey* record;
    for (int row = 0; ReadRow(row, &record); ++row) {
        if (record)
            SetKeyColumn(row, record, Marks[ForecastHotKey(*record)]);
    }
}

void ConfigDlg::OnDestroy()
{
    // Rows are read by index, not by removing row 0 until none is left, so
    // that a row the list refuses to remove cannot cut the table short.
    table.count = 0;
    HotKey* record;
    for (int row = 0; ReadRow(row, &record); ++row) {
        if (!record || !table.Append(*record))
            tableComplete = false;
        DeleteRecord(record);
    }
    // The rows point at freed records now; the list goes with the dialog.
    List(LVM_DELETEALLITEMS, 0, 0);
    SaveGeometry();
}

inline void ConfigDlg::SaveGeometry()
{
    RegKey settings;
    if (!SaveNormalSize(settings, SettingsName))
        return;

    LVCOLUMNA column = {LVCF_WIDTH};
    for (int i = 0; Columns[i].title; ++i) {
        if (List(LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)))
            settings.WriteDword(Columns[i].widthName, static_cast<DWORD>(column.cx));
    }
}

int ConfigDlg::FirstSelectedRow(HotKey** record)
{
    int index = static_cast<int>(List(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (index < 0 || !ReadRow(index, record))
        return -1;
    return index;
}

void ConfigurationCommand(HWND window)
{
    g_dialogOpen = 1;
    // The list is to show what the live table does.
    RegisterFailedHotKeys(window);
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
    g_dialogWindow = nullptr;
}
