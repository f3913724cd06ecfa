// The hot-key edit dialog, shown in-process and driven from a second thread.
#include "DialogTestSupport.h"
#include "dialogs/HotKeyDlg.h"
#include "resources/resource.h"
#include "tests/ImportSlot.h"

IMPORT_SLOT(MapVirtualKeyA, 8);

namespace {

const char Caption[] = "Edit Hot Key";

// Most cases edit a new entry for the key A.
class HotKeyDlgTest : public DialogTest {
protected:
    HotKeyDlgTest() { dialog.hotKey.key = 'A'; }

    INT_PTR Drive(const std::function<void(HWND)>& script) { return ui::Drive(dialog, Caption, script); }

    HotKeyDlg dialog;
};

TEST_F(HotKeyDlgTest, NewEntryShowsAWithOnlyWinChecked)
{
    dialog.hotKey.modifiers = HotKeyWin;
    INT_PTR result = Drive([&](HWND window) {
        EXPECT_EQ(ui::ItemText(window, IDC_KEY), "A");
        EXPECT_EQ(ui::ItemText(window, IDC_COMMAND_LINE), "");
        EXPECT_TRUE(ui::IsChecked(window, IDC_WIN));
        EXPECT_FALSE(ui::IsChecked(window, IDC_CTRL));
        EXPECT_FALSE(ui::IsChecked(window, IDC_ALT));
        EXPECT_FALSE(ui::IsChecked(window, IDC_SHIFT));
        DWORD selection = static_cast<DWORD>(SendMessageA(GetDlgItem(window, IDC_KEY), EM_GETSEL, 0, 0));
        EXPECT_EQ(selection, MAKELONG(1, 1)) << "caret after the name";
        ui::Click(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(HotKeyDlgTest, ShowsAndReturnsEveryFieldAndKeepsTheVerb)
{
    dialog.hotKey = MakeEntry(VK_F12, HotKeyCtrl | HotKeyAlt | HotKeyShift, "C:\\tool.exe", "-x 1", "C:\\work\\");
    dialog.hotKey.verb.Assign("open");
    INT_PTR result = Drive([&](HWND window) {
        EXPECT_EQ(ui::ItemText(window, IDC_KEY), "F12");
        EXPECT_EQ(ui::ItemText(window, IDC_COMMAND_LINE), "C:\\tool.exe");
        EXPECT_EQ(ui::ItemText(window, IDC_PARAMETERS), "-x 1");
        EXPECT_EQ(ui::ItemText(window, IDC_WORKING_DIRECTORY), "C:\\work\\");
        EXPECT_FALSE(ui::IsChecked(window, IDC_WIN));
        EXPECT_TRUE(ui::IsChecked(window, IDC_CTRL));
        EXPECT_TRUE(ui::IsChecked(window, IDC_ALT));
        EXPECT_TRUE(ui::IsChecked(window, IDC_SHIFT));
        // Change every field, then confirm.
        ui::SetItemText(window, IDC_COMMAND_LINE, "D:\\other.cmd");
        ui::SetItemText(window, IDC_PARAMETERS, "");
        ui::SetItemText(window, IDC_WORKING_DIRECTORY, "D:\\");
        SendMessageA(GetDlgItem(window, IDC_WIN), BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(GetDlgItem(window, IDC_ALT), BM_SETCHECK, BST_UNCHECKED, 0);
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.hotKey.key, static_cast<UINT>(VK_F12));
    EXPECT_EQ(dialog.hotKey.modifiers, HotKeyWin | HotKeyCtrl | HotKeyShift);
    EXPECT_EQ(TextOf(dialog.hotKey.commandLine), "D:\\other.cmd");
    EXPECT_EQ(TextOf(dialog.hotKey.parameters), "");
    EXPECT_EQ(TextOf(dialog.hotKey.workingDirectory), "D:\\");
    EXPECT_EQ(TextOf(dialog.hotKey.verb), "open");
}

TEST_F(HotKeyDlgTest, KeyFieldCapturesKeysButNotModifiersAlone)
{
    dialog.hotKey.modifiers = HotKeyWin;
    INT_PTR result = Drive([&](HWND window) {
        HWND field = GetDlgItem(window, IDC_KEY);
        ASSERT_TRUE(ui::FocusControl(window, IDC_KEY));
        ASSERT_TRUE(ui::PressKey(VK_F5));
        EXPECT_EQ(ui::Text(field), "F5");
        ASSERT_TRUE(ui::PressKey(VK_SHIFT));
        ASSERT_TRUE(ui::PressKey(VK_CONTROL));
        ASSERT_TRUE(ui::PressKey(VK_MENU));
        EXPECT_EQ(ui::Text(field), "F5") << "a modifier alone";
        ASSERT_TRUE(ui::PressKey(VK_TAB));
        EXPECT_EQ(ui::Text(field), "Tab");
        ASSERT_TRUE(ui::PressKey(VK_RETURN));
        EXPECT_EQ(ui::Text(field), "Return");
        ASSERT_TRUE(ui::PressKey(VK_ESCAPE));
        EXPECT_EQ(ui::Text(field), "Escape");
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_EQ(ui::Focus(), field);
        // A letter shows its name only, no typed character beside it.
        ASSERT_TRUE(ui::PressKey('Q'));
        EXPECT_EQ(ui::Text(field), "Q");
        ASSERT_TRUE(ui::PressChord({VK_MENU, 'X'}));
        EXPECT_EQ(ui::Text(field), "X");
        ASSERT_TRUE(ui::PressKey(VK_F10));
        EXPECT_EQ(ui::Text(field), "F10");
        // An input method turns every key into VK_PROCESSKEY; the scan code still names it.
        UINT scanCode = MapVirtualKeyA('B', MAPVK_VK_TO_VSC);
        SendMessageA(field, WM_KEYDOWN, VK_PROCESSKEY, MAKELPARAM(1, scanCode));
        EXPECT_EQ(ui::Text(field), "B");
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.hotKey.key, static_cast<UINT>('B'));
    EXPECT_EQ(dialog.hotKey.modifiers, HotKeyWin) << "a key press never touches the boxes";
}

// The key an input method kept, as ImmGetVirtualKey of the system's imm32
// would give it; 0 where it kept none.
UINT g_keptKey;
UINT WINAPI KeptKey(HWND) { return g_keptKey; }

// The scan code last handed over to be read as a key. Wine drops the prefix
// of an extended one, which Windows reads: 0xE035 is the keypad's "/".
UINT g_scanCodeRead;
UINT WINAPI RecordScanCode(UINT code, UINT type)
{
    if (type == MAPVK_VSC_TO_VK_EX)
        g_scanCodeRead = code;
    return Intercept<MapVirtualKeyASlot>::original(code, type);
}

void SetNumLock(bool on)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_NUMLOCK] = on ? 1 : 0;
    SetKeyboardState(keys);
}

// Under an input method the key the method kept counts; where it kept none,
// the scan code is read as the keyboard would: the keypad's digits with
// NumLock on, and the extended keys apart from the keypad's.
TEST_F(HotKeyDlgTest, AnInputMethodsKeyIsTheOneItKeptElseTheScanCodesAsNumLockMakesIt)
{
    InterceptLookups lookups({{"ImmGetVirtualKey", AsFound(KeptKey)}});
    Drive([&](HWND window) {
        HWND field = GetDlgItem(window, IDC_KEY);
        auto press = [&](UINT kept, UINT scanCode) {
            g_keptKey = kept;
            SendMessageA(field, WM_KEYDOWN, VK_PROCESSKEY, MAKELPARAM(1, scanCode));
            return ui::Text(field);
        };
        EXPECT_EQ(press(VK_F7, 0x4C), "F7");
        EXPECT_STRCASEEQ(SystemLibrary("imm32.dll").c_str(), lookups["ImmGetVirtualKey"].module.c_str());
        ASSERT_TRUE(ui::OnUiThread([] { SetNumLock(true); }));
        EXPECT_EQ(press(VK_PROCESSKEY, 0x4C), "Num 5");
        EXPECT_EQ(press(0, 0x53), "Num .");
        EXPECT_EQ(press(0, 0x47 | KF_EXTENDED), "Home");
        Intercept<MapVirtualKeyASlot> map(RecordScanCode);
        press(0, 0x35 | KF_EXTENDED);
        EXPECT_EQ(0xE035u, g_scanCodeRead);
        ASSERT_TRUE(ui::OnUiThread([] { SetNumLock(false); }));
        EXPECT_EQ(press(0, 0x47), "Home");
        ui::Click(window, IDCANCEL);
    });
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
    INT_PTR result = Drive([&](HWND window) {
        HWND field = GetDlgItem(window, IDC_KEY);
        ASSERT_TRUE(ui::FocusControl(window, IDC_KEY));
        ASSERT_TRUE(ui::PressKey(VK_F5));
        for (UINT message : {UINT(WM_PASTE), UINT(WM_CUT), UINT(WM_CLEAR)}) {
            SendMessageA(field, EM_SETSEL, 0, -1);
            SendMessageA(field, message, 0, 0);
            EXPECT_EQ(ui::Text(field), "F5") << message;
        }
        // Something to undo: showing a key leaves nothing, so a replacement
        // that bypasses the capture makes some.
        SendMessageA(field, EM_SETSEL, 0, -1);
        SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed"));
        EXPECT_TRUE(SendMessageA(field, EM_CANUNDO, 0, 0));
        for (UINT message : {UINT(WM_UNDO), UINT(EM_UNDO)}) {
            SendMessageA(field, message, 0, 0);
            EXPECT_EQ(ui::Text(field), "typed") << message;
        }
        ASSERT_TRUE(ui::PressKey(VK_F5));
        // The field's own context menu, its Paste chosen by its mnemonic.
        PostMessageA(field, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field), MAKELPARAM(-1, -1));
        ui::WaitUntil([] { return FindWindowA("#32768", nullptr) != nullptr; }, 3000);
        ui::PressKey('P', false);
        ui::WaitUntil([] { return FindWindowA("#32768", nullptr) == nullptr; }, 3000);
        ui::Sync();
        EXPECT_EQ(ui::Text(field), "F5") << "pasted from the context menu";
        // Windows keeps Print Screen's key-down: the field gets its key-up alone.
        ASSERT_TRUE(ui::ReleaseKey(VK_SNAPSHOT));
        EXPECT_EQ(ui::Text(field), "Print");
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.hotKey.key, static_cast<UINT>(VK_SNAPSHOT));
}

TEST_F(HotKeyDlgTest, AltWithAMnemonicLetterIsCapturedWithoutTouchingTheBoxes)
{
    INT_PTR result = Drive([&](HWND window) {
        ASSERT_TRUE(ui::FocusControl(window, IDC_KEY));
        ASSERT_TRUE(ui::PressChord({VK_MENU, 'W'}));
        ASSERT_TRUE(ui::Sync());
        EXPECT_EQ(ui::ItemText(window, IDC_KEY), "W");
        EXPECT_FALSE(ui::IsChecked(window, IDC_WIN));
        EXPECT_EQ(ui::Focus(), GetDlgItem(window, IDC_KEY));
        ui::Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.hotKey.key, static_cast<UINT>('W'));
    EXPECT_EQ(dialog.hotKey.modifiers, 0u);
}

TEST_F(HotKeyDlgTest, EnterAndEscapeInAnotherFieldEndTheDialog)
{
    INT_PTR result = Drive([&](HWND window) {
        ASSERT_TRUE(ui::FocusControl(window, IDC_COMMAND_LINE));
        ui::PressKey(VK_RETURN, false);
        ui::WaitGone(window);
    });
    EXPECT_EQ(result, IDOK);

    HotKeyDlg again;
    again.hotKey.key = 'A';
    result = ui::Drive(again, Caption, [&](HWND window) {
        ASSERT_TRUE(ui::FocusControl(window, IDC_PARAMETERS));
        ui::PressKey(VK_ESCAPE, false);
        ui::WaitGone(window);
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(HotKeyDlgTest, WidensButNeverNarrowsOrChangesHeight)
{
    RECT before[7] = {}, after[7] = {};
    const int ids[7] = {IDOK, IDCANCEL, IDC_BROWSE, IDC_COMMAND_LINE, IDC_PARAMETERS, IDC_WORKING_DIRECTORY, IDC_KEY};
    Drive([&](HWND window) {
        SIZE start = ui::WindowSize(window);
        for (int i = 0; i < 7; ++i)
            before[i] = ui::ControlRect(window, ids[i]);
        SIZE shrunk = ui::Resize(window, start.cx - 50, start.cy - 30);
        EXPECT_EQ(shrunk.cx, start.cx);
        EXPECT_EQ(shrunk.cy, start.cy);
        EXPECT_EQ(ui::Resize(window, start.cx, start.cy + 100).cy, start.cy) << "taller";
        SIZE wider = ui::Resize(window, start.cx + 120, start.cy);
        EXPECT_EQ(wider.cx, start.cx + 120);
        EXPECT_EQ(wider.cy, start.cy);
        for (int i = 0; i < 7; ++i)
            after[i] = ui::ControlRect(window, ids[i]);
        ui::Click(window, IDCANCEL);
    });
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
    dialog.hotKey = MakeEntry('B', HotKeyCtrl, "C:\\b.exe");
    INT_PTR result = Drive([&](HWND window) {
        start = ui::WindowSize(window);
        ui::Resize(window, start.cx + 40, start.cy);
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
        HotKeyDlg fresh;
        fresh.hotKey.key = 'A';
        RECT rect = {};
        auto script = [&](HWND window) {
            rect = ui::ScreenRect(window);
            ui::Click(window, IDCANCEL);
        };
        ui::Drive(fresh, Caption, script, owner);
        return rect;
    };
    RECT base = open();
    LONG width = base.right - base.left, height = base.bottom - base.top;
    ASSERT_GT(width, 0);

    struct Case {
        LONG storedWidth, storedHeight;  // 0: none stored
        LONG expectedWidth, expectedHeight;
    } cases[] = {
        {width + 90, height + 70, width + 90, height},
        {width + 90, 0, width, height},
        {0, height + 70, width, height},
        {20, 20, width, height},
        // Garbage: the height is fixed, a negative width is the minimum and a
        // huge one the largest that the platform lets a window be dragged to.
        {-1, -1, width, height},
        {0x7FFFFFFF, 0x7FFFFFFF, GetSystemMetrics(SM_CXMAXTRACK), height},
    };
    for (const Case& c : cases) {
        testreg::DeleteSettings();
        if (c.storedWidth)
            testreg::SetDword(DialogKey("HotKeyDlg"), "Width", static_cast<DWORD>(c.storedWidth));
        if (c.storedHeight)
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
    dialog.hotKey = MakeEntry('A', HotKeyWin, nullptr, "keep");
    // Entries without a working directory start in the process's own.
    char start[MAX_PATH] = "", after[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, start);
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\windows"));
    Drive([&](HWND window) {
        ChooseFile(window, "C:\\windows\\system32");
        EXPECT_EQ(ui::ItemText(window, IDC_COMMAND_LINE), FilePath);
        EXPECT_EQ(ui::ItemText(window, IDC_WORKING_DIRECTORY), "C:\\");
        EXPECT_EQ(ui::ItemText(window, IDC_PARAMETERS), "keep");
        ui::Click(window, IDOK);
    });
    GetCurrentDirectoryA(MAX_PATH, after);
    SetCurrentDirectoryA(start);
    EXPECT_STREQ(after, "C:\\windows") << "Browse moved the current directory";
}

TEST_F(BrowseTest, QuotedCommandLineStillOpensTheFileDialog)
{
    dialog.hotKey = MakeEntry('A', HotKeyWin, "\"C:\\zindral-browse.txt\"");
    Drive([&](HWND window) {
        ChooseFile(window);
        EXPECT_EQ(ui::ItemText(window, IDC_COMMAND_LINE), FilePath);
        EXPECT_EQ(ui::ItemText(window, IDC_WORKING_DIRECTORY), "C:\\");
        ui::Click(window, IDOK);
    });
}

TEST_F(BrowseTest, CancelledFileDialogChangesNothing)
{
    dialog.hotKey = MakeEntry('A', HotKeyWin, "C:\\old.exe", nullptr, "C:\\old\\");
    Drive([&](HWND window) {
        ui::Click(window, IDC_BROWSE);
        HWND files = ui::WaitForDialog("Select File");
        ASSERT_TRUE(files);
        PostMessageA(files, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(ui::WaitGone(files));
        EXPECT_EQ(ui::ItemText(window, IDC_COMMAND_LINE), "C:\\old.exe");
        EXPECT_EQ(ui::ItemText(window, IDC_WORKING_DIRECTORY), "C:\\old\\");
        ui::Click(window, IDOK);
    });
}

}  // namespace
