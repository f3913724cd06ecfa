// Zindral's entry function when it cannot get its launcher window: it must
// return at once, before touching tray or hot keys, instead of running a
// message loop that no Exit command could ever reach. Then what the launcher
// hands to RegisterHotKey and to the shell.
#include "launcher/Launcher.h"
#include "launcher/Startup.h"
#include "tests/e2e/Driver.h"
#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>
#include <functional>
#include <string>
#include <vector>

namespace {

const UINT TestModifiers = HotKeyCtrl | HotKeyAlt | HotKeyShift;

struct EntryRun {
    bool refuseWindows;
    int result;
    HRESULT apartmentAfter;   // of the entry's thread once the function returned
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

LRESULT CALLBACK AskApartment(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        APTTYPEQUALIFIER qualifier;
        g_apartmentResult = CoGetApartmentType(&g_apartment, &qualifier);
        return 0;
    }
    return CallWindowProcA(g_launcherProc, window, message, wParam, lParam);
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
    EntryRun run = {true, -1, S_OK};
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

    EntryRun run = {false, -1, S_OK};
    ASSERT_TRUE(EntryReturns(run)) << "entry function ran on without a window class";
    EXPECT_EQ(0, run.result);
    EXPECT_EQ(nullptr, e2e::FindLauncher());
    EXPECT_TRUE(CombinationIsFree());
    EXPECT_EQ(nullptr, g_trayMenu);
}

// The shell's COM handlers need an apartment on the thread that calls it:
// single-threaded, for the loop's whole life, and gone once it ends. A second
// copy, which stops at once, never sets one up.
TEST_F(LauncherStart, RunsItsLoopInASingleThreadedApartment)
{
    EntryRun run = {false, -1, S_OK};
    EntryRun second = {false, -1, S_OK};
    g_apartmentResult = E_FAIL;
    ASSERT_TRUE(EntryReturns(run, [&] {
        HWND launcher = nullptr;
        for (int i = 0; i < 500 && !(launcher = e2e::FindLauncher()); ++i)
            Sleep(20);
        ASSERT_NE(nullptr, launcher);
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
}

// --- The launcher's calls to the platform, caught at this program's import
// slots: the code under test calls the system through them, so a test sees
// exactly what reaches it. ---

// Points this program's import of `function` at `replacement` while it lives.
class ImportPatch {
public:
    ImportPatch(const char* library, const char* function, void* replacement)
    {
        void* target = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(library), function));
        BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
        for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); dll->Name && !slot; ++dll)
            for (void** entry = reinterpret_cast<void**>(base + dll->FirstThunk); *entry && !slot; ++entry)
                if (*entry == target)
                    slot = entry;
        if (slot)
            original = Write(replacement);
    }
    ~ImportPatch()
    {
        if (slot)
            Write(original);
    }
    bool Patched() const { return slot != nullptr; }

private:
    void* Write(void* value)
    {
        DWORD protection;
        VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
        void* old = *slot;
        *slot = value;
        VirtualProtect(slot, sizeof(*slot), protection, &protection);
        return old;
    }
    void** slot = nullptr;
    void* original = nullptr;
};

struct Registration {
    UINT modifiers;
    UINT key;
    bool operator==(const Registration& other) const { return modifiers == other.modifiers && key == other.key; }
};
std::vector<Registration> g_registrations;
bool g_refuseNoRepeat;

// Vista and older refuse the flag they do not know.
BOOL WINAPI RecordRegisterHotKey(HWND, int, UINT modifiers, UINT key)
{
    g_registrations.push_back({modifiers, key});
    return !(g_refuseNoRepeat && (modifiers & MOD_NOREPEAT));
}

struct ShellCall {
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
    g_shellCalls.push_back({info->fMask, TextOf(info->lpFile), TextOf(info->lpParameters),
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

    static HotKey Entry(UINT key, UINT modifiers, const char* file, const char* parameters = nullptr,
                        const char* directory = nullptr)
    {
        HotKey entry;
        entry.key = key;
        entry.modifiers = modifiers;
        entry.commandLine.Assign(file);
        entry.parameters.Assign(parameters);
        entry.workingDirectory.Assign(directory);
        return entry;
    }

    void PressEntry0()
    {
        ImportPatch shell("shell32.dll", "ShellExecuteExA", reinterpret_cast<void*>(RecordShellExecute));
        ASSERT_TRUE(shell.Patched());
        LauncherWndProc(nullptr, WM_HOTKEY, FirstHotKeyId, 0);
    }
};

TEST_F(LauncherCalls, HotKeysIgnoreAutoRepeatAndRegisterWithoutWhereTheFlagIsRefused)
{
    ASSERT_TRUE(g_hotKeys.Append(Entry(VK_F9, TestModifiers, "cmd.exe")));
    ASSERT_TRUE(g_hotKeys.Append(Entry('Q', HotKeyWin, "cmd.exe")));
    const UINT NoRepeat = MOD_NOREPEAT;
    struct {
        bool refused;
        std::vector<Registration> calls;
    } cases[] = {
        {false, {{TestModifiers | NoRepeat, VK_F9}, {HotKeyWin | NoRepeat, 'Q'}}},
        {true, {{TestModifiers | NoRepeat, VK_F9}, {TestModifiers, VK_F9}, {HotKeyWin | NoRepeat, 'Q'}, {HotKeyWin, 'Q'}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refused ? "flag refused" : "flag taken");
        g_registrations.clear();
        g_refuseNoRepeat = c.refused;
        {
            ImportPatch patch("user32.dll", "RegisterHotKey", reinterpret_cast<void*>(RecordRegisterHotKey));
            ASSERT_TRUE(patch.Patched());
            RegisterHotKeys(nullptr, g_hotKeys);
        }
        EXPECT_TRUE(g_registrations == c.calls) << g_registrations.size() << " calls";
        EXPECT_EQ(TestModifiers, g_hotKeys.items[0].modifiers) << "the stored value changed";
    }
}

// Windows expands references only in the file and the directory; Wine's shell
// expands the parameters too, so only the text handed over can show this.
TEST_F(LauncherCalls, ParametersReachTheShellExpandedWithUndefinedReferencesAsWritten)
{
    SetEnvironmentVariableA("ZINDRAL_TEST_HOME", "C:\\Users\\tester");
    SetEnvironmentVariableA("ZINDRAL_TEST_UNSET", nullptr);
    ASSERT_TRUE(g_hotKeys.Append(Entry(VK_F9, TestModifiers, "%ZINDRAL_TEST_HOME%\\tool.exe",
                                       "%ZINDRAL_TEST_HOME%\\todo.txt %ZINDRAL_TEST_UNSET% http://x/a%20b",
                                       "%ZINDRAL_TEST_HOME%")));
    PressEntry0();
    SetEnvironmentVariableA("ZINDRAL_TEST_HOME", nullptr);
    ASSERT_EQ(1u, g_shellCalls.size());
    const ShellCall& call = g_shellCalls[0];
    EXPECT_EQ("C:\\Users\\tester\\todo.txt %ZINDRAL_TEST_UNSET% http://x/a%20b", call.parameters);
    // The shell expands these itself.
    EXPECT_EQ(ULONG(SEE_MASK_DOENVSUBST), call.mask);
    EXPECT_EQ("%ZINDRAL_TEST_HOME%\\tool.exe", call.file);
    EXPECT_EQ("%ZINDRAL_TEST_HOME%", call.directory);
}

// The shell's error box runs a message loop, and Configuration's OK can
// replace the table meanwhile: the texts handed over must stay alive.
TEST_F(LauncherCalls, TheShellsTextsOutliveATableReplacedWhileItRuns)
{
    ASSERT_TRUE(g_hotKeys.Append(Entry(VK_F9, TestModifiers, "C:\\first\\tool.exe", "-first", "C:\\first")));
    g_whileInShell = [] {
        HotKeyList replacement;
        replacement.Append(Entry(VK_F9, TestModifiers, "C:\\second.exe", "-second", "C:\\second"));
        g_hotKeys = replacement;
        // Freed text buffers would now be handed out again and overwritten.
        std::vector<void*> blocks;
        for (int i = 0; i < 32; ++i) {
            void* block = HeapAlloc(GetProcessHeap(), 0, 144);
            FillMemory(block, 144, 'X');
            blocks.push_back(block);
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
