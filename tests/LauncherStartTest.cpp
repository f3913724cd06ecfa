// Zindral's entry function when it cannot get its launcher window: it must
// return at once, before touching tray or hot keys, instead of running a
// message loop that no Exit command could ever reach.
#include "launcher/Launcher.h"
#include "launcher/Startup.h"
#include "tests/e2e/Driver.h"
#include <gtest/gtest.h>

namespace {

const UINT TestModifiers = HotKeyCtrl | HotKeyAlt | HotKeyShift;

struct EntryRun {
    bool refuseWindows;
    int result;
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
    if (hook)
        UnhookWindowsHookEx(hook);
    return 0;
}

// Runs the entry function on a thread of its own, so that a loop that never
// ends fails the test instead of hanging it.
bool EntryReturns(EntryRun& run)
{
    HANDLE thread = CreateThread(nullptr, 0, RunEntry, &run, 0, nullptr);
    if (!thread)
        return false;
    bool returned = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return returned;
}

bool CombinationIsFree()
{
    if (!RegisterHotKey(nullptr, 77, TestModifiers, VK_F9))
        return false;
    UnregisterHotKey(nullptr, 77);
    return true;
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
    EntryRun run = {true, -1};
    ASSERT_TRUE(EntryReturns(run)) << "entry function ran on without a window";
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(1, g_hotKeys.count) << "the table is loaded first";
    EXPECT_EQ(nullptr, e2e::FindLauncher());
    EXPECT_TRUE(CombinationIsFree()) << "no hot key may stay registered";
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

    EntryRun run = {false, -1};
    ASSERT_TRUE(EntryReturns(run)) << "entry function ran on without a window class";
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(nullptr, e2e::FindLauncher());
    EXPECT_TRUE(CombinationIsFree());
    EXPECT_EQ(nullptr, g_trayMenu);
}

} // namespace
