// The hot-key edit dialog, shown in-process and driven from a second thread.
#include "DialogTestSupport.h"
#include "dialogs/HotKeyDlg.h"
#include "resources/resource.h"

namespace {

const char Caption[] = "Edit Hot Key";

class HotKeyDlgTest : public DialogTest {
protected:
    // Shows the dialog for `dialog` while `script` runs with its window.
    static INT_PTR Drive(HotKeyDlg& dialog, const std::function<void(HWND)>& script, HWND owner = nullptr)
    {
        return ui::Drive(dialog, Caption, script, owner);
    }
};

TEST_F(HotKeyDlgTest, NewEntryShowsAWithOnlyWinChecked)
{
    HotKeyDlg dialog;
    dialog.hotKey.key = 'A';
    dialog.hotKey.modifiers = HotKeyWin;
    std::string key, commandLine;
    bool win = false, ctrl = true, alt = true, shift = true;
    DWORD selection = 0;
    INT_PTR result = Drive(dialog, [&](HWND window) {
        key = ui::ItemText(window, IDC_KEY);
        commandLine = ui::ItemText(window, IDC_COMMAND_LINE);
        win = ui::IsChecked(window, IDC_WIN);
        ctrl = ui::IsChecked(window, IDC_CTRL);
        alt = ui::IsChecked(window, IDC_ALT);
        shift = ui::IsChecked(window, IDC_SHIFT);
        selection = static_cast<DWORD>(SendMessageA(GetDlgItem(window, IDC_KEY), EM_GETSEL, 0, 0));
        ui::Click(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(key, "A");
    EXPECT_EQ(commandLine, "");
    EXPECT_TRUE(win);
    EXPECT_FALSE(ctrl);
    EXPECT_FALSE(alt);
    EXPECT_FALSE(shift);
    EXPECT_EQ(selection, MAKELONG(1, 1)) << "caret after the name";
}

TEST_F(HotKeyDlgTest, ShowsAndReturnsEveryFieldAndKeepsTheVerb)
{
    HotKeyDlg dialog;
    dialog.hotKey = MakeEntry(VK_F12, HotKeyCtrl | HotKeyAlt | HotKeyShift, "C:\\tool.exe", "-x 1", "C:\\work\\");
    dialog.hotKey.verb.Assign("open");
    std::string key, commandLine, parameters, directory;
    bool win = true, ctrl = false, alt = false, shift = false;
    INT_PTR result = Drive(dialog, [&](HWND window) {
        key = ui::ItemText(window, IDC_KEY);
        commandLine = ui::ItemText(window, IDC_COMMAND_LINE);
        parameters = ui::ItemText(window, IDC_PARAMETERS);
        directory = ui::ItemText(window, IDC_WORKING_DIRECTORY);
        win = ui::IsChecked(window, IDC_WIN);
        ctrl = ui::IsChecked(window, IDC_CTRL);
        alt = ui::IsChecked(window, IDC_ALT);
        shift = ui::IsChecked(window, IDC_SHIFT);
        // Change every field, then confirm.
        ui::SetItemText(window, IDC_COMMAND_LINE, "D:\\other.cmd");
        ui::SetItemText(window, IDC_PARAMETERS, "");
        ui::SetItemText(window, IDC_WORKING_DIRECTORY, "D:\\");
        SendMessageA(GetDlgItem(window, IDC_WIN), BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(GetDlgItem(window, IDC_ALT), BM_SETCHECK, BST_UNCHECKED, 0);
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(key, "F12");
    EXPECT_EQ(commandLine, "C:\\tool.exe");
    EXPECT_EQ(parameters, "-x 1");
    EXPECT_EQ(directory, "C:\\work\\");
    EXPECT_FALSE(win);
    EXPECT_TRUE(ctrl);
    EXPECT_TRUE(alt);
    EXPECT_TRUE(shift);

    EXPECT_EQ(dialog.hotKey.key, static_cast<UINT>(VK_F12));
    EXPECT_EQ(dialog.hotKey.modifiers, HotKeyWin | HotKeyCtrl | HotKeyShift);
    EXPECT_EQ(TextOf(dialog.hotKey.commandLine), "D:\\other.cmd");
    EXPECT_EQ(TextOf(dialog.hotKey.parameters), "");
    EXPECT_EQ(TextOf(dialog.hotKey.workingDirectory), "D:\\");
    EXPECT_EQ(TextOf(dialog.hotKey.verb), "open");
}

TEST_F(HotKeyDlgTest, KeyFieldCapturesKeysButNotModifiersAlone)
{
    HotKeyDlg dialog;
    dialog.hotKey.key = 'A';
    dialog.hotKey.modifiers = HotKeyWin;
    std::string afterF5, afterModifiers, afterTab, afterReturn, afterEscape, afterLetter, afterAltX, afterF10,
        afterInputMethod;
    bool stillOpen = false, focusKept = false;
    INT_PTR result = Drive(dialog, [&](HWND window) {
        HWND field = GetDlgItem(window, IDC_KEY);
        ASSERT_TRUE(ui::FocusControl(window, IDC_KEY));
        ASSERT_TRUE(ui::PressKey(VK_F5));
        afterF5 = ui::Text(field);
        ASSERT_TRUE(ui::PressKey(VK_SHIFT));
        ASSERT_TRUE(ui::PressKey(VK_CONTROL));
        ASSERT_TRUE(ui::PressKey(VK_MENU));
        afterModifiers = ui::Text(field);
        ASSERT_TRUE(ui::PressKey(VK_TAB));
        afterTab = ui::Text(field);
        ASSERT_TRUE(ui::PressKey(VK_RETURN));
        afterReturn = ui::Text(field);
        ASSERT_TRUE(ui::PressKey(VK_ESCAPE));
        afterEscape = ui::Text(field);
        stillOpen = IsWindowVisible(window) != FALSE;
        GUITHREADINFO info = {sizeof(info)};
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        focusKept = info.hwndFocus == field;
        // A letter shows its name only, no typed character beside it.
        ASSERT_TRUE(ui::PressKey('Q'));
        afterLetter = ui::Text(field);
        ASSERT_TRUE(ui::PressChord({VK_MENU, 'X'}));
        afterAltX = ui::Text(field);
        ASSERT_TRUE(ui::PressKey(VK_F10));
        afterF10 = ui::Text(field);
        // An input method turns every key into VK_PROCESSKEY; the scan code still names it.
        UINT scanCode = MapVirtualKeyA('A', MAPVK_VK_TO_VSC);
        SendMessageA(field, WM_KEYDOWN, VK_PROCESSKEY, MAKELPARAM(1, scanCode));
        afterInputMethod = ui::Text(field);
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(afterF5, "F5");
    EXPECT_EQ(afterModifiers, "F5");
    EXPECT_EQ(afterTab, "Tab");
    EXPECT_EQ(afterReturn, "Return");
    EXPECT_EQ(afterEscape, "Escape");
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(focusKept);
    EXPECT_EQ(afterLetter, "Q");
    EXPECT_EQ(afterAltX, "X");
    EXPECT_EQ(afterF10, "F10");
    EXPECT_EQ(afterInputMethod, "A");
    EXPECT_EQ(dialog.hotKey.key, static_cast<UINT>('A'));
    EXPECT_EQ(dialog.hotKey.modifiers, HotKeyWin) << "a key press never touches the boxes";
}

void PutOnClipboard(const char* text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, lstrlenA(text) + 1);
    lstrcpyA(static_cast<char*>(GlobalLock(block)), text);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

TEST_F(HotKeyDlgTest, KeyFieldNeverShowsAnythingButTheCapturedKey)
{
    PutOnClipboard("pasted");
    HotKeyDlg dialog;
    dialog.hotKey.key = 'A';
    std::vector<std::string> afterEditing, afterUndo;
    std::string afterMenuPaste, afterPrint;
    bool canUndo = false;
    INT_PTR result = Drive(dialog, [&](HWND window) {
        HWND field = GetDlgItem(window, IDC_KEY);
        ASSERT_TRUE(ui::FocusControl(window, IDC_KEY));
        ASSERT_TRUE(ui::PressKey(VK_F5));
        for (UINT message : {UINT(WM_PASTE), UINT(WM_CUT), UINT(WM_CLEAR)}) {
            SendMessageA(field, EM_SETSEL, 0, -1);
            SendMessageA(field, message, 0, 0);
            afterEditing.push_back(ui::Text(field));
        }
        // Something to undo: showing a key leaves nothing, so a replacement
        // that bypasses the capture makes some.
        SendMessageA(field, EM_SETSEL, 0, -1);
        SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed"));
        canUndo = SendMessageA(field, EM_CANUNDO, 0, 0) != 0;
        for (UINT message : {UINT(WM_UNDO), UINT(EM_UNDO)}) {
            SendMessageA(field, message, 0, 0);
            afterUndo.push_back(ui::Text(field));
        }
        ASSERT_TRUE(ui::PressKey(VK_F5));
        // The field's own context menu, its Paste chosen by its mnemonic.
        PostMessageA(field, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field), MAKELPARAM(-1, -1));
        ui::WaitUntil([] { return FindWindowA("#32768", nullptr) != nullptr; }, 3000);
        ui::PressKey('P', false);
        ui::WaitUntil([] { return FindWindowA("#32768", nullptr) == nullptr; }, 3000);
        ui::Sync();
        afterMenuPaste = ui::Text(field);
        // Windows keeps Print Screen's key-down: the field gets its key-up alone.
        ASSERT_TRUE(ui::ReleaseKey(VK_SNAPSHOT));
        afterPrint = ui::Text(field);
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(afterEditing, std::vector<std::string>(3, "F5"));
    EXPECT_TRUE(canUndo);
    EXPECT_EQ(afterUndo, std::vector<std::string>(2, "typed"));
    EXPECT_EQ(afterMenuPaste, "F5");
    EXPECT_EQ(afterPrint, "Print");
    EXPECT_EQ(dialog.hotKey.key, static_cast<UINT>(VK_SNAPSHOT));
}

TEST_F(HotKeyDlgTest, AltWithAMnemonicLetterIsCapturedWithoutTouchingTheBoxes)
{
    HotKeyDlg dialog;
    dialog.hotKey.key = 'A';
    std::string text;
    bool win = true, focusKept = false;
    INT_PTR result = Drive(dialog, [&](HWND window) {
        ASSERT_TRUE(ui::FocusControl(window, IDC_KEY));
        ASSERT_TRUE(ui::PressChord({VK_MENU, 'W'}));
        ASSERT_TRUE(ui::Sync());
        text = ui::ItemText(window, IDC_KEY);
        win = ui::IsChecked(window, IDC_WIN);
        GUITHREADINFO info = {sizeof(info)};
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        focusKept = info.hwndFocus == GetDlgItem(window, IDC_KEY);
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(text, "W");
    EXPECT_FALSE(win);
    EXPECT_TRUE(focusKept);
    EXPECT_EQ(dialog.hotKey.key, static_cast<UINT>('W'));
    EXPECT_EQ(dialog.hotKey.modifiers, 0u);
}

TEST_F(HotKeyDlgTest, EnterAndEscapeInAnotherFieldEndTheDialog)
{
    HotKeyDlg dialog;
    dialog.hotKey.key = 'A';
    INT_PTR result = Drive(dialog, [&](HWND window) {
        ASSERT_TRUE(ui::FocusControl(window, IDC_COMMAND_LINE));
        ui::PressKey(VK_RETURN, false);
        ui::WaitGone(window);
    });
    EXPECT_EQ(result, IDOK);

    HotKeyDlg again;
    again.hotKey.key = 'A';
    result = Drive(again, [&](HWND window) {
        ASSERT_TRUE(ui::FocusControl(window, IDC_PARAMETERS));
        ui::PressKey(VK_ESCAPE, false);
        ui::WaitGone(window);
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(HotKeyDlgTest, WidensButNeverNarrowsOrChangesHeight)
{
    HotKeyDlg dialog;
    dialog.hotKey.key = 'A';
    SIZE start = {}, shrunk = {}, taller = {}, wider = {};
    RECT before[7] = {}, after[7] = {};
    const int ids[7] = {IDOK, IDCANCEL, IDC_BROWSE, IDC_COMMAND_LINE, IDC_PARAMETERS, IDC_WORKING_DIRECTORY, IDC_KEY};
    Drive(dialog, [&](HWND window) {
        start = ui::WindowSize(window);
        for (int i = 0; i < 7; ++i)
            before[i] = ui::ControlRect(window, ids[i]);
        SetWindowPos(window, nullptr, 0, 0, start.cx - 50, start.cy - 30, SWP_NOMOVE | SWP_NOZORDER);
        shrunk = ui::WindowSize(window);
        SetWindowPos(window, nullptr, 0, 0, start.cx, start.cy + 100, SWP_NOMOVE | SWP_NOZORDER);
        taller = ui::WindowSize(window);
        SetWindowPos(window, nullptr, 0, 0, start.cx + 120, start.cy, SWP_NOMOVE | SWP_NOZORDER);
        wider = ui::WindowSize(window);
        for (int i = 0; i < 7; ++i)
            after[i] = ui::ControlRect(window, ids[i]);
        ui::Click(window, IDCANCEL);
    });
    EXPECT_EQ(shrunk.cx, start.cx);
    EXPECT_EQ(shrunk.cy, start.cy);
    EXPECT_EQ(taller.cy, start.cy);
    EXPECT_EQ(wider.cx, start.cx + 120);
    EXPECT_EQ(wider.cy, start.cy);
    for (int i = 0; i < 3; ++i) {  // buttons follow the right edge
        EXPECT_EQ(after[i].left, before[i].left + 120) << ids[i];
        EXPECT_EQ(after[i].right - after[i].left, before[i].right - before[i].left) << ids[i];
        EXPECT_EQ(after[i].top, before[i].top) << ids[i];
    }
    for (int i = 3; i < 6; ++i) {  // text fields widen
        EXPECT_EQ(after[i].left, before[i].left) << ids[i];
        EXPECT_EQ(after[i].right, before[i].right + 120) << ids[i];
        EXPECT_EQ(after[i].top, before[i].top) << ids[i];
        EXPECT_EQ(after[i].bottom, before[i].bottom) << ids[i];
    }
    EXPECT_TRUE(EqualRect(&after[6], &before[6])) << "the key field stays";
}

TEST_F(HotKeyDlgTest, CancelDiscardsNothingOfTheOwnersButStoresTheSize)
{
    SIZE start = {};
    HotKeyDlg dialog;
    dialog.hotKey = MakeEntry('B', HotKeyCtrl, "C:\\b.exe");
    INT_PTR result = Drive(dialog, [&](HWND window) {
        start = ui::WindowSize(window);
        SetWindowPos(window, nullptr, 0, 0, start.cx + 40, start.cy, SWP_NOMOVE | SWP_NOZORDER);
        ui::Click(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    DWORD type = 0;
    EXPECT_EQ(testreg::GetDword(DialogKey("HotKeyDlg"), "Width", &type), static_cast<DWORD>(start.cx + 40));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(testreg::GetDword(DialogKey("HotKeyDlg"), "Height", &type), static_cast<DWORD>(start.cy));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(HotKeyDlgTest, StoredSizeReopensInPlaceWithTheTemplateHeight)
{
    // An owner somewhere on the screen: the dialog opens at its place there,
    // which a stored size must not change.
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 130, 90, 700, 500,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(owner);
    auto open = [&] {
        HotKeyDlg dialog;
        dialog.hotKey.key = 'A';
        RECT rect = {};
        Drive(
            dialog,
            [&](HWND window) {
                rect = ui::ScreenRect(window);
                ui::Click(window, IDCANCEL);
            },
            owner);
        return rect;
    };
    RECT base = open();
    LONG width = base.right - base.left, height = base.bottom - base.top;
    ASSERT_GT(width, 0);

    struct Case {
        bool width, height;
        LONG storedWidth, storedHeight;
        LONG expectedWidth, expectedHeight;
    } cases[] = {
        {true, true, width + 90, height + 70, width + 90, height},
        {true, false, width + 90, 0, width, height},
        {false, true, 0, height + 70, width, height},
        {true, true, 20, 20, width, height},
        // Garbage: the height is fixed, a negative width is the minimum and a
        // huge one the largest that the platform lets a window be dragged to.
        {true, true, -1, -1, width, height},
        {true, true, 0x7FFFFFFF, 0x7FFFFFFF, GetSystemMetrics(SM_CXMAXTRACK), height},
    };
    for (const Case& c : cases) {
        testreg::DeleteSettings();
        if (c.width)
            testreg::SetDword(DialogKey("HotKeyDlg"), "Width", static_cast<DWORD>(c.storedWidth));
        if (c.height)
            testreg::SetDword(DialogKey("HotKeyDlg"), "Height", static_cast<DWORD>(c.storedHeight));
        RECT rect = open();
        EXPECT_EQ(rect.right - rect.left, c.expectedWidth) << c.storedWidth << "x" << c.storedHeight;
        EXPECT_EQ(rect.bottom - rect.top, c.expectedHeight) << c.storedWidth << "x" << c.storedHeight;
        EXPECT_EQ(rect.left, base.left);
        EXPECT_EQ(rect.top, base.top);
    }
    DestroyWindow(owner);
}

// Browse: a file directly in the root of drive C: of the test prefix.
class BrowseTest : public HotKeyDlgTest {
protected:
    void SetUp() override
    {
#ifdef ZINDRAL_I686_TESTS
        // Under 32-bit Wine through qemu the main thread now and then stops
        // for good inside GetOpenFileNameA, before the dialog answers any
        // message; a program of a few lines without any of our code does it
        // too. The x86_64 twin runs these cases.
        GTEST_SKIP() << "the file dialog hangs under 32-bit Wine through qemu";
#endif
        HotKeyDlgTest::SetUp();
        HANDLE file = CreateFileA(FilePath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    void TearDown() override
    {
        DeleteFileA(FilePath);
        HotKeyDlgTest::TearDown();
    }

    // Chooses FilePath in the file dialog that Browse opens, after browsing
    // into `folder` if one is given.
    static void ChooseFile(HWND window, const char* folder = nullptr)
    {
        ui::Click(window, IDC_BROWSE);
        HWND files = ui::WaitForDialog("Select File");
        ASSERT_TRUE(files);
        ASSERT_TRUE(FileNameField(files));
        if (folder) {
            // A folder's name and OK: the dialog opens that folder and stays.
            SendMessageA(FileNameField(files), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder));
            SendMessageA(files, WM_COMMAND, IDOK, 0);
        }
        SendMessageA(FileNameField(files), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FilePath));
        PostMessageA(files, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(ui::WaitGone(files));
    }

    static HWND FileNameField(HWND files)
    {
        const int edt1 = 0x480, cmb13 = 0x47c;
        HWND field = GetDlgItem(files, edt1);
        if (!field) {
            HWND combo = GetDlgItem(files, cmb13);
            field = combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
            if (!field)
                field = combo;
        }
        return field;
    }

    static constexpr const char* FilePath = "C:\\zindral-browse.txt";
};

TEST_F(BrowseTest, FileInDriveRootGivesTheRootAsWorkingDirectory)
{
    HotKeyDlg dialog;
    dialog.hotKey = MakeEntry('A', HotKeyWin, nullptr, "keep");
    // Entries without a working directory start in the process's own.
    char start[MAX_PATH] = "", after[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, start);
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\windows"));
    std::string commandLine, parameters, directory;
    Drive(dialog, [&](HWND window) {
        ChooseFile(window, "C:\\windows\\system32");
        commandLine = ui::ItemText(window, IDC_COMMAND_LINE);
        parameters = ui::ItemText(window, IDC_PARAMETERS);
        directory = ui::ItemText(window, IDC_WORKING_DIRECTORY);
        ui::Click(window, IDOK);
    });
    GetCurrentDirectoryA(MAX_PATH, after);
    SetCurrentDirectoryA(start);
    EXPECT_EQ(commandLine, FilePath);
    EXPECT_EQ(directory, "C:\\");
    EXPECT_EQ(parameters, "keep");
    EXPECT_STREQ(after, "C:\\windows") << "Browse moved the current directory";
}

TEST_F(BrowseTest, QuotedCommandLineStillOpensTheFileDialog)
{
    HotKeyDlg dialog;
    dialog.hotKey = MakeEntry('A', HotKeyWin, "\"C:\\zindral-browse.txt\"");
    std::string commandLine, directory;
    Drive(dialog, [&](HWND window) {
        ChooseFile(window);
        commandLine = ui::ItemText(window, IDC_COMMAND_LINE);
        directory = ui::ItemText(window, IDC_WORKING_DIRECTORY);
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(commandLine, FilePath);
    EXPECT_EQ(directory, "C:\\");
}

TEST_F(BrowseTest, CancelledFileDialogChangesNothing)
{
    HotKeyDlg dialog;
    dialog.hotKey = MakeEntry('A', HotKeyWin, "C:\\old.exe", nullptr, "C:\\old\\");
    std::string commandLine, directory;
    Drive(dialog, [&](HWND window) {
        ui::Click(window, IDC_BROWSE);
        HWND files = ui::WaitForDialog("Select File");
        ASSERT_TRUE(files);
        PostMessageA(files, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(ui::WaitGone(files));
        commandLine = ui::ItemText(window, IDC_COMMAND_LINE);
        directory = ui::ItemText(window, IDC_WORKING_DIRECTORY);
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(commandLine, "C:\\old.exe");
    EXPECT_EQ(directory, "C:\\old\\");
}

}  // namespace
