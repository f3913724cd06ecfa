// Drives one run of the real 32-bit Zindral from outside, as a user would:
// first start, Win+6 on a sizeable window, the two dialogs, Exit.
//
//   smoke-driver ZINDRAL.EXE
//
// It is a 64-bit program on purpose: in a mixed prefix it starts at native
// speed, while the deliverables it drives run emulated (seconds per process
// start on an idle machine, many times that on a loaded one). Prints one line per step; exit code 0 when all passed.
#include <windows.h>
#include <commctrl.h>
#include <stdarg.h>
#include <stdio.h>
#include "tests/e2e/Driver.h"

namespace {

using namespace e2e;

// The emulated programs are far too slow for fixed sleeps or the end-to-end
// tests' deadlines.
const DWORD StartDeadline = 600000;  // an emulated process start, loaded machine and all
const DWORD StepDeadline = 300000;
const UINT Win = 8;

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

class Scenario {
public:
    explicit Scenario(const char* zindralPath) : m_zindralPath(zindralPath) {}
    // Whatever happened, nothing of the run is left behind.
    ~Scenario()
    {
        m_notepad.Kill();
        m_zindral.Kill();
    }

    bool Run()
    {
        return StartZindral() && StartNotepad() && ResizeWithWin6() &&
               OpenAndClose(IDM_CONFIGURATION, "Hot Key Configuration", IDC_LIST) &&
               OpenAndClose(IDM_ABOUT, "About", IDC_WEB_LINK) && ExitZindral();
    }

private:
    bool StartZindral()
    {
        if (FindLauncher())
            return Fail("a Zindral already runs before the test");
        if (!m_zindral.Start("\"" + std::string(m_zindralPath) + "\""))
            return Fail("zindral.exe could not be started");
        Say("started %s (first run, dravik.exe beside it)", m_zindralPath);
        bool up = WaitUntil([this] {
            m_launcher = FindLauncher();
            return m_launcher != nullptr || !m_zindral.Running();
        }, StartDeadline);
        if (!up || !m_launcher)
            return Fail("no window of class ZindralClass appeared");
        Say("launcher window found");
        // The icon comes after the window; Exit's check below needs it there.
        if (!WaitUntil([this] { return TrayIconExists(m_launcher); }, StepDeadline))
            return Fail("the tray holds no icon of Zindral's");
        Say("tray icon found");
        return true;
    }

    bool StartNotepad()
    {
        if (!m_notepad.Start("C:\\windows\\notepad.exe"))
            return Fail("notepad could not be started");
        WaitForInputIdle(m_notepad.Handle(), StepDeadline);
        if (!WaitUntil([this] {
                m_notepadWindow = FindProcessWindow(m_notepad.Id(), "Notepad");
                return m_notepadWindow != nullptr;
            }, StepDeadline))
            return Fail("notepad's window did not appear");
        ShowWindow(m_notepadWindow, SW_RESTORE);
        SetWindowPos(m_notepadWindow, nullptr, 100, 50, 500, 400, SWP_NOZORDER);
        Say("notepad at %s", Describe(WindowRect(m_notepadWindow)).c_str());
        return true;
    }

    bool ResizeWithWin6()
    {
        RECT before = WindowRect(m_notepadWindow);
        if (!PressChord(m_notepadWindow, Win, '6'))
            return Fail("notepad did not become the foreground window, or Win+6 was not sent");
        Say("pressed Win+6 with notepad in the foreground");
        RECT rect = {};
        bool sized = WaitUntil([this, &rect] {
            rect = WindowRect(m_notepadWindow);
            return rect.right - rect.left == 640 && rect.bottom - rect.top == 480;
        }, StartDeadline);
        Say("notepad at %s", Describe(rect).c_str());
        if (!sized)
            return Fail("notepad did not become 640x480");
        if (rect.left != before.left || rect.top != before.top)
            return Fail("the top-left corner moved");
        return true;
    }

    bool CheckDefaultTable(HWND dialog)
    {
        HWND list = GetDlgItem(dialog, IDC_LIST);
        LRESULT count = list ? SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) : -1;
        Say("configuration list holds %d entries", static_cast<int>(count));
        // dravik.exe alone lies beside Zindral: its three defaults.
        return count == 3 || Fail("expected the three default entries for dravik.exe");
    }

    // Opens a dialog through the tray's menu command, checks it, closes it with
    // Cancel and sees that Zindral is still there.
    bool OpenAndClose(WORD command, const char* title, int expectedControl)
    {
        // Posted: the dialog runs modal inside Zindral's window procedure.
        PostMessageA(m_launcher, WM_COMMAND, command, 0);
        HWND dialog = nullptr;
        if (!WaitUntil([this, &dialog] {
                dialog = FindProcessWindow(m_zindral.Id(), "#32770");
                return dialog != nullptr;
            }, StepDeadline))
            return Fail("the dialog did not open");
        char caption[128] = "";
        GetWindowTextA(dialog, caption, sizeof(caption));
        Say("dialog \"%s\" open, %s", caption, Describe(WindowRect(dialog)).c_str());
        if (lstrcmpA(caption, title) != 0)
            return Fail("unexpected dialog caption");
        if (!GetDlgItem(dialog, expectedControl))
            return Fail("the dialog lacks its main control");
        if (command == IDM_CONFIGURATION && !CheckDefaultTable(dialog))
            return false;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        if (!WaitUntil([dialog] { return !IsWindow(dialog); }, StepDeadline))
            return Fail("the dialog did not close");
        Say("dialog closed");
        if (!m_zindral.Running())
            return Fail("Zindral ended with the dialog");
        return true;
    }

    // When qemu kills a 32-bit process, the system takes its window and icon
    // away with it, and its exit code reads 0: neither proves a clean Exit. Only
    // the program itself removes both while it still runs, so the driver must
    // see them gone before the process ends.
    bool ExitZindral()
    {
        PostMessageA(m_launcher, WM_COMMAND, IDM_EXIT, 0);
        Say("sent Exit");
        DWORD begin = GetTickCount();
        DWORD releasedAt = 0;
        bool released = false;
        for (;;) {
            bool gone = !IsWindow(m_launcher) && !TrayIconExists(m_launcher);
            // Asked after looking: a process that runs now ran when we looked.
            if (!m_zindral.Running())
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
        GetExitCodeProcess(m_zindral.Handle(), &code);
        Say("Zindral ended with code %lu", code);
        if (!released)
            return Fail("the window and the icon went only with the process: no clean Exit");
        Say("the process ended %lu ms after its window and icon", GetTickCount() - releasedAt);
        return code == 0 || Fail("exit code is not 0");
    }

    const char* m_zindralPath;
    Process m_zindral;
    Process m_notepad;
    HWND m_launcher = nullptr;
    HWND m_notepadWindow = nullptr;
};

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
