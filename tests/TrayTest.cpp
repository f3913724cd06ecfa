// The tray icon's functions in this process, on a window of the test's own:
// the icon comes and goes with its identifier, and the callback turns mouse
// messages into the menu or the Configuration command only when it should.
#include "launcher/Launcher.h"
#include "launcher/Tray.h"
#include "tests/ImportSlot.h"
#include "tests/e2e/Driver.h"
#include <shellapi.h>
#include <gtest/gtest.h>
#include <vector>

IMPORT_SLOT(Shell_NotifyIconA, 8);
IMPORT_SLOT(TrackPopupMenu, 28);
IMPORT_SLOT(GetLastActivePopup, 4);

namespace {

// What the tray functions handed to the system, passed on unchanged.
NOTIFYICONDATAA g_added;
BOOL WINAPI RecordIcon(DWORD message, NOTIFYICONDATAA* data)
{
    if (message == NIM_ADD)
        g_added = *data;
    return Intercept<Shell_NotifyIconASlot>::original(message, data);
}

UINT g_menuFlags;
BOOL WINAPI RecordMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND window, const RECT* rect)
{
    g_menuFlags = flags;
    return Intercept<TrackPopupMenuSlot>::original(menu, flags, x, y, reserved, window, rect);
}

// What was let through the message filter, for which window (null: the
// whole process).
struct Allowed {
    HWND window;
    UINT message;
    DWORD action;
} g_allowed;
BOOL WINAPI AllowForWindow(HWND window, UINT message, DWORD action, void*)
{
    g_allowed = {window, message, action};
    return TRUE;
}
BOOL WINAPI AllowForProcess(UINT message, DWORD action)
{
    g_allowed = {nullptr, message, action};
    return TRUE;
}
// Which window the popup the user must answer was asked of.
HWND g_popupsOf;
HWND WINAPI RecordPopupsOf(HWND window)
{
    g_popupsOf = window;
    return Intercept<GetLastActivePopupSlot>::original(window);
}

// What the tray callback made of the owner window.
std::vector<WPARAM> g_commands;
int g_menusEntered;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        g_commands.push_back(wParam);
        return 0;
    case WM_ENTERMENULOOP:
        ++g_menusEntered;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool NullMessagePosted(HWND window)
{
    MSG msg;
    return PeekMessageA(&msg, window, WM_NULL, WM_NULL, PM_REMOVE) != FALSE;
}

class Tray : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_commands.clear();
        g_menusEntered = 0;
        // A static control's window with the owner's procedure: no class to register.
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 10, 10, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, window);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerProc));
        menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, IDM_EXIT, "E&xit");
        g_trayMenu = menu;
        g_dialogOpen = 0;
    }
    void TearDown() override
    {
        g_trayMenu = nullptr;
        g_dialogOpen = 0;
        DestroyMenu(menu);
        DestroyWindow(window);
    }

    HWND window = nullptr;
    HMENU menu = nullptr;
};

TEST_F(Tray, IconIsAddedWithItsTipAndRemovedWhileTheWindowLives)
{
    ASSERT_FALSE(e2e::TrayIconExists(window));
    g_added = {};
    {
        // The shell keeps the tip to itself: it shows in the record alone.
        Intercept<Shell_NotifyIconASlot> icons(RecordIcon);
        AddTrayIcon(window, GetModuleHandleA(nullptr));
    }
    EXPECT_TRUE(e2e::TrayIconExists(window));
    EXPECT_EQ(UINT(NIF_TIP), g_added.uFlags & NIF_TIP);
    EXPECT_STREQ("Zindral", g_added.szTip);
    RemoveTrayIcon(window);
    EXPECT_FALSE(e2e::TrayIconExists(window));
}

// Run elevated, Zindral would never hear of a restarted Explorer unless the
// filter lets its message through: for the window where the system can.
TEST_F(Tray, TheTaskbarsRestartIsLetThroughTheMessageFilter)
{
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    for (bool windowFilter : {true, false}) {
        // Vista lacks the filter of one window.
        InterceptLookups lookups({{"ChangeWindowMessageFilterEx", windowFilter ? AsFound(AllowForWindow) : nullptr},
                                  {"ChangeWindowMessageFilter", AsFound(AllowForProcess)}});
        g_allowed = {};
        AddTrayIcon(window, GetModuleHandleA(nullptr));
        RemoveTrayIcon(window);
        EXPECT_EQ(windowFilter ? window : nullptr, g_allowed.window);
        EXPECT_EQ(taskbarCreated, g_allowed.message);
        EXPECT_EQ(DWORD(windowFilter ? MSGFLT_ALLOW : MSGFLT_ADD), g_allowed.action);
    }
}

TEST_F(Tray, DoubleClickSendsConfigurationUnlessADialogIsOpen)
{
    TrayCallback(window, TrayMessage, WM_LBUTTONDBLCLK);
    ASSERT_EQ(1u, g_commands.size());
    EXPECT_EQ(WPARAM(IDM_CONFIGURATION), g_commands[0]);

    g_dialogOpen = 1;
    TrayCallback(window, TrayMessage, WM_LBUTTONDBLCLK);
    EXPECT_EQ(1u, g_commands.size());
}

TEST_F(Tray, RightClickShowsNoMenuWhileADialogIsOpen)
{
    g_dialogOpen = 1;
    TrayCallback(window, TrayMessage, WM_RBUTTONUP);
    EXPECT_EQ(0, g_menusEntered);
    EXPECT_FALSE(NullMessagePosted(window));
}

// Windows answers about an owned window, as the configuration dialog is, with
// that window itself (Wine looks further): only the root owner knows whether
// the edit dialog or the file dialog on top is the one to answer.
TEST_F(Tray, AClickWhileADialogIsOpenAsksItsRootOwnerForTheLastPopup)
{
    HWND dialog = CreateWindowExA(0, "STATIC", "", WS_POPUP, 10, 10, 10, 10, window, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, dialog);
    g_dialogOpen = 1;
    g_dialogWindow = dialog;
    {
        Intercept<GetLastActivePopupSlot> popups(RecordPopupsOf);
        for (LPARAM click : {WM_LBUTTONDBLCLK, WM_RBUTTONUP}) {
            g_popupsOf = nullptr;
            TrayCallback(window, TrayMessage, click);
            EXPECT_EQ(window, g_popupsOf) << "click " << click;
        }
    }
    g_dialogWindow = nullptr;
    DestroyWindow(dialog);
    EXPECT_TRUE(g_commands.empty());
}

TEST_F(Tray, RightClickTracksTheMenuThenPostsNull)
{
    // The menu's own loop finds the Escape already queued and closes at once.
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    g_menuFlags = 0;
    {
        // An item chosen with the right button counts only with this flag.
        Intercept<TrackPopupMenuSlot> menus(RecordMenu);
        TrayCallback(window, TrayMessage, WM_RBUTTONUP);
    }
    EXPECT_EQ(UINT(TPM_RIGHTBUTTON), g_menuFlags & TPM_RIGHTBUTTON);
    EXPECT_EQ(1, g_menusEntered);
    EXPECT_TRUE(g_commands.empty()) << "dismissing the menu is no command";
    EXPECT_TRUE(NullMessagePosted(window));
}

} // namespace
