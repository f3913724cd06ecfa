// Runs the built dravik.exe against real windows inside the Wine virtual
// desktop: Wine's notepad (a sizeable window of another process) and a
// fixed-frame dialog of this process.
#include <windows.h>
#include <gtest/gtest.h>
#include <cstddef>
#include <string>
#include <vector>
#include "tests/e2e/Driver.h"

using namespace e2e;

namespace {

// Starts a command line as given (the program path may be unquoted), waits
// for the process while pumping messages, and returns its exit code.
DWORD RunCommandLine(const std::string& commandLine)
{
    Process process;
    if (!process.Start(commandLine)) {
        ADD_FAILURE() << "cannot start " << commandLine << ", error " << GetLastError();
        return NoExitCode;
    }
    DWORD code = NoExitCode;
    if (!process.WaitForExit(30000, &code)) {
        ADD_FAILURE() << commandLine << " did not end";
        process.Kill();
    }
    return code;
}

DWORD RunDravik(const std::string& arguments)
{
    std::string commandLine = std::string("\"") + DravikExe + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    return RunCommandLine(commandLine);
}

RECT Rect(int left, int top, int width, int height)
{
    return {left, top, left + width, top + height};
}

class Dravik : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!notepad_.Start("C:\\windows\\notepad.exe"))
            return;
        WaitForInputIdle(notepad_.Handle(), 20000);
        WaitUntil([] { return (window_ = FindProcessWindow(notepad_.Id(), "Notepad")) != nullptr; }, 20000);
    }

    static void TearDownTestSuite()
    {
        notepad_.Kill();
        window_ = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(nullptr, window_) << "notepad did not open a window";
    }

    // Puts notepad restored at a known rectangle and in the foreground.
    void Place(const RECT& rect)
    {
        // A window minimised from maximised comes back maximised first.
        ASSERT_TRUE(WaitUntil([] {
            if (IsZoomed(window_) || IsIconic(window_))
                ShowWindow(window_, SW_RESTORE);
            return !IsZoomed(window_) && !IsIconic(window_);
        }));
        SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER);
        ASSERT_TRUE(WaitUntil([&rect] { return SameRect(WindowRect(window_), rect); }))
            << "notepad is at " << Describe(WindowRect(window_));
        ASSERT_TRUE(MakeForeground(window_)) << "notepad does not become the foreground window";
    }

    // Runs dravik and expects the foreground window to end up at expected.
    void ExpectResized(const std::string& arguments, const RECT& expected)
    {
        EXPECT_EQ(0u, RunDravik(arguments)) << arguments;
        EXPECT_TRUE(WaitUntil([&expected] { return SameRect(WindowRect(window_), expected); }))
            << "\"" << arguments << "\" left notepad at " << Describe(WindowRect(window_))
            << ", expected " << Describe(expected);
        EXPECT_FALSE(IsZoomed(window_));
        EXPECT_FALSE(IsIconic(window_));
    }

    // Runs dravik and expects the window to stay as it is.
    void ExpectUntouched(HWND window, const std::string& arguments)
    {
        RECT before = WindowRect(window);
        BOOL zoomed = IsZoomed(window);
        EXPECT_EQ(0u, RunDravik(arguments)) << arguments;
        Pump(200);
        EXPECT_TRUE(SameRect(WindowRect(window), before))
            << "\"" << arguments << "\" moved the window from " << Describe(before) << " to "
            << Describe(WindowRect(window));
        EXPECT_EQ(zoomed, IsZoomed(window)) << arguments;
    }

    static Process notepad_;
    static HWND window_;
};

Process Dravik::notepad_;
HWND Dravik::window_ = nullptr;

TEST_F(Dravik, GivesTheSizeAndKeepsTheTopLeftCorner)
{
    ASSERT_NO_FATAL_FAILURE(Place(Rect(100, 50, 500, 400)));
    ExpectResized("1024 768", Rect(100, 50, 1024, 768));

    ASSERT_NO_FATAL_FAILURE(Place(Rect(100, 50, 500, 400)));
    ExpectResized("  800    600", Rect(100, 50, 800, 600));

    ASSERT_NO_FATAL_FAILURE(Place(Rect(30, 70, 500, 400)));
    ExpectResized("640 480 and some words", Rect(30, 70, 640, 480));
}

TEST_F(Dravik, MalformedOrMissingNumbersDoNothing)
{
    ASSERT_NO_FATAL_FAILURE(Place(Rect(120, 60, 500, 400)));
    for (const char* arguments : {"640x480", "800,600", "800\t600", "-800 600", "800 -600",
                                  "0 600", "800 0", "800", ""}) {
        ExpectUntouched(window_, arguments);
        ASSERT_TRUE(MakeForeground(window_));
    }
}

TEST_F(Dravik, NumbersThatOverflowDoNothing)
{
    ASSERT_NO_FATAL_FAILURE(Place(Rect(100, 50, 500, 400)));
    for (const char* arguments : {"2147483648 600", "800 4294967296", "99999999999999999999 600",
                                  // the right or bottom edge would pass 2^31 - 1
                                  "2147483600 600", "800 2147483600", "2147483647 2147483647"}) {
        ExpectUntouched(window_, arguments);
        ASSERT_TRUE(MakeForeground(window_));
    }
}

TEST_F(Dravik, RestoresAMaximisedOrMinimisedWindowBeforeSizingIt)
{
    ASSERT_NO_FATAL_FAILURE(Place(Rect(100, 50, 500, 400)));
    ShowWindow(window_, SW_MAXIMIZE);
    ASSERT_TRUE(WaitUntil([] { return IsZoomed(window_) != FALSE; }));
    ASSERT_TRUE(MakeForeground(window_));
    ExpectResized("640 480", Rect(100, 50, 640, 480));

    // Minimised this way the window stays the foreground window. One minimised
    // from maximised comes back maximised from a single restore.
    for (bool maximisedFirst : {false, true}) {
        SCOPED_TRACE(maximisedFirst ? "minimised from maximised" : "minimised");
        ASSERT_NO_FATAL_FAILURE(Place(Rect(100, 50, 500, 400)));
        if (maximisedFirst) {
            ShowWindow(window_, SW_MAXIMIZE);
            ASSERT_TRUE(WaitUntil([] { return IsZoomed(window_) != FALSE; }));
        }
        ShowWindow(window_, SW_SHOWMINIMIZED);
        ASSERT_TRUE(WaitUntil([] { return IsIconic(window_) && GetForegroundWindow() == window_; }));
        ExpectResized("640 480", Rect(100, 50, 640, 480));
    }
}

INT_PTR CALLBACK FixedDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

TEST_F(Dravik, LeavesAFixedFrameDialogAlone)
{
    struct {
        DLGTEMPLATE header;   // style, extended style, no controls, x, y, cx, cy
        WORD menu, windowClass, title;
    } dialogTemplate = {{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE, 0, 0, 40, 30, 160, 90}};
    static_assert(offsetof(decltype(dialogTemplate), menu) == 18, "dialog template layout");
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &dialogTemplate.header,
                                             nullptr, FixedDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    ASSERT_EQ(0, GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME);
    ASSERT_TRUE(MakeForeground(dialog)) << "the dialog does not become the foreground window";
    ExpectUntouched(dialog, "800 600");
    DestroyWindow(dialog);
    Pump(100);
}

// Characters 128 to 255 are part of an unquoted program path, not blanks
// that end it: otherwise the tail would begin inside the path.
TEST_F(Dravik, UnquotedPathWithCharactersAbove127)
{
    const wchar_t wideName[] = L"dravik-Z\u00fcrich";
    char name[64] = "";
    BOOL lossy = FALSE;
    ASSERT_LT(0, WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wideName, -1, name,
                                     sizeof(name), nullptr, &lossy));
    ASSERT_FALSE(lossy) << "code page " << GetACP() << " has no u with diaeresis";

    std::string folder = ProgramFolder();
    ASSERT_LT(0u, folder.size()) << "no path of the test program";
    folder += name;
    ASSERT_EQ(std::string::npos, folder.find(' ')) << folder;
    std::string copy = folder + "\\dravik.exe";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(DravikExe, copy.c_str(), FALSE)) << copy;

    ASSERT_NO_FATAL_FAILURE(Place(Rect(100, 50, 500, 400)));
    EXPECT_EQ(0u, RunCommandLine(copy + " 800 600"));
    EXPECT_TRUE(WaitUntil([] { return SameRect(WindowRect(window_), Rect(100, 50, 800, 600)); }))
        << "notepad is at " << Describe(WindowRect(window_));

    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
