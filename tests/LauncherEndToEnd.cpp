// The real zindral.exe (and dravik.exe) in the test prefix's virtual desktop:
// single instance, hot keys, tray callback, the icon clicked in the taskbar,
// Exit, and the first-run defaults.
#include "tests/e2e/LauncherTest.h"
#include <commctrl.h>
#include <shellapi.h>

using namespace e2e;

namespace {

class Launcher : public LauncherTest {
protected:
    HWND WaitForMenu()
    {
        HWND menu = nullptr;
        WaitUntil([&] { return (menu = FindProcessWindow(zindral.Id(), "#32768")) != nullptr; });
        return menu;
    }

    std::vector<HWND> VisibleWindowsOfZindral() { return ProcessWindows(zindral.Id()); }
};

TEST_F(Launcher, SecondStartEndsAtOnceAndLeavesTheFirstAlone)
{
    testreg::SeedEntry(0, "F10", Ctrl | Shift, Cmd, "/c exit");
    ASSERT_TRUE(Start()) << ZindralExe;
    ASSERT_FALSE(CombinationIsFree(Ctrl | Shift, VK_F10)) << "first copy holds its hot key";

    Process second;
    ASSERT_TRUE(second.Start(std::string("\"") + ZindralExe + "\""));
    DWORD code = NoExitCode;
    ASSERT_TRUE(second.WaitForExit(10000, &code)) << "a second copy must not stay";
    EXPECT_EQ(0u, code);

    std::vector<HWND> launchers = FindLaunchers();
    ASSERT_EQ(1u, launchers.size());
    EXPECT_EQ(launcher, launchers[0]);
    EXPECT_TRUE(zindral.Running());
    EXPECT_FALSE(CombinationIsFree(Ctrl | Shift, VK_F10));
    EXPECT_TRUE(TrayIconExists(launcher));
}

TEST_F(Launcher, HotKeysStartTheirCommandsThroughTheShell)
{
    std::string first = FreshTempFile("zindral-first.txt");
    std::string duplicate = FreshTempFile("zindral-duplicate.txt");
    std::string relative = FreshTempFile("zindral-in-temp.txt");
    testreg::SeedEntry(0, "F5", Ctrl | Shift, Cmd, WriteMarker(first).c_str());
    // Same combination as entry 0: never registered, never fires by key.
    testreg::SeedEntry(1, "F5", Ctrl | Shift, Cmd, WriteMarker(duplicate).c_str());
    // A relative file name lands in the working directory, itself a reference.
    testreg::SeedEntry(2, "F6", Ctrl | Shift, Cmd, "/c echo fired> zindral-in-temp.txt", "%TEMP%");
    ASSERT_TRUE(Start());

    FocusWindow focus;
    ASSERT_TRUE(PressChord(focus.Handle(), Ctrl | Shift, VK_F5));
    EXPECT_TRUE(AppearsSoon(first)) << "entry 0 did not run";
    ASSERT_TRUE(PressChord(focus.Handle(), Ctrl | Shift, VK_F6));
    EXPECT_TRUE(AppearsSoon(relative)) << "entry 2 did not run in the expanded directory";
    // Entry 1 would have run before entry 2 did.
    EXPECT_FALSE(FileExists(duplicate)) << "second entry of one combination fired";

    // Its identifier still names it: the launcher maps 513 to entry 1.
    PostMessageA(launcher, WM_HOTKEY, FirstHotKeyId + 1, 0);
    EXPECT_TRUE(AppearsSoon(duplicate));
}

TEST_F(Launcher, HotKeyIdentifiersOutsideTheTableDoNothing)
{
    std::string second = FreshTempFile("zindral-entry1.txt");
    SeedSentinel();
    testreg::SeedEntry(1, "F8", Ctrl | Shift, Cmd, WriteMarker(second).c_str());
    ASSERT_TRUE(Start());

    for (WPARAM id : {WPARAM(FirstHotKeyId - 1), WPARAM(FirstHotKeyId + 2), WPARAM(FirstHotKeyId + 20),
                      WPARAM(0), WPARAM(-1), WPARAM(-2)})
        PostMessageA(launcher, WM_HOTKEY, id, 0);
    PostSentinelAndWait();
    EXPECT_FALSE(FileExists(second));
    EXPECT_TRUE(VisibleWindowsOfZindral().empty()) << "the shell complained about a command";
    EXPECT_TRUE(zindral.Running());
}

TEST_F(Launcher, EmptyTableIgnoresEveryHotKey)
{
    testreg::CreateKey(testreg::AppKey);
    ASSERT_TRUE(Start());
    for (WPARAM id : {WPARAM(FirstHotKeyId), WPARAM(FirstHotKeyId + 1), WPARAM(-1)})
        PostMessageA(launcher, WM_HOTKEY, id, 0);
    // No command to serve as sentinel: the tray menu, posted after them, is.
    PostMessageA(launcher, TrayMessage, TrayMessage, WM_RBUTTONUP);
    HWND menu = WaitForMenu();
    ASSERT_NE(nullptr, menu);
    PostMessageA(launcher, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
    EXPECT_TRUE(zindral.Running());
    EXPECT_TRUE(VisibleWindowsOfZindral().empty());
    EXPECT_TRUE(CombinationIsFree(Win, '1')) << "no defaults when the application key exists";
}

TEST_F(Launcher, RightClickShowsTheMenuAndEscapeClosesIt)
{
    SeedSentinel();
    ASSERT_TRUE(Start());

    PostMessageA(launcher, TrayMessage, TrayMessage, WM_RBUTTONUP);
    HWND menu = WaitForMenu();
    ASSERT_NE(nullptr, menu) << "no popup menu";

    // Dismissing the menu gives no command: Zindral stays.
    PostMessageA(launcher, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
    PostSentinelAndWait();
    EXPECT_TRUE(zindral.Running());
    EXPECT_EQ(launcher, FindLauncher());
    EXPECT_TRUE(VisibleWindowsOfZindral().empty());
}

TEST_F(Launcher, OtherTrayCallbacksDoNothing)
{
    SeedSentinel();
    ASSERT_TRUE(Start());

    // Another icon's identifier, whatever the mouse did.
    for (LPARAM mouse : {WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        for (WPARAM id : {WPARAM(0), WPARAM(TrayMessage + 1), WPARAM(-1)})
            PostMessageA(launcher, TrayMessage, id, mouse);
    // Single clicks, button-down events, moves and the middle button.
    for (LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_MBUTTONUP,
                         WM_MBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MOUSEMOVE, 0})
        PostMessageA(launcher, TrayMessage, TrayMessage, mouse);
    PostSentinelAndWait();
    EXPECT_TRUE(VisibleWindowsOfZindral().empty()) << "a menu or dialog opened";
    EXPECT_TRUE(zindral.Running());
}

TEST_F(Launcher, ExitEndsWithCodeZeroAndFreesIconAndHotKeys)
{
    testreg::SeedEntry(0, "F11", Ctrl | Shift, Cmd, "/c exit");
    testreg::SeedEntry(1, "Home", Ctrl | Alt | Shift, Cmd, "/c exit");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(TrayIconExists(launcher));
    EXPECT_FALSE(CombinationIsFree(Ctrl | Shift, VK_F11));
    EXPECT_FALSE(CombinationIsFree(Ctrl | Alt | Shift, VK_HOME));

    PostMessageA(launcher, WM_COMMAND, IDM_EXIT, 0);
    DWORD code = NoExitCode;
    ASSERT_TRUE(zindral.WaitForExit(10000, &code));
    EXPECT_EQ(0u, code);
    // The system frees both with the window as well: LauncherStartTest sees
    // Zindral's own release, before its window goes.
    EXPECT_EQ(nullptr, FindLauncher());
    EXPECT_FALSE(TrayIconExists(launcher));
    EXPECT_TRUE(CombinationIsFree(Ctrl | Shift, VK_F11));
    EXPECT_TRUE(CombinationIsFree(Ctrl | Alt | Shift, VK_HOME));
}

// --- Settings: two copies started at once, and a save cut short. ---

TEST_F(Launcher, OfTwoCopiesStartedAtOnceExactlyOneStays)
{
    testreg::CreateKey(testreg::AppKey);
    const std::string line = std::string("\"") + ZindralExe + "\"";
    for (int pair = 0; pair < 5; ++pair) {
        Process first, second;
        ASSERT_TRUE(first.Start(line) && second.Start(line));
        ASSERT_TRUE(WaitUntil([&] { return !first.Running() || !second.Running(); }, 15000))
            << "pair " << pair << ": both copies stay";
        Process& ended = first.Running() ? second : first;
        Process& stays = first.Running() ? first : second;
        DWORD code = NoExitCode;
        ASSERT_TRUE(ended.WaitForExit(0, &code));
        EXPECT_EQ(0u, code) << "pair " << pair;
        ASSERT_TRUE(WaitUntil([&] { return FindLauncher() != nullptr; })) << "pair " << pair;
        Pump(300);
        EXPECT_TRUE(stays.Running()) << "pair " << pair;
        EXPECT_EQ(1u, FindLaunchers().size()) << "pair " << pair;
        EndAllZindral();
    }
}

// Entry i of the old table; the new one is the old without its entry 0.
std::string TableCommand(int i) { return "zindral-no-such-program-" + std::to_string(i) + ".exe"; }
std::string TableKey(int i) { return std::string(1, static_cast<char>('A' + i % 26)); }

// Entries that loading finds below number `count`, up to the first missing
// one; each must hold entry `number` of the old table or `number + 1` of it
// (the new table's), all but the one whose values were being written when
// the process ended.
int LoadableEntries(int count, int* mixed)
{
    int loadable = 0;
    *mixed = 0;
    for (int number = 0; number < count; ++number) {
        const std::string path = testreg::EntryPath(number);
        DWORD type = 0;
        testreg::GetDword(path, "Modifier", &type);
        std::string key = testreg::GetString(path, "Key"), command = testreg::GetString(path, "CommandLine");
        if (key == "<missing>")
            break;
        if (command == "<missing>" || type != REG_DWORD)
            continue;
        ++loadable;
        bool old = key == TableKey(number) && command == TableCommand(number);
        bool fresh = key == TableKey(number + 1) && command == TableCommand(number + 1);
        *mixed += !old && !fresh;
    }
    return loadable;
}

TEST_F(Launcher, KillingZindralWhileItSavesLeavesEveryEntryOfTheShorterTable)
{
    const int Entries = 999;
    int cutShort = 0;
    for (DWORD delay : {0, 5, 15, 40, 80, 150}) {
        ResetZindral();
        for (int i = 0; i < Entries; ++i)
            testreg::SeedEntry(i, TableKey(i).c_str(), Alt | Ctrl | Shift | Win, TableCommand(i).c_str());
        ASSERT_TRUE(Start());
        PostMessageA(launcher, WM_COMMAND, IDM_CONFIGURATION, 0);
        HWND config = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (config = FindProcessWindow(zindral.Id(), "#32770")) != nullptr; }));
        HWND list = GetDlgItem(config, IDC_LIST);
        ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == Entries; }));
        PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);   // selects the first row
        PostMessageA(config, WM_COMMAND, MAKEWPARAM(IDC_DELETE, BN_CLICKED), 0);
        ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == Entries - 1; }));

        PostMessageA(config, WM_COMMAND, IDOK, 0);
        // The save has begun once entry 000 no longer holds its old command.
        WaitUntil([] { return testreg::GetString(testreg::EntryPath(0), "CommandLine") != TableCommand(0); }, 10000, 1);
        Sleep(delay);
        zindral.Kill();
        cutShort += testreg::GetString(testreg::EntryPath(Entries - 2), "CommandLine") != TableCommand(Entries - 1);

        int mixed = 0;
        EXPECT_EQ(Entries - 1, LoadableEntries(Entries - 1, &mixed)) << "killed " << delay << " ms into the save";
        EXPECT_LE(mixed, 1) << "killed " << delay << " ms into the save";
    }
    EXPECT_GT(cutShort, 0) << "every kill came after the save had ended";
}

// --- The tray through the shell: real mouse input on the icon in the virtual
// desktop's taskbar, so the icon's callback, the menu's flags and its
// commands all take the path that they take for a person. ---

class TrayShell : public Launcher {
protected:
    // The shell draws the icon once Zindral has added it.
    bool PointAtIcon(int cell, POINT* icon)
    {
        return WaitUntil([&] { return TrayIconPoint(cell, icon); }) && PointAt(*icon);
    }

    // The menu that a right click on the icon opens, or null.
    HWND RightClickIcon()
    {
        POINT icon;
        if (!PointAtIcon(0, &icon) || !Click(Button::Right))
            return nullptr;
        return WaitForMenu();
    }
};

TEST_F(TrayShell, RightClickShowsTheMenuAtTheCursorAndAClickOutsideClosesIt)
{
    SeedSentinel();
    // Icons of our own take the cells to the right of Zindral's, so that its
    // menu fits to the right of the cursor and its left alignment shows.
    TrayNeighbours neighbours(10);
    ASSERT_EQ(10, neighbours.Count());
    ASSERT_TRUE(Start());
    POINT icon;
    ASSERT_TRUE(PointAtIcon(neighbours.Count(), &icon)) << "no taskbar in the virtual desktop";
    ASSERT_TRUE(Click(Button::Right));
    HWND menu = WaitForMenu();
    ASSERT_NE(nullptr, menu) << "no menu from a right click at " << icon.x << "," << icon.y;

    RECT placed = WindowRect(menu);
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_LE(icon.x + placed.right - placed.left, work.right) << "too few neighbours";
    EXPECT_EQ(icon.x, placed.left) << "the menu's left side is not at the cursor";
    // Below a point on the taskbar the menu cannot fit. Windows keeps it on
    // the screen (the point lies outside the work area) and shows it above
    // the point, its bottom at the cursor; Wine keeps it in the work area,
    // its bottom on the taskbar's top edge. A bottom-aligned menu would land
    // in the same place on either system, so that fault cannot show here.
    ASSERT_GT(icon.y + placed.bottom - placed.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(placed.bottom == icon.y || placed.bottom == work.bottom)
        << "menu bottom " << placed.bottom << ", cursor " << icon.y << ", work area " << work.bottom;

    // A click on the desktop, away from the menu, closes it without a command.
    POINT outside = {placed.left - 300, placed.top - 300};
    ASSERT_EQ("#32769", ClassOf(WindowFromPoint(outside))) << "not the desktop there";
    ASSERT_TRUE(PointAt(outside));
    ASSERT_TRUE(Click(Button::Left));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); })) << "the menu stayed open";
    PostSentinelAndWait();
    EXPECT_TRUE(zindral.Running());
    EXPECT_TRUE(VisibleWindowsOfZindral().empty()) << "a dialog opened";
}

TEST_F(TrayShell, MenuItemsChosenWithTheKeyboardArriveAsCommands)
{
    ASSERT_TRUE(Start());
    HWND menu = RightClickIcon();
    ASSERT_NE(nullptr, menu) << "no menu from a right click on the icon";
    // The launcher made itself the foreground, so its menu gets the keys.
    ASSERT_TRUE(PressKeys(launcher, {VK_DOWN, VK_DOWN, VK_RETURN})) << "launcher not in the foreground";
    HWND about = WaitForDialog("About");
    ASSERT_NE(nullptr, about) << "the second item did not open About";
    EXPECT_FALSE(IsWindowVisible(menu));
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));

    ASSERT_NE(nullptr, RightClickIcon()) << "no menu after About closed";
    ASSERT_TRUE(PressKeys(launcher, {'X'})) << "launcher not in the foreground";
    DWORD code = NoExitCode;
    ASSERT_TRUE(zindral.WaitForExit(10000, &code)) << "E&xit did not end Zindral";
    EXPECT_EQ(0u, code);
    EXPECT_FALSE(TrayIconExists(launcher));
}

TEST_F(TrayShell, DoubleClickOpensTheConfigurationDialog)
{
    ASSERT_TRUE(Start());
    POINT icon;
    ASSERT_TRUE(PointAtIcon(0, &icon)) << "no taskbar in the virtual desktop";
    ASSERT_TRUE(Click(Button::Left, 2));
    EXPECT_NE(nullptr, WaitForDialog("Hot Key Configuration")) << "no dialog from a double click";
}

// --- No library from the program's own folder: a copy of zindral.exe lies
// beside the tests' comctl32.dll, and Wine is told to prefer a native
// comctl32 for zindral.exe, so that it takes one from the program's folder
// first, as Windows does with every library that is not a known DLL. Wine
// has no known DLLs and its comdlg32 imports comctl32, so the planted copy
// is loaded at the start whatever Zindral does (on Windows comdlg32 is a
// known DLL): what shows is that Zindral never uses it, which a load by
// name, finding a library of that name already there, would. ---

class PlantedLibrary : public Launcher {
protected:
    void SetUp() override
    {
        Launcher::SetUp();
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof(temp), temp);
        folder = std::string(temp) + "zindral-planted\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        exe = folder + "zindral.exe";
        ASSERT_TRUE(CopyFileA(ZindralExe, exe.c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(PLANTED_COMCTL32, (folder + "comctl32.dll").c_str(), FALSE)) << PLANTED_COMCTL32;
        DeleteFileA(UsedMark().c_str());
        testreg::SetString(AppDefaults + "\\DllOverrides", "comctl32", "native,builtin");
    }
    void TearDown() override
    {
        Launcher::TearDown();
        testreg::DeleteTree(AppDefaults.c_str());
    }

    // Left by the planted copy's InitCommonControlsEx.
    std::string UsedMark() { return folder + "comctl32-used.txt"; }

    const std::string AppDefaults = "Software\\Wine\\AppDefaults\\zindral.exe";
    std::string folder, exe;
};

TEST_F(PlantedLibrary, CommonControlsComeFromTheSystemFolder)
{
    testreg::SeedEntry(0, "F9", Ctrl | Shift, Cmd, "/c exit");
    testreg::SeedEntry(1, "F12", Ctrl | Shift, Cmd, "/c exit");
    ASSERT_TRUE(Start(exe)) << exe;
    PostMessageA(launcher, WM_COMMAND, IDM_CONFIGURATION, 0);
    HWND dialog = WaitForDialog("Hot Key Configuration");
    ASSERT_NE(nullptr, dialog) << "no configuration dialog";
    HWND list = FindWindowExA(dialog, nullptr, WC_LISTVIEWA, nullptr);
    ASSERT_NE(nullptr, list) << "no list view in the configuration dialog";
    EXPECT_EQ(2, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_FALSE(FileExists(UsedMark())) << "zindral.exe used the comctl32.dll beside it";
}

// Explorer, restarted, asks every top-level window to add its icons again.
TEST_F(TrayShell, IconRemovedByARestartedTaskbarComesBackAndStillShowsTheMenu)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitUntil([&] { return TrayIconExists(launcher); }));
    NOTIFYICONDATAA data = {NOTIFYICONDATAA_V1_SIZE};
    data.hWnd = launcher;
    data.uID = TrayMessage;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(TrayIconExists(launcher));

    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return TrayIconExists(launcher); })) << "the icon did not come back";
    HWND menu = RightClickIcon();
    ASSERT_NE(nullptr, menu) << "no menu from a right click on the icon that came back";
    PostMessageA(launcher, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
}

// The dialogs have no taskbar button: a click on the icon is how a dialog
// hidden behind other windows comes back, with the keyboard.
TEST_F(TrayShell, ClickOnTheIconBringsTheOpenDialogToTheForeground)
{
    ASSERT_TRUE(Start());
    POINT icon;
    ASSERT_TRUE(PointAtIcon(0, &icon)) << "no taskbar in the virtual desktop";
    DWORD thread = GetWindowThreadProcessId(launcher, nullptr);
    FocusWindow elsewhere;
    auto clickBrings = [&](HWND dialog, Button button, int times) {
        if (!MakeForeground(elsewhere.Handle()) || !PointAt(icon) || !Click(button, times))
            return false;
        return WaitUntil([&] {
            GUITHREADINFO info = {sizeof(info)};
            return GetForegroundWindow() == dialog && GetGUIThreadInfo(thread, &info) &&
                   info.hwndActive == dialog;
        }, 3000);
    };
    auto checkBothClicks = [&](HWND dialog, const char* name) {
        ASSERT_NE(nullptr, dialog) << name;
        EXPECT_TRUE(clickBrings(dialog, Button::Left, 2)) << name << " after a double click";
        EXPECT_TRUE(clickBrings(dialog, Button::Right, 1)) << name << " after a right click";
        EXPECT_EQ(nullptr, FindProcessWindow(zindral.Id(), "#32768")) << "a menu opened";
    };

    PostMessageA(launcher, WM_COMMAND, IDM_CONFIGURATION, 0);
    HWND configuration = WaitForDialog("Hot Key Configuration");
    checkBothClicks(configuration, "configuration");
    PostMessageA(configuration, WM_COMMAND, IDC_ADD, 0);
    HWND edit = WaitForDialog("Edit Hot Key");
    checkBothClicks(edit, "edit dialog");
    PostMessageA(edit, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(edit); }));
    PostMessageA(configuration, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(configuration); }));

    PostMessageA(launcher, WM_COMMAND, IDM_ABOUT, 0);
    checkBothClicks(WaitForDialog("About"), "About");
}

// --- First run: dravik.exe lies beside zindral.exe, so Win+1/6/8 resize. ---

class FirstRun : public Launcher {
protected:
    void SetUp() override
    {
        Launcher::SetUp();
        ASSERT_TRUE(FileExists(DravikExe)) << DravikExe;
        ASSERT_TRUE(notepad.Start("C:\\windows\\notepad.exe"));
        ASSERT_TRUE(WaitUntil([&] { return (target = FindProcessWindow(notepad.Id(), "Notepad")) != nullptr; }));
    }
    void TearDown() override
    {
        notepad.Kill();
        Launcher::TearDown();
    }

    bool HasSize(LONG width, LONG height, LONG left, LONG top)
    {
        return SameRect(WindowRect(target), {left, top, left + width, top + height});
    }

    // A person's pause after a resize: activation settles asynchronously.
    void Settle() { Pump(1000); }

    Process notepad;
    HWND target = nullptr;
};

TEST_F(FirstRun, DefaultHotKeysResizeTheForegroundWindow)
{
    ASSERT_TRUE(Start());
    EXPECT_FALSE(testreg::Exists(testreg::AppKey)) << "defaults are not saved by starting";
    ASSERT_TRUE(SetWindowPos(target, nullptr, 100, 50, 500, 400, SWP_NOZORDER));
    ASSERT_TRUE(WaitUntil([&] { return HasSize(500, 400, 100, 50); }));

    struct { UINT key; int width, height; } presses[] = {{'1', 1024, 768}, {'6', 640, 480}, {'8', 800, 600}};
    for (const auto& press : presses) {
        ASSERT_TRUE(PressChord(target, Win, press.key)) << "notepad is not in the foreground";
        EXPECT_TRUE(WaitUntil([&] { return HasSize(press.width, press.height, 100, 50); }))
            << "Win+" << char(press.key);
        Settle();
    }
}

TEST_F(FirstRun, MaximisedWindowIsRestoredFirst)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(SetWindowPos(target, nullptr, 120, 80, 500, 400, SWP_NOZORDER));
    ASSERT_TRUE(WaitUntil([&] { return HasSize(500, 400, 120, 80); }));
    ShowWindow(target, SW_MAXIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(target) != FALSE; }));
    Settle();

    ASSERT_TRUE(PressChord(target, Win, '6'));
    EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(target) && HasSize(640, 480, 120, 80); }));
}

// On Windows the taskbar holds Win+digit: a default that it holds is marked
// in the list and never fires, and works once the holder lets go and the
// dialog has been opened.
TEST_F(FirstRun, ACombinationAnotherProgramHoldsIsMarkedAndWorksOnceFreed)
{
    HeldCombination taskbar(Win, '1');
    ASSERT_TRUE(taskbar.Held());
    ASSERT_TRUE(Start());
    ASSERT_TRUE(SetWindowPos(target, nullptr, 100, 50, 500, 400, SWP_NOZORDER));
    ASSERT_TRUE(WaitUntil([&] { return HasSize(500, 400, 100, 50); }));
    ASSERT_TRUE(PressChord(target, Win, '1'));
    Pump(1500);
    EXPECT_TRUE(HasSize(500, 400, 100, 50)) << "Win+1 started dravik while another program held it";

    HWND list = nullptr;
    auto open = [&] {
        PostMessageA(launcher, WM_COMMAND, IDM_CONFIGURATION, 0);
        HWND dialog = WaitForDialog("Hot Key Configuration");
        list = GetDlgItem(dialog, IDC_LIST);
        return dialog;
    };
    auto keys = [&] {
        std::vector<std::string> column;
        int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row)
            column.push_back(CellText(zindral.Handle(), list, row, 0));
        return column;
    };
    HWND dialog = open();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(keys(), (std::vector<std::string>{"Win + 1 (in use)", "Win + 6", "Win + 8"}));

    // A row added with Win+6 comes after the default that takes it first.
    PostMessageA(dialog, WM_COMMAND, IDC_ADD, 0);
    HWND edit = WaitForDialog("Edit Hot Key");
    ASSERT_NE(nullptr, edit);
    ASSERT_TRUE(MakeForeground(edit));
    ASSERT_TRUE(PressKeys(edit, {'6'}));
    HWND keyField = GetDlgItem(edit, IDC_KEY);
    ASSERT_TRUE(WaitUntil([&] {
        char text[16] = "";
        SendMessageA(keyField, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        return lstrcmpA(text, "6") == 0;
    }));
    SetDlgItemTextA(edit, IDC_COMMAND_LINE, DravikExe);
    PostMessageA(edit, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(edit); }));
    EXPECT_EQ(keys(), (std::vector<std::string>{"Win + 1 (in use)", "Win + 6", "Win + 8", "Win + 6 (in use)"}));

    // Deleting the earlier row frees the combination for the later one.
    PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    PostMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_DELETE, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 3; }));
    EXPECT_EQ(keys(), (std::vector<std::string>{"Win + 1 (in use)", "Win + 8", "Win + 6"}));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));

    taskbar.Release();
    dialog = open();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(keys(), (std::vector<std::string>{"Win + 1", "Win + 6", "Win + 8"}));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    ASSERT_TRUE(PressChord(target, Win, '1'));
    EXPECT_TRUE(WaitUntil([&] { return HasSize(1024, 768, 100, 50); })) << "Win+1 did not work once freed";
}

// The first run as a person meets it: no settings, the configuration dialog
// opened and closed, Zindral started again.
class FirstRunConfiguration : public FirstRun {
protected:
    // Opens the configuration dialog as the tray menu does and ends it with
    // the button's command, then starts Zindral again.
    void CloseConfigurationAndRestart(WORD button)
    {
        ASSERT_TRUE(Start());
        PostMessageA(launcher, WM_COMMAND, IDM_CONFIGURATION, 0);
        HWND dialog = WaitForDialog("Hot Key Configuration");
        ASSERT_NE(nullptr, dialog) << "no configuration dialog";
        PostMessageA(dialog, WM_COMMAND, button, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        PostMessageA(launcher, WM_COMMAND, IDM_EXIT, 0);
        ASSERT_TRUE(zindral.WaitForExit(10000));
        ASSERT_TRUE(Start());
    }
};

TEST_F(FirstRunConfiguration, OkStoresTheDefaultsAndTheNextStartLoadsThem)
{
    CloseConfigurationAndRestart(IDOK);
    const std::string keys = std::string(testreg::AppKey) + "\\Keys";
    EXPECT_EQ(testreg::SubKeys(keys), (std::vector<std::string>{"000", "001", "002"}));
    struct { const char* key; const char* parameters; } defaults[] = {
        {"1", "1024 768"}, {"6", "640 480"}, {"8", "800 600"}};
    for (int i = 0; i < 3; ++i) {
        std::string entry = testreg::EntryPath(i);
        DWORD type = 0;
        EXPECT_EQ(defaults[i].key, testreg::GetString(entry, "Key")) << i;
        EXPECT_EQ(DWORD(Win), testreg::GetDword(entry, "Modifier", &type)) << i;
        EXPECT_EQ(DWORD(REG_DWORD), type) << i;
        EXPECT_EQ(DravikExe, testreg::GetString(entry, "CommandLine")) << i;
        EXPECT_EQ(defaults[i].parameters, testreg::GetString(entry, "Parameters")) << i;
        EXPECT_FALSE(testreg::HasValue(entry, "WorkingDirectory")) << i;
    }
    // Loaded, not offered again: the stored table is what the keys run.
    ASSERT_TRUE(SetWindowPos(target, nullptr, 100, 50, 500, 400, SWP_NOZORDER));
    ASSERT_TRUE(PressChord(target, Win, '6')) << "notepad is not in the foreground";
    EXPECT_TRUE(WaitUntil([&] { return HasSize(640, 480, 100, 50); }));
}

TEST_F(FirstRunConfiguration, CancelLeavesAnEmptyTableWithoutDefaults)
{
    CloseConfigurationAndRestart(IDCANCEL);
    EXPECT_TRUE(testreg::Exists(testreg::AppKey)) << "the dialog's size is stored";
    EXPECT_TRUE(testreg::SubKeys(std::string(testreg::AppKey) + "\\Keys").empty());
    for (UINT key : {'1', '6', '8'})
        EXPECT_TRUE(CombinationIsFree(Win, key)) << "default Win+" << char(key) << " offered again";
}

// --- Resources of the program file. ---

TEST(ZindralResources, TrayMenuAndIcon)
{
    HMODULE module = LoadLibraryExA(ZindralExe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDM_TRAY));
    ASSERT_NE(nullptr, menu);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(nullptr, popup);
    ASSERT_EQ(4, GetMenuItemCount(popup));
    struct { UINT id; const char* text; } items[] = {
        {IDM_CONFIGURATION, "&Configuration..."}, {IDM_ABOUT, "&About..."}, {0, nullptr}, {IDM_EXIT, "E&xit"}};
    for (int i = 0; i < 4; ++i) {
        char text[64] = "";
        GetMenuStringA(popup, i, text, sizeof(text), MF_BYPOSITION);
        UINT state = GetMenuState(popup, i, MF_BYPOSITION);
        ASSERT_NE(UINT(-1), state);
        if (!items[i].text) {
            EXPECT_TRUE(state & MF_SEPARATOR);
            continue;
        }
        EXPECT_EQ(items[i].id, GetMenuItemID(popup, i));
        EXPECT_STREQ(items[i].text, text);
        EXPECT_EQ(0u, state & (MFS_DEFAULT | MFS_CHECKED | MFS_GRAYED));
    }
    DestroyMenu(menu);

    // The icon group as stored, since LoadImageA scales whatever it finds:
    // two images, 32 by 32 and 16 by 16 pixels, in 16 colours each.
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDI_ZINDRAL), RT_GROUP_ICON);
    ASSERT_NE(nullptr, group);
    const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    ASSERT_NE(nullptr, directory);
    ASSERT_EQ(2, *reinterpret_cast<const WORD*>(directory + 4));
    for (int i = 0; i < 2; ++i) {
        // Entries of 14 bytes after a 6-byte header: width, height, colours,
        // reserved, planes, bits per pixel, size and the image's number.
        const BYTE* entry = directory + 6 + 14 * i;
        int size = i == 0 ? 32 : 16;
        EXPECT_EQ(size, entry[0]);
        EXPECT_EQ(size, entry[1]);
        EXPECT_EQ(16, entry[2]);
        HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(*reinterpret_cast<const WORD*>(entry + 12)),
                                    MAKEINTRESOURCEA(3));   // RT_ICON
        ASSERT_NE(nullptr, image);
        const BITMAPINFOHEADER* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image)));
        EXPECT_EQ(size, header->biWidth);
        EXPECT_EQ(2 * size, header->biHeight);   // the colour image and its mask
        EXPECT_EQ(4, header->biBitCount);
    }
    FreeLibrary(module);
}

} // namespace
