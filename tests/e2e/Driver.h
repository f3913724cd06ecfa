#pragma once
// The one test driver: waiting, pumping, the foreground and key input for
// every test program, and the end-to-end part, which works the programs of
// this build tree in the test prefix's Wine virtual desktop as a person
// would: keys pressed and taskbar icons clicked with SendInput, messages
// posted the way the shell posts them, effects polled for with a deadline.
// Settings are seeded and read with testreg (tests/TestRegistry.h); the
// in-process dialogs are scripted with ui (tests/DialogDriver.h).
//
// Every end-to-end test shares one desktop, the global hot keys and the
// single-instance window: mark it SERIAL and begin it with ResetZindral().
#include <windows.h>
#include <string>
#include <vector>
#include "launcher/Launcher.h"
#include "resources/resource.h"
#include "tests/TestRegistry.h"

namespace e2e {

// The build tree's programs as Windows paths (Z:\...\bin\NAME.exe).
extern const char* const ZindralExe;
extern const char* const DravikExe;

// An exit code no program of this build returns: "not read".
constexpr DWORD NoExitCode = 0xFFFFFFFF;

// One started process; the object owns its handle.
class Process {
public:
    Process() = default;
    ~Process() { Close(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // commandLine is passed as it is; quote paths with blanks yourself. Wine
    // now and then refuses a start with an internal error before the program
    // runs at all: such a start is tried again.
    bool Start(const std::string& commandLine);
    // True once the process has ended (within timeoutMs), with its exit code.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool Running() const { return handle && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT; }
    void Kill();
    DWORD Id() const { return id; }
    HANDLE Handle() const { return handle; }

private:
    void Close();
    HANDLE handle = nullptr;
    DWORD id = 0;
};

// --- Waiting. Both keep this thread's own windows answering meanwhile. ---
// Polls condition until it holds or timeoutMs has passed; its last answer.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 10000, DWORD intervalMs = 50);
// Serves this thread's messages for the given time (for a person's pause,
// or a bounded wait before checking that something did NOT happen).
void Pump(DWORD milliseconds);

// --- Zindral. ---
// Top-level windows of the class (any if null), in z-order.
std::vector<HWND> TopLevelWindows(const char* className);
// The launcher window of a running Zindral, or null.
inline HWND FindLauncher() { return FindWindowA(LauncherClassName, nullptr); }
// Every launcher window (more than one would be a fault).
inline std::vector<HWND> FindLaunchers() { return TopLevelWindows(LauncherClassName); }
// Starts bin\zindral.exe (or another copy) and waits until its launcher
// window exists and it waits in its message loop (tray icon added, hot keys
// registered).
bool StartZindral(Process& process, DWORD timeoutMs = 15000, const std::string& exe = ZindralExe);
// Ends any Zindral left running: Exit first, then the hard way.
void EndAllZindral();
// Start of every end-to-end test: no Zindral running, no settings stored.
void ResetZindral();

// The shell's way of telling whether the launcher's icon exists: modifying
// it fails once it is gone.
bool TrayIconExists(HWND launcher);

// A command line for an entry: cmd.exe leaves a file behind, the visible
// effect of a started command.
constexpr const char* Cmd = "%WINDIR%\\system32\\cmd.exe";
inline std::string WriteMarker(const std::string& path) { return "/c echo fired> \"" + path + "\""; }
bool AppearsSoon(const std::string& path);

// --- Windows and input. ---
// A top-level window of the process, of the class (any if null); visible only
// if asked. Null if there is none.
HWND FindProcessWindow(DWORD processId, const char* className, bool visibleOnly = true);
std::vector<HWND> ProcessWindows(DWORD processId, bool visibleOnly = true);
std::string ClassOf(HWND window);
RECT WindowRect(HWND window);
inline bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }
std::string Describe(const RECT& rect);   // "left,top widthxheight"
// A visible dialog of the process with that caption, once there is one; null
// after the wait.
HWND WaitForDialog(DWORD processId, const char* caption);
// Brings the window to the foreground and checks that it stays there a
// moment: activation settles asynchronously after another process moved it.
bool MakeForeground(HWND window, DWORD timeoutMs = 10000);
// A key's press or release for SendInput, with its scan code.
INPUT KeyInput(WORD key, bool up);
// True while no window holds the combination (modifier bits as hot keys have them).
bool CombinationIsFree(UINT modifiers, UINT key);
// Holds a combination in a process of its own (hotkey_holder.exe beside
// this program) from construction until Release, as the Windows taskbar
// holds Win+digit: another program's registration of it then fails with
// ERROR_HOTKEY_ALREADY_REGISTERED.
class HeldCombination {
public:
    HeldCombination(UINT modifiers, UINT key);
    ~HeldCombination() { Release(); }
    bool Held() const { return held; }
    void Release();

private:
    Process holder;
    UINT modifiers, key;
    bool held = false;
};
// The text of a list-view cell of another process, read through memory
// allocated in that process: the message's record does not cross over.
std::string CellText(HANDLE process, HWND list, int row, int column);
// Presses key with the modifier bits held (1 Alt, 2 Ctrl, 4 Shift, 8 Win, as
// hot keys have them) and releases all. Refuses (false) unless target could
// be made the foreground window first.
bool PressChord(HWND target, UINT modifiers, UINT key);
// A plain visible window of this process to hold the focus while keys are
// pressed; destroyed with the object.
class FocusWindow {
public:
    FocusWindow();
    ~FocusWindow();
    FocusWindow(const FocusWindow&) = delete;
    FocusWindow& operator=(const FocusWindow&) = delete;
    HWND Handle() const { return window; }

private:
    HWND window = nullptr;
};

// --- The mouse and the notification area, as a person uses them. ---
// The taskbar of the virtual desktop finds the icon under the pointer only
// when the pointer moves: a move and a click in one SendInput call hit
// nothing. So every click here is a move, a person's pause, then buttons.
// Moves the pointer to point (screen coordinates) and pauses there.
bool PointAt(POINT point);
enum class Button { Left, Right };
// Clicks where the pointer is, `times` clicks in a row (2: a double click).
bool Click(Button button, int times = 1);
// The centre of cell `cell` of the notification area, counted from its right
// end. Wine's taskbar (Shell_TrayWnd, along the bottom) draws the icons
// there in square cells as tall as the bar, with no window of their own;
// the first icon added takes the rightmost cell. False without a taskbar.
bool TrayIconPoint(int cell, POINT* point);
// Icons of this process in the notification area, added on construction, so
// that an icon added later lies `count` cells from the right end.
class TrayNeighbours {
public:
    explicit TrayNeighbours(int count);
    ~TrayNeighbours();
    TrayNeighbours(const TrayNeighbours&) = delete;
    TrayNeighbours& operator=(const TrayNeighbours&) = delete;
    int Count() const { return added; }

private:
    HWND window = nullptr;
    int added = 0;
};
// Presses and releases each key in turn, once `foreground` is the foreground
// window. Waits for that but never brings it about, so that a program that
// fails to take the foreground itself is caught; false if it never came.
bool PressKeys(HWND foreground, const std::vector<WORD>& keys);

// --- Files. ---
// A path in this process's temporary folder; any file of that name is deleted.
std::string FreshTempFile(const char* name);
std::string ProgramFolder();   // this program's, with its closing backslash
bool FileExists(const std::string& path);

// ------------------------------------------------------------------------
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs, DWORD intervalMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs)
            return condition();
        Pump(intervalMs);
    }
    return true;
}

} // namespace e2e
