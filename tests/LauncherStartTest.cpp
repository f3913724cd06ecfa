// Zindral's entry function when it cannot get its launcher window: it must
// return at once, before touching tray or hot keys, instead of running a
// message loop that no Exit command could ever reach.
#include "launcher/Launcher.h"
#include "launcher/Startup.h"
#include "tests/ImportSlot.h"
#include "tests/e2e/Driver.h"
#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <functional>

IMPORT_SLOT(InitCommonControlsEx, 4);
IMPORT_SLOT(ShellExecuteExA, 4);

namespace {

// What reached the system through the replaced imports.
DWORD g_classesAsked;
BOOL WINAPI RecordClasses(const INITCOMMONCONTROLSEX* controls)
{
    g_classesAsked |= controls->dwICC;
    return TRUE;
}

SHELLEXECUTEINFOA g_launched;
int g_launches;
BOOL WINAPI RecordLaunch(SHELLEXECUTEINFOA* info)
{
    g_launched = *info;
    ++g_launches;
    return TRUE;
}

const UINT TestModifiers = HotKeyCtrl | HotKeyAlt | HotKeyShift;

struct EntryRun {
    bool refuseWindows;
    int result;
    HRESULT apartmentAfter;   // of the entry's thread once the function returned
    HWND launcher;            // set while it runs, kept alive past its loop
    bool iconAfter;           // once the function returned, on its thread
    bool hotKeyFreeAfter;
};

LRESULT CALLBACK RefuseWindows(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND)
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI RunEntry(void* data)
{
    EntryRun& run = *static_cast<EntryRun*>(data);
    HHOOK hook = nullptr;
    if (run.refuseWindows)
        hook = SetWindowsHookExA(WH_CBT, RefuseWindows, nullptr, GetCurrentThreadId());
    char tail[] = "";
    run.result = ProgramEntry(GetModuleHandleA(nullptr), nullptr, tail, SW_SHOWDEFAULT);
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    run.apartmentAfter = CoGetApartmentType(&type, &qualifier);
    // The window outlived the loop: only Exit's own calls can have freed
    // its icon and hot keys, which the system frees with the window.
    if (run.launcher) {
        run.iconAfter = e2e::TrayIconExists(run.launcher);
        run.hotKeyFreeAfter = e2e::CombinationIsFree(TestModifiers, VK_F9);
        DestroyWindow(run.launcher);
    }
    if (hook)
        UnhookWindowsHookEx(hook);
    return 0;
}

// Runs the entry function on a thread of its own, so that a loop that never
// ends fails the test instead of hanging it.
bool EntryReturns(EntryRun& run, const std::function<void()>& whileRunning = [] {})
{
    HANDLE thread = CreateThread(nullptr, 0, RunEntry, &run, 0, nullptr);
    if (!thread)
        return false;
    whileRunning();
    bool returned = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return returned;
}

// Answers WM_APP on the launcher's thread with that thread's apartment.
WNDPROC g_launcherProc;
APTTYPE g_apartment;
HRESULT g_apartmentResult;

// Exit's WM_CLOSE ends the loop but leaves the window alive.
LRESULT CALLBACK AskApartment(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        APTTYPEQUALIFIER qualifier;
        g_apartmentResult = CoGetApartmentType(&g_apartment, &qualifier);
        return 0;
    }
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return CallWindowProcA(g_launcherProc, window, message, wParam, lParam);
}

class LauncherStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        e2e::ResetZindral();
        testreg::SeedEntry(0, "F9", TestModifiers, "cmd.exe");
        ConstructStatics();
        instance = GetModuleHandleA(nullptr);
    }
    void TearDown() override
    {
        UnregisterClassA(LauncherClassName, instance);
        DestroyStatics();
        testreg::DeleteSettings();
    }
    HINSTANCE instance = nullptr;
};

TEST_F(LauncherStart, EndsWhenTheWindowCannotBeCreated)
{
    ASSERT_EQ(nullptr, e2e::FindLauncher());
    EntryRun run = {true, -1, S_OK, nullptr, false, false};
    // The system registers the list view's class when it loads the library;
    // the call that a fresh Windows needs shows only here.
    g_classesAsked = 0;
    {
        ImportReplacement<decltype(&InitCommonControlsEx)> classes(InitCommonControlsExSlot, RecordClasses);
        ASSERT_TRUE(EntryReturns(run)) << "entry function ran on without a window";
    }
    EXPECT_EQ(DWORD(ICC_LISTVIEW_CLASSES), g_classesAsked & ICC_LISTVIEW_CLASSES);
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(1, g_hotKeys.count) << "the table is loaded first";
    EXPECT_EQ(nullptr, e2e::FindLauncher());
    EXPECT_TRUE(e2e::CombinationIsFree(TestModifiers, VK_F9)) << "no hot key may stay registered";
    // It got as far as the class, and no further.
    EXPECT_TRUE(UnregisterClassA(LauncherClassName, instance));
    EXPECT_EQ(nullptr, g_trayMenu);
}

TEST_F(LauncherStart, EndsWhenTheClassCannotBeRegistered)
{
    // A class of that name already registered here makes RegisterClassA fail.
    WNDCLASSA taken = {};
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = instance;
    taken.lpszClassName = LauncherClassName;
    ASSERT_NE(0, RegisterClassA(&taken));

    EntryRun run = {false, -1, S_OK, nullptr, false, false};
    ASSERT_TRUE(EntryReturns(run)) << "entry function ran on without a window class";
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(nullptr, e2e::FindLauncher());
    EXPECT_TRUE(e2e::CombinationIsFree(TestModifiers, VK_F9));
    EXPECT_EQ(nullptr, g_trayMenu);
}

// The shell's COM handlers need an apartment on the thread that calls it:
// single-threaded, for the loop's whole life, and gone once it ends. A second
// copy, which stops at once, never sets one up. Exit removes the icon and
// frees the hot keys itself.
TEST_F(LauncherStart, RunsItsLoopInASingleThreadedApartmentAndExitReleasesItsIconAndHotKeys)
{
    EntryRun run = {false, -1, S_OK, nullptr, true, false};
    EntryRun second = {false, -1, S_OK, nullptr, false, false};
    g_apartmentResult = E_FAIL;
    ASSERT_TRUE(EntryReturns(run, [&] {
        HWND launcher = nullptr;
        e2e::WaitUntil([&] { return (launcher = e2e::FindLauncher()) != nullptr; });
        ASSERT_NE(nullptr, launcher);
        // The window comes first, then the icon, then the hot keys.
        EXPECT_TRUE(e2e::WaitUntil([] { return !e2e::CombinationIsFree(TestModifiers, VK_F9); }));
        EXPECT_TRUE(e2e::TrayIconExists(launcher));
        run.launcher = launcher;
        EXPECT_TRUE(EntryReturns(second));
        g_launcherProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(launcher, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AskApartment)));
        SendMessageA(launcher, WM_APP, 0, 0);
        PostMessageA(launcher, WM_COMMAND, 40001, 0);   // Exit
    }));
    EXPECT_EQ(S_OK, g_apartmentResult);
    EXPECT_TRUE(g_apartment == APTTYPE_STA || g_apartment == APTTYPE_MAINSTA) << g_apartment;
    EXPECT_EQ(CO_E_NOTINITIALIZED, run.apartmentAfter);
    EXPECT_EQ(CO_E_NOTINITIALIZED, second.apartmentAfter);
    EXPECT_FALSE(run.iconAfter) << "Exit left the icon to the system";
    EXPECT_TRUE(run.hotKeyFreeAfter) << "Exit left the hot keys to the system";
}

// The record that reaches the shell: Wine expands the variables whether or
// not it is asked to, and the show command is what the started program
// finds in its start-up information.
TEST_F(LauncherStart, HotKeyHandsItsEntryToTheShellShownNormallyWithVariablesExpanded)
{
    HotKey entry;
    entry.key = VK_F9;
    entry.commandLine.Assign("%WINDIR%\\notepad.exe");
    g_hotKeys.Append(entry);
    g_launches = 0;
    {
        ImportReplacement<decltype(&ShellExecuteExA)> shell(ShellExecuteExASlot, RecordLaunch);
        LauncherWndProc(nullptr, WM_HOTKEY, FirstHotKeyId, 0);
    }
    ASSERT_EQ(1, g_launches);
    EXPECT_EQ(DWORD(SEE_MASK_DOENVSUBST), g_launched.fMask & SEE_MASK_DOENVSUBST);
    EXPECT_EQ(SW_SHOWNORMAL, g_launched.nShow);
    EXPECT_STREQ("%WINDIR%\\notepad.exe", g_launched.lpFile);
}

} // namespace
