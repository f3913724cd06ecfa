// The configuration dialog and the Configuration command, in-process.
#include "DialogTestSupport.h"
#include "dialogs/ConfigDlg.h"
#include "model/KeyNames.h"
#include "resources/resource.h"
#include "settings/Settings.h"

namespace {

const char Caption[] = "Hot Key Configuration";

HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_LIST); }
int RowCount(HWND dialog) { return ListView_GetItemCount(List(dialog)); }

std::string RowText(HWND dialog, int row, int column)
{
    char text[512] = "";
    ListView_GetItemText(List(dialog), row, column, text, sizeof(text));
    return text;
}

std::vector<std::string> Commands(HWND dialog)
{
    std::vector<std::string> commands;
    for (int row = 0; row < RowCount(dialog); ++row)
        commands.push_back(RowText(dialog, row, 1));
    return commands;
}

std::vector<std::string> Commands(const HotKeyList& list)
{
    std::vector<std::string> commands;
    for (LONG i = 0; i < list.count; ++i)
        commands.push_back(TextOf(list.items[i].commandLine));
    return commands;
}

void Select(HWND dialog, std::initializer_list<int> rows)
{
    ListView_SetItemState(List(dialog), -1, 0, LVIS_SELECTED);
    for (int row : rows)
        ListView_SetItemState(List(dialog), row, LVIS_SELECTED, LVIS_SELECTED);
}

void FillTable(HotKeyList& list, int entries)
{
    for (int i = 0; i < entries; ++i) {
        char command[32];
        wsprintfA(command, "C:\\tool%d.exe", i);
        list.Append(MakeEntry('A' + i % 26, HotKeyWin, command, i % 2 ? "-p" : nullptr));
    }
}

// Stands between a window and its procedure: the list view refuses one kind
// of message, or the heap fails while a dialog handles its WM_DESTROY.
UINT g_refusedMessage;
WNDPROC g_interposed;

LRESULT CALLBACK Refusing(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == g_refusedMessage)
        return FALSE;
    return CallWindowProcA(g_interposed, window, message, wParam, lParam);
}

LRESULT CALLBACK HeapFailsWhileDestroyed(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_DESTROY)
        return CallWindowProcA(g_interposed, window, message, wParam, lParam);
    g_allocationsBeforeFailure = 0;
    LRESULT result = CallWindowProcA(g_interposed, window, message, wParam, lParam);
    g_allocationsBeforeFailure = -1;
    return result;
}

void Interpose(HWND window, WNDPROC procedure)
{
    ui::OnUiThread([&] {
        g_interposed = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    });
}

INT_PTR Drive(ConfigDlg& dialog, const std::function<void(HWND)>& script) { return ui::Drive(dialog, Caption, script); }

// After a posted command and a round trip: no dialog but the configuration
// dialog. A modal dialog is shown only once its queue first runs empty, so
// hidden ones count too.
bool NoEditDialogAfter(HWND config, int button)
{
    ui::Click(config, button);
    ui::Sync();
    return ui::CountDialogs() == 1;
}

class ConfigDlgTest : public DialogTest {};

TEST_F(ConfigDlgTest, EmptyTableOpensEmptyAndOkGivesEmptyTable)
{
    ConfigDlg dialog;
    INT_PTR result = Drive(dialog, [&](HWND window) {
        EXPECT_EQ(RowCount(window), 0);
        char text[32] = "";
        LVCOLUMNA column = {LVCF_TEXT, 0, 0, text, sizeof(text)};
        ListView_GetColumn(List(window), 0, &column);
        EXPECT_STREQ(text, "Key");
        ListView_GetColumn(List(window), 1, &column);
        EXPECT_STREQ(text, "Command");
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.table.count, 0);
    EXPECT_TRUE(dialog.tableComplete);
}

TEST_F(ConfigDlgTest, ListsEveryEntryAndReturnsTheSameTableSharingTexts)
{
    HotKeyList source;
    source.Append(MakeEntry('A', HotKeyWin, "C:\\a.exe"));
    source.Append(MakeEntry(VK_F5, HotKeyCtrl | HotKeyAlt, "C:\\b.exe", "-b", "C:\\"));
    source.Append(MakeEntry(VK_SPACE, HotKeyCtrl | HotKeyWin, nullptr));
    ConfigDlg dialog;
    dialog.table = source;
    INT_PTR result = Drive(dialog, [&](HWND window) {
        ASSERT_EQ(RowCount(window), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(RowText(window, i, 0), TextOf(HotKeyText(source.items[i]))) << i;
        EXPECT_EQ(Commands(window), (std::vector<std::string>{"C:\\a.exe", "C:\\b.exe", ""}));
        EXPECT_TRUE(ListView_GetExtendedListViewStyle(List(window)) & LVS_EX_FULLROWSELECT);
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);

    ASSERT_EQ(dialog.table.count, 3);
    for (int i = 0; i < 3; ++i) {
        const HotKey& entry = dialog.table.items[i];
        EXPECT_EQ(entry.key, source.items[i].key);
        EXPECT_EQ(entry.modifiers, source.items[i].modifiers);
        EXPECT_EQ(BufferOf(entry.commandLine), BufferOf(source.items[i].commandLine)) << "texts are shared";
        EXPECT_EQ(BufferOf(entry.parameters), BufferOf(source.items[i].parameters));
        EXPECT_EQ(BufferOf(entry.workingDirectory), BufferOf(source.items[i].workingDirectory));
    }
}

TEST_F(ConfigDlgTest, ColumnWidthsSplitTheListThirtyToSeventyUnlessStored)
{
    int keyWidth = 0, commandWidth = 0, available = 0;
    auto measure = [&] {
        ConfigDlg dialog;
        Drive(dialog, [&](HWND window) {
            RECT client;
            GetClientRect(List(window), &client);
            available = client.right - GetSystemMetrics(SM_CXHSCROLL);
            keyWidth = ListView_GetColumnWidth(List(window), 0);
            commandWidth = ListView_GetColumnWidth(List(window), 1);
            ui::Click(window, IDCANCEL);
        });
    };
    measure();
    EXPECT_EQ(keyWidth, available * 30 / 100);
    EXPECT_EQ(commandWidth, available - available * 30 / 100);

    // Either width may be stored without the other.
    testreg::DeleteSettings();
    testreg::SetDword(DialogKey("ConfigDlg"), "KeyWidth", 123);
    measure();
    EXPECT_EQ(keyWidth, 123);
    EXPECT_EQ(commandWidth, available - available * 30 / 100);
}

TEST_F(ConfigDlgTest, AddAppendsAtTheEndWhateverIsSelected)
{
    ConfigDlg dialog;
    FillTable(dialog.table, 2);
    INT_PTR result = Drive(dialog, [&](HWND window) {
        Select(window, {0});
        InEditDialog(window, IDC_ADD, [&](HWND edit) {
            EXPECT_EQ(ui::ItemText(edit, IDC_KEY), "A");
            EXPECT_TRUE(ui::IsChecked(edit, IDC_WIN) && !ui::IsChecked(edit, IDC_CTRL) &&
                        !ui::IsChecked(edit, IDC_ALT) && !ui::IsChecked(edit, IDC_SHIFT));
            ui::SetItemText(edit, IDC_COMMAND_LINE, "C:\\new.exe");
            ui::Click(edit, IDOK);
        });
        // A cancelled add changes nothing.
        InEditDialog(window, IDC_ADD, [&](HWND edit) {
            ui::SetItemText(edit, IDC_COMMAND_LINE, "C:\\dropped.exe");
            ui::Click(edit, IDCANCEL);
        });
        EXPECT_EQ(Commands(window), (std::vector<std::string>{"C:\\tool0.exe", "C:\\tool1.exe", "C:\\new.exe"}));
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(dialog.table.count, 3);
    EXPECT_EQ(dialog.table.items[2].key, static_cast<UINT>('A'));
    EXPECT_EQ(dialog.table.items[2].modifiers, HotKeyWin);
    EXPECT_EQ(TextOf(dialog.table.items[2].commandLine), "C:\\new.exe");
}

TEST_F(ConfigDlgTest, EditChangesTheFirstSelectedRowInPlace)
{
    ConfigDlg dialog;
    FillTable(dialog.table, 3);
    INT_PTR result = Drive(dialog, [&](HWND window) {
        Select(window, {});
        EXPECT_TRUE(NoEditDialogAfter(window, IDC_EDIT)) << "no row selected";
        Select(window, {1, 2});
        InEditDialog(window, IDC_EDIT, [&](HWND edit) {
            EXPECT_EQ(ui::ItemText(edit, IDC_COMMAND_LINE), "C:\\tool1.exe");
            ui::SetItemText(edit, IDC_COMMAND_LINE, "C:\\edited.exe");
            CheckDlgButton(edit, IDC_SHIFT, BST_CHECKED);
            ui::Click(edit, IDOK);
        });
        const std::vector<std::string> afterEdit = Commands(window);
        EXPECT_EQ(afterEdit, (std::vector<std::string>{"C:\\tool0.exe", "C:\\edited.exe", "C:\\tool2.exe"}));
        InEditDialog(window, IDC_EDIT, [&](HWND edit) {
            ui::SetItemText(edit, IDC_COMMAND_LINE, "C:\\dropped.exe");
            ui::Click(edit, IDCANCEL);
        });
        EXPECT_EQ(Commands(window), afterEdit) << "a cancelled edit changes nothing";
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(dialog.table.count, 3);
    EXPECT_EQ(TextOf(dialog.table.items[1].commandLine), "C:\\edited.exe");
    EXPECT_EQ(dialog.table.items[1].modifiers, HotKeyWin | HotKeyShift);
    EXPECT_EQ(TextOf(dialog.table.items[1].parameters), "-p") << "untouched fields survive the edit";
}

TEST_F(ConfigDlgTest, DoubleClickEditsTheRowAndHeaderClickNeverSorts)
{
    ConfigDlg dialog;
    dialog.table.Append(MakeEntry('C', HotKeyWin, "C:\\c.exe"));
    dialog.table.Append(MakeEntry('A', HotKeyWin, "C:\\a.exe"));
    dialog.table.Append(MakeEntry('B', HotKeyWin, "C:\\b.exe"));
    Drive(dialog, [&](HWND window) {
        HWND header = ListView_GetHeader(List(window));
        RECT column = {};
        Header_GetItemRect(header, 0, &column);
        ui::PostClick(header, {(column.left + column.right) / 2, (column.top + column.bottom) / 2}, false);
        ui::Sync();
        EXPECT_EQ(Commands(window), (std::vector<std::string>{"C:\\c.exe", "C:\\a.exe", "C:\\b.exe"}));

        RECT row = {};
        ListView_GetItemRect(List(window), 2, &row, LVIR_LABEL);
        ui::PostClick(List(window), {(row.left + row.right) / 2, (row.top + row.bottom) / 2}, true);
        HWND edit = ui::WaitForDialog("Edit Hot Key");
        ASSERT_TRUE(edit);
        EXPECT_EQ(ui::ItemText(edit, IDC_COMMAND_LINE), "C:\\b.exe");
        ui::Click(edit, IDCANCEL);
        ASSERT_TRUE(ui::WaitGone(edit));
        ui::Click(window, IDCANCEL);
    });
}

TEST_F(ConfigDlgTest, DeleteKeyAndButtonRemoveOnlyTheFirstSelectedRowAndItsRecord)
{
    HotKeyList source;
    FillTable(source, 4);
    LONG before = g_liveBlocks;
    {
        ConfigDlg dialog;
        dialog.table = source;
        const std::vector<std::string> remaining = {"C:\\tool1.exe", "C:\\tool3.exe"};
        INT_PTR result = Drive(dialog, [&](HWND window) {
            ASSERT_TRUE(ui::FocusControl(window, IDC_LIST));
            Select(window, {});
            ASSERT_TRUE(ui::PressKey(VK_DELETE));
            EXPECT_EQ(RowCount(window), 4) << "no row selected";
            Select(window, {0, 2});
            LONG blocksBeforeDelete = g_liveBlocks;
            ASSERT_TRUE(ui::PressKey(VK_DELETE));
            EXPECT_EQ(g_liveBlocks, blocksBeforeDelete - 1) << "the row's record is freed at once";
            EXPECT_EQ(Commands(window), (std::vector<std::string>{"C:\\tool1.exe", "C:\\tool2.exe", "C:\\tool3.exe"}));
            Select(window, {1, 2});
            ui::Click(window, IDC_DELETE);
            ui::Sync();
            EXPECT_EQ(Commands(window), remaining);
            ui::Click(window, IDOK);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(Commands(dialog.table), remaining);
    }
    EXPECT_EQ(g_liveBlocks, before);
}

TEST_F(ConfigDlgTest, GrowsBothWaysDownToItsMinimumWithButtonsAtTheRight)
{
    ConfigDlg dialog;
    Drive(dialog, [&](HWND window) {
        const int buttons[5] = {IDOK, IDCANCEL, IDC_ADD, IDC_DELETE, IDC_EDIT};
        RECT before[5], list = ui::ControlRect(window, IDC_LIST);
        for (int i = 0; i < 5; ++i)
            before[i] = ui::ControlRect(window, buttons[i]);
        SIZE start = ui::WindowSize(window);
        SetWindowPos(window, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
        SIZE smallest = ui::WindowSize(window);
        EXPECT_EQ(smallest.cx, start.cx * 2 / 5);
        EXPECT_EQ(smallest.cy, start.cy * 4 / 5);
        SetWindowPos(window, nullptr, 0, 0, start.cx + 150, start.cy + 90, SWP_NOMOVE | SWP_NOZORDER);
        SIZE bigger = ui::WindowSize(window);
        EXPECT_EQ(bigger.cx, start.cx + 150);
        EXPECT_EQ(bigger.cy, start.cy + 90);
        for (int i = 0; i < 5; ++i) {
            RECT after = ui::ControlRect(window, buttons[i]);
            EXPECT_EQ(after.left, before[i].left + 150) << buttons[i];
            EXPECT_EQ(after.top, before[i].top) << buttons[i];
            EXPECT_EQ(after.right - after.left, before[i].right - before[i].left) << buttons[i];
            EXPECT_EQ(after.bottom - after.top, before[i].bottom - before[i].top) << buttons[i];
        }
        RECT grown = ui::ControlRect(window, IDC_LIST);
        EXPECT_EQ(grown.left, list.left);
        EXPECT_EQ(grown.top, list.top);
        EXPECT_EQ(grown.right, list.right + 150);
        EXPECT_EQ(grown.bottom, list.bottom + 90);
        ui::Click(window, IDCANCEL);
    });
}

TEST_F(ConfigDlgTest, StoredSizeOpensCentredOnTheWorkArea)
{
    // Without a stored size the platform centres the template on the work
    // area. The edit dialog's template position 0, 0 is its client area's,
    // relative to its owner's client area.
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SIZE base = {};
    ConfigDlg unstored;
    Drive(unstored, [&](HWND window) {
        base = ui::WindowSize(window);
        RECT rect = ui::ScreenRect(window);
        EXPECT_NEAR(rect.left, (work.left + work.right - base.cx) / 2, 1);
        EXPECT_NEAR(rect.top, (work.top + work.bottom - base.cy) / 2, 1);
        POINT clientOrigin = {}, editOrigin = {};
        ClientToScreen(window, &clientOrigin);
        InEditDialog(window, IDC_ADD, [&](HWND edit) {
            ClientToScreen(edit, &editOrigin);
            ui::Click(edit, IDCANCEL);
        });
        EXPECT_EQ(editOrigin.x, clientOrigin.x);
        EXPECT_EQ(editOrigin.y, clientOrigin.y);
        ui::Click(window, IDCANCEL);
    });

    // A stored size of 0 stands for none stored.
    struct Case {
        LONG storedWidth, storedHeight, expectedWidth, expectedHeight;
    } cases[] = {
        {700, 480, 700, 480},
        {700, 0, base.cx, base.cy},
        {0, 480, base.cx, base.cy},
        // Below the minimum, which is measured before the stored size applies.
        {30, 30, base.cx * 2 / 5, base.cy * 4 / 5},
        // Garbage: a negative size is the minimum, a huge one the largest
        // that the platform lets a window be dragged to.
        {-1, -1, base.cx * 2 / 5, base.cy * 4 / 5},
        {0x7FFFFFFF, 0x7FFFFFFF, GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)},
    };
    for (const Case& c : cases) {
        testreg::DeleteSettings();
        if (c.storedWidth)
            testreg::SetDword(DialogKey("ConfigDlg"), "Width", static_cast<DWORD>(c.storedWidth));
        if (c.storedHeight)
            testreg::SetDword(DialogKey("ConfigDlg"), "Height", static_cast<DWORD>(c.storedHeight));
        ConfigDlg dialog;
        Drive(dialog, [&](HWND window) {
            RECT rect = ui::ScreenRect(window);
            LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
            EXPECT_EQ(width, c.expectedWidth) << c.storedWidth << "x" << c.storedHeight;
            EXPECT_EQ(height, c.expectedHeight) << c.storedWidth << "x" << c.storedHeight;
            if (c.storedWidth && c.storedHeight) {
                EXPECT_EQ(rect.left, (work.left + work.right - width) / 2);
                EXPECT_EQ(rect.top, (work.top + work.bottom - height) / 2);
            }
            ui::Click(window, IDCANCEL);
        });
    }
}

TEST_F(ConfigDlgTest, ClosingThroughTheSystemMenuOrEscapeIsCancel)
{
    ConfigDlg dialog;
    INT_PTR result = Drive(dialog, [&](HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(result, IDCANCEL);

    ConfigDlg again;
    result = Drive(again, [&](HWND window) {
        ASSERT_TRUE(ui::FocusControl(window, IDC_LIST));
        ui::PressKey(VK_ESCAPE, false);
        ui::WaitGone(window);
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(ConfigDlgTest, AddDoesNothingAtAThousandRows)
{
    ConfigDlg dialog;
    HotKey entry = MakeEntry('A', HotKeyWin, "C:\\same.exe");
    for (int i = 0; i < 1000; ++i)
        dialog.table.Append(entry);
    INT_PTR result = Drive(dialog, [&](HWND window) {
        EXPECT_TRUE(NoEditDialogAfter(window, IDC_ADD)) << "a full table";
        Select(window, {0});
        ui::Click(window, IDC_DELETE);
        InEditDialog(window, IDC_ADD, [&](HWND edit) {
            ui::SetItemText(edit, IDC_COMMAND_LINE, "C:\\last.exe");
            ui::Click(edit, IDOK);
        });
        EXPECT_TRUE(NoEditDialogAfter(window, IDC_ADD)) << "a table full again";
        EXPECT_EQ(RowCount(window), 1000);
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(dialog.table.count, 1000);
    EXPECT_EQ(TextOf(dialog.table.items[999].commandLine), "C:\\last.exe");
}

// A new row whose first record the heap or the list refuses goes away; an
// existing row keeps its record and texts; rows the list refuses to remove
// while the dialog closes still go back into the table, and nothing leaks.
TEST_F(ConfigDlgTest, RowsNeverLoseTheirEntryWhenTheHeapOrTheListRefuses)
{
    HotKeyList source;
    FillTable(source, 3);
    LONG before = g_liveBlocks;
    {
        ConfigDlg dialog;
        dialog.table = source;
        INT_PTR result = Drive(dialog, [&](HWND window) {
            HotKey replacement = MakeEntry('Z', HotKeyAlt, "C:\\replacement.exe");
            auto tryBoth = [&] {
                ui::OnUiThread([&] {
                    LVITEMA item = {LVIF_PARAM, 3};
                    int row = ListView_InsertItem(List(window), &item);
                    if (!g_refusedMessage)
                        g_allocationsBeforeFailure = 0;
                    EXPECT_FALSE(dialog.SetItem(row, &replacement)) << "a new row";
                    EXPECT_FALSE(dialog.SetItem(1, &replacement)) << "an existing row";
                    g_allocationsBeforeFailure = -1;
                });
                EXPECT_EQ(RowCount(window), 3) << "no blank row without an entry";
            };
            g_refusedMessage = 0;
            tryBoth();
            g_refusedMessage = LVM_SETITEMA;
            Interpose(List(window), Refusing);
            tryBoth();
            EXPECT_EQ(Commands(window), Commands(source));
            g_refusedMessage = LVM_DELETEITEM;
            ui::Click(window, IDOK);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(Commands(dialog.table), Commands(source));
        EXPECT_TRUE(dialog.tableComplete);
    }
    EXPECT_EQ(g_liveBlocks, before);
}

TEST_F(ConfigDlgTest, EditWhoseTextsCannotBeReadKeepsTheRowsEntry)
{
    HotKeyList source;
    FillTable(source, 3);
    ConfigDlg dialog;
    dialog.table = source;
    INT_PTR result = Drive(dialog, [&](HWND window) {
        Select(window, {1});
        InEditDialog(window, IDC_EDIT, [&](HWND edit) {
            ui::SetItemText(edit, IDC_COMMAND_LINE, "C:\\edited.exe");
            Interpose(edit, HeapFailsWhileDestroyed);
            ui::Click(edit, IDOK);
        });
        EXPECT_EQ(Commands(window), Commands(source));
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Commands(dialog.table), Commands(source));
    ASSERT_EQ(dialog.table.count, 3);
    EXPECT_EQ(TextOf(dialog.table.items[1].parameters), "-p");
}

TEST_F(ConfigDlgTest, RowWithoutRecordNeitherCrashesEditNorLosesOtherEntries)
{
    HotKeyList source;
    FillTable(source, 3);
    LONG before = g_liveBlocks;
    {
        ConfigDlg dialog;
        dialog.table = source;
        INT_PTR result = Drive(dialog, [&](HWND window) {
            ui::OnUiThread([&] {
                LVITEMA item = {LVIF_PARAM, 1};
                ListView_GetItem(List(window), &item);
                HotKey* record = reinterpret_cast<HotKey*>(item.lParam);
                item.lParam = 0;
                ListView_SetItem(List(window), &item);
                record->~HotKey();
                FreeBlock(record);
            });
            Select(window, {1});
            EXPECT_TRUE(NoEditDialogAfter(window, IDC_EDIT));
            ui::Click(window, IDOK);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(Commands(dialog.table), (std::vector<std::string>{"C:\\tool0.exe", "C:\\tool2.exe"}));
        EXPECT_FALSE(dialog.tableComplete) << "the table lost an entry and must not go live";
    }
    EXPECT_EQ(g_liveBlocks, before);
}

class ConfigurationCommandTest : public StandInLauncherTest {
protected:
    // `live` (filled with numbered tools if asked) becomes the live table
    // with registered hot keys, stored as well.
    void GoLive(int entries = 0)
    {
        FillTable(live, entries);
        g_hotKeys = live;
        testreg::CreateKey(testreg::AppKey);
        SaveHotKeys(g_hotKeys);
        RegisterHotKeys(launcher, g_hotKeys);
    }

    // REG_NONE when the value is missing.
    static DWORD StoredType(const std::string& path, const char* name)
    {
        DWORD type = REG_NONE;
        RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, nullptr);
        return type;
    }

    HotKeyList live;
};

TEST_F(ConfigurationCommandTest, OkStoresTheTableAndRegistersTheNewHotKeyAtOnce)
{
    live.Append(MakeEntry('1', HotKeyWin, "C:\\dravik.exe", "1024 768"));
    live.Append(MakeEntry(VK_SPACE, HotKeyCtrl | HotKeyWin, "C:\\pellin.exe", nullptr, "C:\\work\\"));
    GoLive();
    RunCommand([&](HWND window) {
        InEditDialog(window, IDC_ADD, [&](HWND edit) {
            SendMessageA(GetDlgItem(edit, IDC_KEY), WM_KEYDOWN, VK_F9, 0);
            SendMessageA(GetDlgItem(edit, IDC_WIN), BM_SETCHECK, BST_UNCHECKED, 0);
            SendMessageA(GetDlgItem(edit, IDC_CTRL), BM_SETCHECK, BST_CHECKED, 0);
            ui::SetItemText(edit, IDC_COMMAND_LINE, "C:\\added.exe");
            ui::Click(edit, IDOK);
        });
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(g_dialogOpen, 0);
    EXPECT_EQ(g_dialogWindow, nullptr) << "a click on the icon would look for a destroyed window";
    ASSERT_EQ(g_hotKeys.count, 3);
    EXPECT_EQ(g_hotKeys.items[2].key, static_cast<UINT>(VK_F9));
    EXPECT_EQ(g_hotKeys.items[2].modifiers, HotKeyCtrl);
    EXPECT_FALSE(e2e::CombinationIsFree(HotKeyCtrl, VK_F9));
    EXPECT_FALSE(e2e::CombinationIsFree(HotKeyWin, '1'));

    EXPECT_EQ(testreg::SubKeys(std::string(testreg::AppKey) + "\\Keys"), (std::vector<std::string>{"000", "001", "002"}));
    // Stored: the live entries and the added one, each key by its name.
    live.Append(MakeEntry(VK_F9, HotKeyCtrl, "C:\\added.exe"));
    const char* const keyNames[] = {"1", "Space", "F9"};
    for (int i = 0; i < 3; ++i) {
        const HotKey& expected = live.items[i];
        std::string entry = testreg::EntryPath(i);
        EXPECT_EQ(StoredType(entry, "Key"), DWORD{REG_SZ});
        EXPECT_EQ(testreg::GetString(entry, "Key"), keyNames[i]);
        EXPECT_EQ(StoredType(entry, "Modifier"), DWORD{REG_DWORD});
        EXPECT_EQ(testreg::GetDword(entry, "Modifier"), expected.modifiers);
        EXPECT_EQ(StoredType(entry, "CommandLine"), DWORD{REG_SZ});
        EXPECT_EQ(testreg::GetString(entry, "CommandLine"), TextOf(expected.commandLine));
        if (expected.parameters.Text())
            EXPECT_EQ(testreg::GetString(entry, "Parameters"), TextOf(expected.parameters));
        else
            EXPECT_FALSE(testreg::HasValue(entry, "Parameters")) << i;
        if (expected.workingDirectory.Text())
            EXPECT_EQ(testreg::GetString(entry, "WorkingDirectory"), TextOf(expected.workingDirectory));
        else
            EXPECT_FALSE(testreg::HasValue(entry, "WorkingDirectory")) << i;
    }
}

// Zindral's own live hot keys count as free, since OK releases them first;
// what the system would refuse whoever held it is marked so, and never
// registered.
TEST_F(ConfigurationCommandTest, RowsOfTheLiveTableAreFreeAndBadCombinationsRefused)
{
    live.Append(MakeEntry('1', HotKeyWin, "C:\\dravik.exe", "1024 768"));
    live.Append(MakeEntry(VK_F9, HotKeyCtrl | 0x10, "C:\\bad-modifier.exe"));
    live.Append(MakeEntry(0, HotKeyCtrl, "C:\\no-key.exe"));
    GoLive();
    EXPECT_TRUE(e2e::CombinationIsFree(HotKeyCtrl, VK_F9)) << "a refused entry was registered";
    RunCommand([&](HWND window) {
        for (int row = 0; row < 3; ++row) {
            std::string text = TextOf(HotKeyText(live.items[row]));
            EXPECT_EQ(RowText(window, row, 0), row ? text + " (refused)" : text) << row;
        }
        ui::Click(window, IDCANCEL);
    });
}

TEST_F(ConfigurationCommandTest, CancelKeepsTablesButStoresSizeAndColumnWidths)
{
    GoLive(3);
    SIZE size = {};
    RunCommand([&](HWND window) {
        Select(window, {0});
        ui::Click(window, IDC_DELETE);
        SetWindowPos(window, nullptr, 0, 0, 720, 410, SWP_NOMOVE | SWP_NOZORDER);
        ListView_SetColumnWidth(List(window), 0, 140);
        ListView_SetColumnWidth(List(window), 1, 260);
        size = ui::WindowSize(window);
        ui::Click(window, IDCANCEL);
    });
    EXPECT_EQ(Commands(g_hotKeys), Commands(live));
    EXPECT_EQ(testreg::SubKeys(std::string(testreg::AppKey) + "\\Keys").size(), 3u);
    EXPECT_FALSE(e2e::CombinationIsFree(live.items[0].modifiers, live.items[0].key));
    const std::string geometry = DialogKey("ConfigDlg");
    EXPECT_EQ(testreg::GetDword(geometry, "Width"), static_cast<DWORD>(size.cx));
    EXPECT_EQ(testreg::GetDword(geometry, "Height"), static_cast<DWORD>(size.cy));
    EXPECT_EQ(testreg::GetDword(geometry, "KeyWidth"), 140u);
    EXPECT_EQ(testreg::GetDword(geometry, "CommandWidth"), 260u);
}

TEST_F(ConfigurationCommandTest, OkWithAShorterTableReleasesTheHotKeysBeyondIt)
{
    live.Append(MakeEntry(VK_F2, HotKeyCtrl, "C:\\two.exe"));
    live.Append(MakeEntry(VK_F3, HotKeyCtrl, "C:\\three.exe"));
    live.Append(MakeEntry(VK_F4, HotKeyCtrl, "C:\\four.exe"));
    GoLive();
    ASSERT_FALSE(e2e::CombinationIsFree(HotKeyCtrl, VK_F4));
    RunCommand([&](HWND window) {
        Select(window, {0});
        ui::Click(window, IDC_DELETE);
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(Commands(g_hotKeys), (std::vector<std::string>{"C:\\three.exe", "C:\\four.exe"}));
    EXPECT_TRUE(e2e::CombinationIsFree(HotKeyCtrl, VK_F2));
    EXPECT_FALSE(e2e::CombinationIsFree(HotKeyCtrl, VK_F3));
    EXPECT_FALSE(e2e::CombinationIsFree(HotKeyCtrl, VK_F4));
    EXPECT_EQ(testreg::SubKeys(std::string(testreg::AppKey) + "\\Keys"), (std::vector<std::string>{"000", "001"}));
}

TEST_F(ConfigurationCommandTest, OkOnARowTheHeapRefusedLeavesTheLiveTable)
{
    GoLive(3);
    // The copy of the table succeeds, every row's record fails.
    g_allocationsBeforeFailure = 1;
    RunCommand([&](HWND window) {
        ui::OnUiThread([] { g_allocationsBeforeFailure = -1; });
        EXPECT_EQ(RowCount(window), 0);
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(Commands(g_hotKeys), Commands(live));
    EXPECT_EQ(testreg::SubKeys(std::string(testreg::AppKey) + "\\Keys").size(), 3u);
    EXPECT_FALSE(e2e::CombinationIsFree(live.items[2].modifiers, live.items[2].key));
}

TEST_F(ConfigurationCommandTest, NoDialogWhenTheTableCannotBeCopied)
{
    GoLive(2);
    g_allocationsBeforeFailure = 0;
    RunCommandWith([] { EXPECT_EQ(ui::WaitForDialog(Caption, 1500), nullptr); });
    g_allocationsBeforeFailure = -1;
    EXPECT_EQ(g_dialogOpen, 0);
    EXPECT_EQ(Commands(g_hotKeys), Commands(live));
}

}  // namespace
