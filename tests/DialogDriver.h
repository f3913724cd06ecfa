#pragma once
// Drives Zindral's modal dialogs inside the test process: the test's main
// thread shows a dialog (it runs the platform's modal loop), and a script on
// a second thread waits for windows, clicks, types and looks.
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <initializer_list>
#include <string>
#include "tests/e2e/Driver.h"

namespace ui {

// Installs the message hook on the calling thread, which becomes the UI thread.
void InstallOn(DWORD threadId);

// Runs fn on the UI thread, from inside whatever modal loop runs there, and
// waits for it. False if it did not run in time.
bool OnUiThread(const std::function<void()>& fn, DWORD timeoutMs = 10000);
// Every message posted to the UI thread before this call has been retrieved.
inline bool Sync() { return OnUiThread([] {}); }

inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000)
{
    return e2e::WaitUntil(condition, timeoutMs, 5);
}
// A visible top-level dialog of the UI thread with that caption, once there
// is one; null after the wait.
HWND WaitForDialog(const char* caption, DWORD timeoutMs = 10000);
inline bool WaitGone(HWND window, DWORD timeoutMs = 10000)
{
    return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}
// Top-level dialog windows of the UI thread (hidden ones included).
int CountDialogs();
// Every top-level window of the UI thread.
int CountWindows();

std::string Text(HWND window);
inline std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }
inline bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
// Posts the button's click to the dialog (a modal one may open from it).
inline void Click(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
inline void SetItemText(HWND dialog, int id, const char* text) { SetDlgItemTextA(dialog, id, text); }

// Makes the dialog the foreground window with the focus on control id.
bool FocusControl(HWND dialog, int id);
// Presses the keys through SendInput: down in order, up in reverse order,
// and waits until the UI thread has taken every key-up from its queue.
// A key that closes its window loses its key-up: don't wait for it then.
bool PressChord(std::initializer_list<WORD> keys, bool waitForRelease = true);
inline bool PressKey(WORD key, bool waitForRelease = true) { return PressChord({key}, waitForRelease); }
// Only the key-up, as a window receives Print Screen on Windows.
bool ReleaseKey(WORD key);

// Posts the left button's messages of a click (or a double click) at a
// point of the window's client area, as the window would receive them.
void PostClick(HWND window, POINT client, bool doubleClick);

// A control's rectangle in its dialog's client coordinates.
RECT ControlRect(HWND dialog, int id);
inline RECT ScreenRect(HWND window) { return e2e::WindowRect(window); }
SIZE WindowSize(HWND window);

// Runs show() (a modal dialog) on this thread while script() runs on a second
// thread. A script must end the dialog: one that it leaves open fails the
// test and is cancelled, so that a failing test never hangs. Returns show()'s
// result.
INT_PTR RunWithScript(const std::function<INT_PTR()>& show, const std::function<void()>& script);

// Shows the dialog object with RunWithScript; the script gets the window
// of its caption once it is visible.
template <typename D>
INT_PTR Drive(D& dialog, const char* caption, const std::function<void(HWND)>& script, HWND owner = nullptr)
{
    return RunWithScript([&] { return dialog.Show(owner); },
                         [&] {
                             HWND window = WaitForDialog(caption);
                             ASSERT_TRUE(window) << "no dialog \"" << caption << "\" opened";
                             script(window);
                         });
}

// Gives the window that outer size (its place stays) and returns the size it
// took: the window may refuse or limit a size.
SIZE Resize(HWND window, int width, int height);
// The window that has the keyboard focus on the UI thread, or null.
HWND Focus();

}  // namespace ui
