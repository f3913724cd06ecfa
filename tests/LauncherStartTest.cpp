// Zindral's entry function when it cannot get its launcher window: it must
// return at once, before touching tray or hot keys, instead of running a
// message loop that no Exit command could ever reach. Then what the launcher
// hands to RegisterHotKey and to the shell.
#include "launcher/Launcher.h"
#include "launcher/Startup.h"
#include "resources/resource.h"
#include "tests/ImportSlot.h"
#include "tests/TestEntry.h"
#include "tests/TestHeap.h"
#include "tests/e2e/Driver.h"
#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <functional>
#include <string>
#include <utility>
#include <vector>

IMPORT_SLOT(ShellExecuteExA, 4);
IMPORT_SLOT(RegisterHotKey, 16);
IMPORT_SLOT(CreateMutexA, 12);
IMPORT_SLOT(FindWindowA, 8);

namespace {

// What reached the system through the replaced imports.
DWORD g_classesAsked;
BOOL WINAPI RecordClasses(const INITCOMMONCONTROLSEX* controls)
{
    g_classesAsked |= controls->dwICC;
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
    HHOOK hook = run.refuseWindows ? SetWindowsHookExA(WH_CBT, RefuseWindows, nullptr, GetCurrentThreadId()) : nullptr;
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

HWND WINAPI FindNoWindow(LPCSTR, LPCSTR)
{
    return nullptr;
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
    }
    void TearDown() override
    {
        UnregisterClassA(LauncherClassName, instance);
        DestroyStatics();
        testreg::DeleteSettings();
    }
    const HINSTANCE instance = GetModuleHandleA(nullptr);
};

TEST_F(LauncherStart, EndsWhenTheWindowCannotBeCreated)
{
    ASSERT_EQ(nullptr, e2e::FindLauncher());
    EntryRun run = {true, -1, S_OK, nullptr, false, false};
    // The system registers the list view's class when it loads the library;
    // the call that a fresh Windows needs shows only here.
    g_classesAsked = 0;
    {
        // Looked up in the system's comctl32, never in one beside the program.
        InterceptLookups lookups({{"InitCommonControlsEx", AsFound(RecordClasses)}});
        ASSERT_TRUE(EntryReturns(run)) << "entry function ran on without a window";
        EXPECT_STRCASEEQ(SystemLibrary("comctl32.dll").c_str(), lookups["InitCommonControlsEx"].module.c_str());
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
        {
            // The window search finds nothing: only the mutex can stop the
            // second copy before it sets up a launcher of its own.
            Intercept<FindWindowASlot> hidden(FindNoWindow);
            InterceptLookups lookups({{"InitCommonControlsEx", AsFound(RecordClasses)}});
            EXPECT_TRUE(EntryReturns(second));
            EXPECT_EQ("", lookups["InitCommonControlsEx"].module) << "the second copy went on past the mutex";
        }
        EXPECT_EQ(0, second.result);
        g_launcherProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(launcher, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AskApartment)));
        SendMessageA(launcher, WM_APP, 0, 0);
        PostMessageA(launcher, WM_COMMAND, IDM_EXIT, 0);
    }));
    EXPECT_EQ(S_OK, g_apartmentResult);
    EXPECT_TRUE(g_apartment == APTTYPE_STA || g_apartment == APTTYPE_MAINSTA) << g_apartment;
    EXPECT_EQ(CO_E_NOTINITIALIZED, run.apartmentAfter);
    EXPECT_EQ(CO_E_NOTINITIALIZED, second.apartmentAfter);
    EXPECT_FALSE(run.iconAfter) << "Exit left the icon to the system";
    EXPECT_TRUE(run.hotKeyFreeAfter) << "Exit left the hot keys to the system";
}

// Only a copy at another integrity level, whose mutex this one may not open,
// stops it; an event of another program squatting the name does not.
HANDLE WINAPI DenyMutex(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

TEST_F(LauncherStart, StartsBesideAnotherObjectOfItsNameButNotBesideAMutexItMayNotOpen)
{
    HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, LauncherClassName);
    ASSERT_NE(nullptr, squatter);
    EntryRun run = {false, -1, S_OK, nullptr, false, false};
    bool started = false;
    EXPECT_TRUE(EntryReturns(run, [&] {
        HWND launcher = nullptr;
        started = e2e::WaitUntil([&] { return (launcher = e2e::FindLauncher()) != nullptr; });
        if (started)
            PostMessageA(launcher, WM_COMMAND, IDM_EXIT, 0);
    }));
    CloseHandle(squatter);
    EXPECT_TRUE(started) << "an event of that name kept it from starting";
    // A class left registered would stop the next run on its own.
    UnregisterClassA(LauncherClassName, instance);

    EntryRun denied = {false, -1, S_OK, nullptr, false, false};
    started = false;
    {
        Intercept<CreateMutexASlot> mutex(DenyMutex);
        EXPECT_TRUE(EntryReturns(denied, [&] {
            HWND launcher = nullptr;
            started = e2e::WaitUntil([&] { return (launcher = e2e::FindLauncher()) != nullptr; }, 1000);
            if (started)
                PostMessageA(launcher, WM_COMMAND, IDM_EXIT, 0);
        }));
    }
    EXPECT_FALSE(started) << "started beside a copy that it could not see";
}

// The start-up's library search, as the kernel's functions are asked for it.
// Wine passes no DLL directory on to child processes, so only the calls show
// whether programs started from here inherit one.
struct SearchCalls {
    bool defaultsRefused;
    std::vector<DWORD> defaultFlags;
    std::vector<std::string> dllDirectories;
} g_search;

BOOL WINAPI RecordDefaultDirectories(DWORD flags)
{
    g_search.defaultFlags.push_back(flags);
    return !g_search.defaultsRefused;
}
BOOL WINAPI RecordDllDirectory(LPCSTR folder)
{
    g_search.dllDirectories.push_back(folder ? folder : "(null)");
    return TRUE;
}

TEST(StartUp, SearchesTheSystemFolderAloneAndSetsAnInheritedDirectoryOnlyWithoutTheDefaults)
{
    const struct {
        const char* name;
        bool missing, refused;
        std::vector<DWORD> flags;
        std::vector<std::string> directories;
    } cases[] = {
        {"defaults taken", false, false, {LOAD_LIBRARY_SEARCH_SYSTEM32}, {}},
        {"defaults refused", false, true, {LOAD_LIBRARY_SEARCH_SYSTEM32}, {""}},
        {"defaults missing", true, false, {}, {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_search = {c.refused, {}, {}};
        {
            InterceptLookups lookups({{"SetDefaultDllDirectories", c.missing ? nullptr : AsFound(RecordDefaultDirectories)},
                                      {"SetDllDirectoryA", AsFound(RecordDllDirectory)}});
            KeepLibraryLoadsInTheSystemFolder();
        }
        EXPECT_EQ(c.flags, g_search.defaultFlags);
        EXPECT_EQ(c.directories, g_search.dllDirectories);
    }
}

// --- The launcher's calls to the platform, caught at this program's import
// slots: the code under test calls the system through them, so a test sees
// exactly what reaches it. ---

using Registration = std::pair<UINT, UINT>;   // modifiers, key
std::vector<Registration> g_registrations;
// 0: every call succeeds. ERROR_INVALID_FLAGS: Vista and older refuse the
// flag they do not know. ERROR_HOTKEY_ALREADY_REGISTERED: another program
// holds every combination.
DWORD g_refusal;

BOOL WINAPI RecordRegisterHotKey(HWND, int, UINT modifiers, UINT key)
{
    g_registrations.push_back({modifiers, key});
    bool refused = g_refusal == ERROR_HOTKEY_ALREADY_REGISTERED || (g_refusal && (modifiers & MOD_NOREPEAT));
    if (refused)
        SetLastError(g_refusal);
    return !refused;
}

struct ShellCall {
    int show;
    ULONG mask;
    std::string file, parameters, directory;
};
std::vector<ShellCall> g_shellCalls;
std::function<void()> g_whileInShell;

std::string TextOf(const char* text)
{
    return text ? text : "(null)";
}

// Runs what a message loop inside the shell could run, then reads the texts.
BOOL WINAPI RecordShellExecute(SHELLEXECUTEINFOA* info)
{
    if (g_whileInShell)
        g_whileInShell();
    g_shellCalls.push_back({info->nShow, info->fMask, TextOf(info->lpFile), TextOf(info->lpParameters),
                            TextOf(info->lpDirectory)});
    return TRUE;
}

class LauncherCalls : public ::testing::Test {
protected:
    void SetUp() override
    {
        ConstructStatics();
        g_registrations.clear();
        g_shellCalls.clear();
        g_whileInShell = nullptr;
    }
    void TearDown() override
    {
        g_whileInShell = nullptr;
        DestroyStatics();
    }

    void PressEntry0()
    {
        Intercept<ShellExecuteExASlot> shell(RecordShellExecute);
        ASSERT_EQ(&RecordShellExecute, ShellExecuteExASlot);
        LauncherWndProc(nullptr, WM_HOTKEY, FirstHotKeyId, 0);
    }
};

// A combination that is held is held with or without the flag: no second call.
TEST_F(LauncherCalls, HotKeysIgnoreAutoRepeatAndRegisterWithoutWhereTheFlagIsRefused)
{
    ASSERT_TRUE(g_hotKeys.Append(MakeEntry(VK_F9, TestModifiers, "cmd.exe")));
    ASSERT_TRUE(g_hotKeys.Append(MakeEntry('Q', HotKeyWin, "cmd.exe")));
    const UINT NoRepeat = MOD_NOREPEAT;
    struct {
        DWORD refusal;
        std::vector<Registration> calls;
    } cases[] = {
        {0, {{TestModifiers | NoRepeat, VK_F9}, {HotKeyWin | NoRepeat, 'Q'}}},
        {ERROR_INVALID_FLAGS,
         {{TestModifiers | NoRepeat, VK_F9}, {TestModifiers, VK_F9}, {HotKeyWin | NoRepeat, 'Q'}, {HotKeyWin, 'Q'}}},
        {ERROR_HOTKEY_ALREADY_REGISTERED, {{TestModifiers | NoRepeat, VK_F9}, {HotKeyWin | NoRepeat, 'Q'}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusal);
        g_registrations.clear();
        g_refusal = c.refusal;
        {
            Intercept<RegisterHotKeySlot> patch(RecordRegisterHotKey);
            ASSERT_EQ(&RecordRegisterHotKey, RegisterHotKeySlot);
            RegisterHotKeys(nullptr, g_hotKeys);
        }
        EXPECT_EQ(c.calls, g_registrations);
        EXPECT_EQ(TestModifiers, g_hotKeys.items[0].modifiers) << "the stored value changed";
    }
}

// Windows expands references only in the file and the directory; Wine's shell
// expands the parameters too, so only the text handed over can show this.
TEST_F(LauncherCalls, ParametersReachTheShellExpandedWithUndefinedReferencesAsWritten)
{
    SetEnvironmentVariableA("ZINDRAL_TEST_HOME", "C:\\Users\\tester");
    SetEnvironmentVariableA("ZINDRAL_TEST_UNSET", nullptr);
    ASSERT_TRUE(g_hotKeys.Append(MakeEntry(VK_F9, TestModifiers, "%ZINDRAL_TEST_HOME%\\tool.exe",
                                       "%ZINDRAL_TEST_HOME%\\todo.txt %ZINDRAL_TEST_UNSET% http://x/a%20b",
                                       "%ZINDRAL_TEST_HOME%")));
    PressEntry0();
    // A heap that refuses the expanded copy: the parameters go over as written.
    g_allocationsBeforeFailure = 0;
    PressEntry0();
    g_allocationsBeforeFailure = -1;
    SetEnvironmentVariableA("ZINDRAL_TEST_HOME", nullptr);
    ASSERT_EQ(2u, g_shellCalls.size());
    EXPECT_EQ(g_hotKeys.items[0].parameters.Text(), g_shellCalls[1].parameters);
    const ShellCall& call = g_shellCalls[0];
    EXPECT_EQ("C:\\Users\\tester\\todo.txt %ZINDRAL_TEST_UNSET% http://x/a%20b", call.parameters);
    // The shell expands these itself. The show command is what the started
    // program finds in its start-up information.
    EXPECT_EQ(ULONG(SEE_MASK_DOENVSUBST), call.mask);
    EXPECT_EQ(SW_SHOWNORMAL, call.show);
    EXPECT_EQ("%ZINDRAL_TEST_HOME%\\tool.exe", call.file);
    EXPECT_EQ("%ZINDRAL_TEST_HOME%", call.directory);
}

// The shell's error box runs a message loop, and Configuration's OK can
// replace the table meanwhile: the texts handed over must stay alive.
TEST_F(LauncherCalls, TheShellsTextsOutliveATableReplacedWhileItRuns)
{
    ASSERT_TRUE(g_hotKeys.Append(MakeEntry(VK_F9, TestModifiers, "C:\\first\\tool.exe", "-first", "C:\\first")));
    g_whileInShell = [] {
        HotKeyList replacement;
        replacement.Append(MakeEntry(VK_F9, TestModifiers, "C:\\second.exe", "-second", "C:\\second"));
        g_hotKeys = replacement;
        // Freed text buffers would now be handed out again and overwritten.
        void* blocks[32];
        for (void*& block : blocks) {
            block = HeapAlloc(GetProcessHeap(), 0, 144);
            FillMemory(block, 144, 'X');
        }
        for (void* block : blocks)
            HeapFree(GetProcessHeap(), 0, block);
    };
    PressEntry0();
    ASSERT_EQ(1u, g_shellCalls.size());
    EXPECT_EQ("C:\\first\\tool.exe", g_shellCalls[0].file);
    EXPECT_EQ("-first", g_shellCalls[0].parameters);
    EXPECT_EQ("C:\\first", g_shellCalls[0].directory);
}

} // namespace
