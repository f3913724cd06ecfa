#pragma once
// End-to-end test driver: starts the programs of this build tree inside the
// test prefix's Wine virtual desktop and works them as a person would: keys
// pressed with SendInput, messages posted the way the shell posts them,
// effects polled for with a deadline. Settings are seeded and read with
// testreg (tests/TestRegistry.h).
//
// Every end-to-end test shares one desktop, the global hot keys and the
// single-instance window: mark it SERIAL and begin it with ResetZindral().
#include <windows.h>
#include <string>
#include <vector>
#include "tests/TestRegistry.h"

namespace e2e {

// The build tree's programs as Windows paths (Z:\...\bin\NAME.exe).
extern const char* const ZindralExe;
extern const char* const DravikExe;

// Numbers of Zindral's outside interface.
constexpr UINT TrayMessage = 9910;       // tray callback message and icon identifier
constexpr UINT FirstHotKeyId = 512;      // identifier of table entry 0
constexpr WORD ExitCommand = 40001, AboutCommand = 40002, ConfigurationCommand = 40003;
constexpr DWORD NoExitCode = 0xFFFFFFFF;

// One started process; the object owns its handle.
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // commandLine is passed as it is; quote paths with blanks yourself.
    bool Start(const std::string& commandLine);
    // True once the process has ended (within timeoutMs), with its exit code.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool Running() const;
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
// The launcher window of a running Zindral, or null.
HWND FindLauncher();
// Every top-level window of that class (more than one would be a fault).
std::vector<HWND> FindLaunchers();
// Starts bin\zindral.exe and waits until its launcher window exists and it
// waits in its message loop (tray icon added, hot keys registered).
bool StartZindral(Process& process, DWORD timeoutMs = 15000);
// Ends any Zindral left running: Exit first, then the hard way.
void EndAllZindral();
// Start of every end-to-end test: no Zindral running, no settings stored.
void ResetZindral();
// The application key with nothing below it, so that no first-run defaults apply.
void SeedApplicationKey();

// --- Windows and input. ---
// A top-level window of the process, of the class (any if null); visible only
// if asked. Null if there is none.
HWND FindProcessWindow(DWORD processId, const char* className, bool visibleOnly = true);
std::vector<HWND> ProcessWindows(DWORD processId, bool visibleOnly = true);
std::string ClassOf(HWND window);
// Brings the window to the foreground and checks that it got there.
bool MakeForeground(HWND window, DWORD timeoutMs = 5000);
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

// --- Files. ---
// A path in this process's temporary folder; any file of that name is deleted.
std::string FreshTempFile(const char* name);
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
