// Runs modal dialogs on a thread of their own and scripts them from the test's.
#include "DialogDriver.h"
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace ui {
namespace {

constexpr UINT RunMessage = WM_APP + 0x3A1;

DWORD g_uiThread = 0;
std::atomic<long> g_keyUps{0};

// Pending, then either running (and done) or abandoned by a waiter that
// gave up; an abandoned request never runs, a running one is waited for.
enum RequestState { Pending, Running, Abandoned };
struct RunRequest {
    std::function<void()> fn;
    std::atomic<int> state{Pending};
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~RunRequest() { CloseHandle(done); }
};

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        if (msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP) {
            ++g_keyUps;
        } else if (msg->hwnd == nullptr && msg->message == RunMessage) {
            std::shared_ptr<RunRequest>* posted = reinterpret_cast<std::shared_ptr<RunRequest>*>(msg->lParam);
            RunRequest& request = **posted;
            int pending = Pending;
            if (request.state.compare_exchange_strong(pending, Running)) {
                request.fn();
                SetEvent(request.done);
            }
            delete posted;
            msg->message = WM_NULL;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(g_uiThread, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> ThreadDialogs(bool visibleOnly)
{
    std::vector<HWND> dialogs;
    for (HWND window : ThreadWindows()) {
        if (e2e::ClassOf(window) == "#32770" && (!visibleOnly || IsWindowVisible(window)))
            dialogs.push_back(window);
    }
    return dialogs;
}

}  // namespace

void InstallOn(DWORD threadId)
{
    g_uiThread = threadId;
    SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, threadId);
}

bool OnUiThread(const std::function<void()>& fn, DWORD timeoutMs)
{
    auto request = std::make_shared<RunRequest>();
    request->fn = fn;
    auto* posted = new std::shared_ptr<RunRequest>(request);
    if (!PostThreadMessageA(g_uiThread, RunMessage, 0, reinterpret_cast<LPARAM>(posted))) {
        delete posted;
        return false;
    }
    if (WaitForSingleObject(request->done, timeoutMs) == WAIT_OBJECT_0)
        return true;
    int pending = Pending;
    if (request->state.compare_exchange_strong(pending, Abandoned))
        return false;
    WaitForSingleObject(request->done, INFINITE);
    return true;
}

HWND WaitForDialog(const char* caption, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : ThreadDialogs(true)) {
            if (!found && Text(window) == caption)
                found = window;
        }
        return found != nullptr;
    }, timeoutMs);
    return found;
}

int CountDialogs() { return static_cast<int>(ThreadDialogs(false).size()); }
int CountWindows() { return static_cast<int>(ThreadWindows().size()); }

std::string Text(HWND window)
{
    char text[2048] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

bool FocusControl(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return e2e::MakeForeground(dialog) && WaitUntil([&] {
        GUITHREADINFO info = {sizeof(info)};
        GetGUIThreadInfo(g_uiThread, &info);
        if (info.hwndFocus != control)
            PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        Sync();
        GetGUIThreadInfo(g_uiThread, &info);
        return GetForegroundWindow() == dialog && info.hwndFocus == control;
    });
}

bool PressChord(std::initializer_list<WORD> keys, bool waitForRelease)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys)
        inputs.push_back(e2e::KeyInput(key, false));
    for (auto key = keys.end(); key != keys.begin();)
        inputs.push_back(e2e::KeyInput(*--key, true));
    long expected = g_keyUps + static_cast<long>(keys.size());
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        return false;
    return !waitForRelease || WaitUntil([&] { return g_keyUps >= expected; });
}

bool ReleaseKey(WORD key)
{
    INPUT input = e2e::KeyInput(key, true);
    long expected = g_keyUps + 1;
    return SendInput(1, &input, sizeof(INPUT)) == 1 && WaitUntil([&] { return g_keyUps >= expected; });
}

void PostClick(HWND window, POINT client, bool doubleClick)
{
    LPARAM where = MAKELPARAM(client.x, client.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(window, WM_LBUTTONUP, 0, where);
    if (doubleClick) {
        PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        PostMessageA(window, WM_LBUTTONUP, 0, where);
    }
}

RECT ControlRect(HWND dialog, int id)
{
    RECT rect = ScreenRect(GetDlgItem(dialog, id));
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE WindowSize(HWND window)
{
    RECT rect = ScreenRect(window);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

INT_PTR RunWithScript(const std::function<INT_PTR()>& show, const std::function<void()>& script)
{
    std::atomic<bool> shown{false};
    std::thread driver([&] {
        script();
        // The script ends its dialog itself. One that it leaves open fails
        // the test, and is cancelled so that the test goes on.
        if (WaitUntil([&] { return shown.load(); }))
            return;
        ADD_FAILURE() << "the script left the dialog open";
        while (!shown) {
            for (HWND window : ThreadDialogs(false))
                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            Sleep(20);
        }
    });
    INT_PTR result = show();
    // Key messages of a key that ended the dialog would reach the next one.
    MSG stale;
    while (PeekMessageA(&stale, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    shown = true;
    driver.join();
    return result;
}

SIZE Resize(HWND window, int width, int height)
{
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    return WindowSize(window);
}

HWND Focus()
{
    GUITHREADINFO info = {sizeof(info)};
    return GetGUIThreadInfo(g_uiThread, &info) ? info.hwndFocus : nullptr;
}

}  // namespace ui
