// Drives one run of the real 32-bit Zindral from outside, as a user would:
// first start, Win+6 on a sizeable window, the two dialogs, Exit.
//
//   smoke-driver ZINDRAL.EXE
//
// It is a 64-bit program on purpose: in a mixed prefix it starts at native
// speed, while the deliverables it drives run emulated (about a minute per
// process start). Prints one line per step; exit code 0 when all passed.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <stdarg.h>
#include <stdio.h>

namespace {

const DWORD StartDeadline = 600000;  // an emulated process start, with margin
const DWORD StepDeadline = 300000;
const int TargetLeft = 100;
const int TargetTop = 50;
const UINT ZindralIconId = 9910;

DWORD g_start;

void Say(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    printf("[%6.1f s] ", (GetTickCount() - g_start) / 1000.0);
    vprintf(format, args);
    printf("\n");
    fflush(stdout);
    va_end(args);
}

bool Fail(const char* what)
{
    Say("FAILED: %s", what);
    return false;
}

// Polls `done` until it holds or the deadline passes; the emulated
// programs are far too slow for fixed sleeps.
template <typename Condition>
bool WaitFor(DWORD deadline, Condition done)
{
    DWORD begin = GetTickCount();
    while (!done()) {
        if (GetTickCount() - begin > deadline)
            return false;
        Sleep(100);
    }
    return true;
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM lParam)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[64] = "";
    GetClassNameA(window, className, sizeof(className));
    if (processId == search->processId && IsWindowVisible(window) &&
        lstrcmpA(className, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of the given class in the given process.
HWND FindProcessWindow(DWORD processId, const char* className)
{
    WindowSearch search = {processId, className, nullptr};
    EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Asks the tray about the icon without changing it: a change of nothing
// succeeds only for an icon that the tray holds.
bool TrayHoldsIcon(HWND owner, UINT id)
{
    NOTIFYICONDATAA data = {NOTIFYICONDATAA_V1_SIZE};
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

bool StartProgram(char* commandLine, const char* directory, PROCESS_INFORMATION* process)
{
    STARTUPINFOA startup = {sizeof(startup)};
    return CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                          directory, &startup, process) != 0;
}

void PressWinAnd(WORD key)
{
    INPUT inputs[4] = {};
    const WORD keys[4] = {VK_LWIN, key, key, VK_LWIN};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, inputs, sizeof(INPUT));
}

bool MakeForeground(HWND window)
{
    return WaitFor(10000, [window] {
        SetForegroundWindow(window);
        return GetForegroundWindow() == window;
    });
}

class Scenario {
public:
    explicit Scenario(const char* zindralPath);
    ~Scenario();
    bool Run();

private:
    bool StartZindral();
    bool StartNotepad();
    bool ResizeWithWin6();
    bool OpenAndClose(WPARAM command, const char* title, int expectedControl);
    bool CheckDefaultTable(HWND dialog);
    bool ExitZindral();

    char m_zindralPath[MAX_PATH];
    char m_zindralFolder[MAX_PATH];
    PROCESS_INFORMATION m_zindral = {};
    PROCESS_INFORMATION m_notepad = {};
    HWND m_launcher = nullptr;
    HWND m_notepadWindow = nullptr;
};

Scenario::Scenario(const char* zindralPath)
{
    lstrcpynA(m_zindralPath, zindralPath, MAX_PATH);
    lstrcpynA(m_zindralFolder, zindralPath, MAX_PATH);
    char* slash = m_zindralFolder;
    for (char* c = m_zindralFolder; *c; ++c)
        if (*c == '\\')
            slash = c;
    *slash = '\0';
}

// Whatever happened, nothing of the run is left behind.
Scenario::~Scenario()
{
    if (m_notepad.hProcess) {
        TerminateProcess(m_notepad.hProcess, 0);
        CloseHandle(m_notepad.hProcess);
        CloseHandle(m_notepad.hThread);
    }
    if (m_zindral.hProcess) {
        if (WaitForSingleObject(m_zindral.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_zindral.hProcess, 1);
        CloseHandle(m_zindral.hProcess);
        CloseHandle(m_zindral.hThread);
    }
}

bool Scenario::StartZindral()
{
    char commandLine[MAX_PATH + 2];
    wsprintfA(commandLine, "\"%s\"", m_zindralPath);
    if (FindWindowA("ZindralClass", nullptr))
        return Fail("a Zindral already runs before the test");
    if (!StartProgram(commandLine, m_zindralFolder, &m_zindral))
        return Fail("zindral.exe could not be started");
    Say("started %s (first run, dravik.exe beside it)", m_zindralPath);
    bool up = WaitFor(StartDeadline, [this] {
        m_launcher = FindWindowA("ZindralClass", nullptr);
        return m_launcher != nullptr ||
               WaitForSingleObject(m_zindral.hProcess, 0) == WAIT_OBJECT_0;
    });
    if (!up || !m_launcher)
        return Fail("no window of class ZindralClass appeared");
    Say("launcher window found");
    // The icon comes after the window; Exit's check below needs it there.
    if (!WaitFor(StepDeadline, [this] { return TrayHoldsIcon(m_launcher, ZindralIconId); }))
        return Fail("the tray holds no icon of Zindral's");
    Say("tray icon found");
    return true;
}

bool Scenario::StartNotepad()
{
    char commandLine[] = "C:\\windows\\notepad.exe";
    if (!StartProgram(commandLine, nullptr, &m_notepad))
        return Fail("notepad could not be started");
    WaitForInputIdle(m_notepad.hProcess, StepDeadline);
    if (!WaitFor(StepDeadline, [this] {
            m_notepadWindow = FindProcessWindow(m_notepad.dwProcessId, "Notepad");
            return m_notepadWindow != nullptr;
        }))
        return Fail("notepad's window did not appear");
    ShowWindow(m_notepadWindow, SW_RESTORE);
    SetWindowPos(m_notepadWindow, nullptr, TargetLeft, TargetTop, 500, 400, SWP_NOZORDER);
    RECT rect;
    GetWindowRect(m_notepadWindow, &rect);
    Say("notepad at %ld,%ld size %ldx%ld", rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top);
    return true;
}

bool Scenario::ResizeWithWin6()
{
    if (!MakeForeground(m_notepadWindow))
        return Fail("notepad did not become the foreground window");
    RECT before;
    GetWindowRect(m_notepadWindow, &before);
    PressWinAnd('6');
    Say("pressed Win+6 with notepad in the foreground");
    RECT rect = {};
    bool sized = WaitFor(StartDeadline, [this, &rect] {
        GetWindowRect(m_notepadWindow, &rect);
        return rect.right - rect.left == 640 && rect.bottom - rect.top == 480;
    });
    Say("notepad at %ld,%ld size %ldx%ld", rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top);
    if (!sized)
        return Fail("notepad did not become 640x480");
    if (rect.left != before.left || rect.top != before.top)
        return Fail("the top-left corner moved");
    return true;
}

bool Scenario::CheckDefaultTable(HWND dialog)
{
    HWND list = GetDlgItem(dialog, 1008);
    LRESULT count = list ? SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) : -1;
    Say("configuration list holds %d entries", static_cast<int>(count));
    // dravik.exe alone lies beside Zindral: its three defaults.
    return count == 3 || Fail("expected the three default entries for dravik.exe");
}

// Opens a dialog through the tray's menu command, checks it, closes it with
// Cancel and sees that Zindral is still there.
bool Scenario::OpenAndClose(WPARAM command, const char* title, int expectedControl)
{
    // Posted: the dialog runs modal inside Zindral's window procedure.
    PostMessageA(m_launcher, WM_COMMAND, command, 0);
    HWND dialog = nullptr;
    if (!WaitFor(StepDeadline, [this, &dialog] {
            dialog = FindProcessWindow(m_zindral.dwProcessId, "#32770");
            return dialog != nullptr;
        }))
        return Fail("the dialog did not open");
    char caption[128] = "";
    GetWindowTextA(dialog, caption, sizeof(caption));
    RECT rect;
    GetWindowRect(dialog, &rect);
    Say("dialog \"%s\" open, %ldx%ld", caption, rect.right - rect.left, rect.bottom - rect.top);
    if (lstrcmpA(caption, title) != 0)
        return Fail("unexpected dialog caption");
    if (!GetDlgItem(dialog, expectedControl))
        return Fail("the dialog lacks its main control");
    if (command == 40003 && !CheckDefaultTable(dialog))
        return false;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    if (!WaitFor(StepDeadline, [dialog] { return !IsWindow(dialog); }))
        return Fail("the dialog did not close");
    Say("dialog closed");
    if (WaitForSingleObject(m_zindral.hProcess, 0) == WAIT_OBJECT_0)
        return Fail("Zindral ended with the dialog");
    return true;
}

// When qemu kills a 32-bit process, the system takes its window and icon
// away with it, and its exit code reads 0: neither proves a clean Exit. Only
// the program itself removes both while it still runs, so the driver must
// see them gone before the process ends.
bool Scenario::ExitZindral()
{
    PostMessageA(m_launcher, WM_COMMAND, 40001, 0);
    Say("sent Exit");
    DWORD begin = GetTickCount();
    DWORD releasedAt = 0;
    bool released = false;
    for (;;) {
        bool gone = !IsWindow(m_launcher) && !TrayHoldsIcon(m_launcher, ZindralIconId);
        // Asked after looking: a process that runs now ran when we looked.
        if (WaitForSingleObject(m_zindral.hProcess, 0) != WAIT_TIMEOUT)
            break;
        if (gone && !released) {
            released = true;
            releasedAt = GetTickCount();
            Say("window and tray icon gone, the process still runs");
        }
        if (GetTickCount() - begin > StepDeadline)
            return Fail(released ? "Zindral did not end after Exit"
                                 : "Zindral's window or tray icon outlived Exit");
        Sleep(1);
    }
    DWORD code = 1;
    GetExitCodeProcess(m_zindral.hProcess, &code);
    Say("Zindral ended with code %lu", code);
    if (!released)
        return Fail("the window and the icon went only with the process: no clean Exit");
    Say("the process ended %lu ms after its window and icon", GetTickCount() - releasedAt);
    return code == 0 || Fail("exit code is not 0");
}

bool Scenario::Run()
{
    return StartZindral() && StartNotepad() && ResizeWithWin6() &&
           OpenAndClose(40003, "Hot Key Configuration", 1008) &&
           OpenAndClose(40002, "About", 1011) && ExitZindral();
}

}  // namespace

int main(int argc, char** argv)
{
    g_start = GetTickCount();
    if (argc != 2) {
        printf("usage: smoke-driver ZINDRAL.EXE\n");
        return 2;
    }
    Scenario scenario(argv[1]);
    bool passed = scenario.Run();
    Say(passed ? "smoke test passed" : "smoke test failed");
    return passed ? 0 : 1;
}
