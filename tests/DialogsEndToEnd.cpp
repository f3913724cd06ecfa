// The configuration dialog of the real zindral.exe, opened the way the shell
// and the tray menu open it and worked with real key presses.
#include "tests/e2e/LauncherTest.h"
#include <commctrl.h>
#include <algorithm>

using namespace e2e;

namespace {

const char ConfigCaption[] = "Hot Key Configuration";
const char EditCaption[] = "Edit Hot Key";

// WM_GETTEXT, not GetWindowTextA: across processes that one gives only the
// caption the window was created with, never an edit control's text.
std::string WindowText(HWND window)
{
    char text[512] = "";
    SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

class DialogsEndToEnd : public LauncherTest {
protected:
    void SetUp() override
    {
        LauncherTest::SetUp();
        SeedSentinel();
        testreg::SeedEntry(1, "F8", Ctrl | Shift, "C:\\second.exe", "-x");
    }

    int CountVisible(const char* className)
    {
        std::vector<HWND> windows = ProcessWindows(zindral.Id());
        return std::count_if(windows.begin(), windows.end(), [&](HWND window) { return ClassOf(window) == className; });
    }

    std::vector<std::string> Commands(HWND config)
    {
        HWND list = GetDlgItem(config, IDC_LIST);
        std::vector<std::string> commands;
        int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row)
            commands.push_back(CellText(zindral.Handle(), list, row, 1));
        return commands;
    }
};

TEST_F(DialogsEndToEnd, DoubleClickOpensOneDialogWithTheLiveTableAndNoMenuMeanwhile)
{
    ASSERT_TRUE(Start());
    PostMessageA(launcher, TrayMessage, TrayMessage, WM_LBUTTONDBLCLK);
    HWND config = WaitForDialog(ConfigCaption);
    ASSERT_TRUE(config) << "the double click opened no configuration dialog";
    EXPECT_EQ(Commands(config), (std::vector<std::string>{Cmd, "C:\\second.exe"}));
    HWND list = GetDlgItem(config, IDC_LIST);
    EXPECT_EQ(CellText(zindral.Handle(), list, 1, 0), "Shift + Ctrl + F8");

    // A second double click and a right click while it is open: nothing.
    PostMessageA(launcher, TrayMessage, TrayMessage, WM_LBUTTONDBLCLK);
    PostMessageA(launcher, TrayMessage, TrayMessage, WM_RBUTTONUP);
    PostSentinelAndWait();
    EXPECT_EQ(CountVisible("#32770"), 1);
    EXPECT_EQ(CountVisible("#32768"), 0) << "the tray menu showed while the dialog was open";

    PostMessageA(config, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(config); }));
    // Cancel: the stored table stays, the size is stored.
    EXPECT_EQ(testreg::SubKeys(std::string(testreg::AppKey) + "\\Keys").size(), 2u);
    EXPECT_TRUE(testreg::HasValue(std::string(testreg::AppKey) + "\\ConfigDlg", "Width"));
    EXPECT_TRUE(testreg::HasValue(std::string(testreg::AppKey) + "\\ConfigDlg", "KeyWidth"));
}

TEST_F(DialogsEndToEnd, LiveHotKeyFiresWhileTheMenuOpenedDialogIsOpen)
{
    ASSERT_TRUE(Start());
    PostMessageA(launcher, WM_COMMAND, IDM_CONFIGURATION, 0);
    HWND config = WaitForDialog(ConfigCaption);
    ASSERT_TRUE(config) << "the Configuration command opened no dialog";
    EXPECT_EQ(Commands(config).size(), 2u);

    FocusWindow focus;
    DeleteFileA(sentinel.c_str());
    ASSERT_TRUE(PressChord(focus.Handle(), Ctrl | Shift, VK_F7));
    EXPECT_TRUE(AppearsSoon(sentinel)) << "the live hot key did not fire while the dialog was open";
    EXPECT_TRUE(IsWindow(config));
    PostMessageA(config, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(config); }));
}

TEST_F(DialogsEndToEnd, AddedHotKeyCapturedFromTheKeyboardFiresRightAfterOk)
{
    std::string added = FreshTempFile("zindral-added.txt");
    ASSERT_TRUE(Start());
    PostMessageA(launcher, WM_COMMAND, IDM_CONFIGURATION, 0);
    HWND config = WaitForDialog(ConfigCaption);
    ASSERT_TRUE(config);

    PostMessageA(config, WM_COMMAND, MAKEWPARAM(IDC_ADD, BN_CLICKED), 0);
    HWND edit = WaitForDialog(EditCaption);
    ASSERT_TRUE(edit);
    HWND key = GetDlgItem(edit, IDC_KEY);
    EXPECT_EQ(WindowText(key), "A");
    EXPECT_EQ(IsDlgButtonChecked(edit, IDC_WIN), BST_CHECKED);

    // The key field has the focus; F9 pressed on the keyboard names the key,
    // Shift alone changes nothing.
    ASSERT_TRUE(MakeForeground(edit));
    ASSERT_TRUE(PressKeys(edit, {VK_F9, VK_SHIFT}));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(key) == "F9"; })) << WindowText(key);

    CheckDlgButton(edit, IDC_WIN, BST_UNCHECKED);
    CheckDlgButton(edit, IDC_CTRL, BST_CHECKED);
    CheckDlgButton(edit, IDC_SHIFT, BST_CHECKED);
    SetDlgItemTextA(edit, IDC_COMMAND_LINE, Cmd);
    SetDlgItemTextA(edit, IDC_PARAMETERS, WriteMarker(added).c_str());
    EXPECT_EQ(WindowText(key), "F9");
    PostMessageA(edit, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(edit); }));
    EXPECT_EQ(Commands(config).size(), 3u);
    PostMessageA(config, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(config); }));

    const std::string entry = testreg::EntryPath(2);
    EXPECT_EQ(testreg::GetString(entry, "Key"), "F9");
    EXPECT_EQ(testreg::GetDword(entry, "Modifier"), Ctrl | Shift);
    EXPECT_EQ(testreg::GetString(entry, "CommandLine"), Cmd);
    EXPECT_FALSE(testreg::HasValue(entry, "WorkingDirectory"));

    FocusWindow focus;
    ASSERT_TRUE(PressChord(focus.Handle(), Ctrl | Shift, VK_F9));
    EXPECT_TRUE(AppearsSoon(added)) << "the new hot key did not fire";
    DeleteFileA(sentinel.c_str());
    ASSERT_TRUE(PressChord(focus.Handle(), Ctrl | Shift, VK_F7));
    EXPECT_TRUE(AppearsSoon(sentinel)) << "an old hot key stopped working";
}

}  // namespace
