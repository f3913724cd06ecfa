#include "tests/e2e/Driver.h"
#include <shellapi.h>

namespace e2e {

const char* const ZindralExe = ZINDRAL_EXE_PATH;
const char* const DravikExe = DRAVIK_EXE_PATH;

static const char LauncherClass[] = "ZindralClass";

// ---------------------------------------------------------------- Process

Process::~Process() { Close(); }

void Process::Close()
{
    if (handle)
        CloseHandle(handle);
    handle = nullptr;
    id = 0;
}

bool Process::Start(const std::string& commandLine)
{
    Close();
    STARTUPINFOA startup = {sizeof(startup)};
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    for (int attempt = 0;; ++attempt) {
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info))
            break;
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 2)
            return false;
        Pump(200);
    }
    CloseHandle(info.hThread);
    handle = info.hProcess;
    id = info.dwProcessId;
    return true;
}

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!handle)
        return false;
    bool ended = WaitUntil([&] { return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; },
                           timeoutMs, 20);
    if (ended && exitCode && !GetExitCodeProcess(handle, exitCode))
        *exitCode = NoExitCode;
    return ended;
}

bool Process::Running() const
{
    return handle && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
}

void Process::Kill()
{
    if (Running()) {
        TerminateProcess(handle, 1);
        WaitForSingleObject(handle, 5000);
    }
}

// ---------------------------------------------------------------- Waiting

void Pump(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD passed = GetTickCount() - start;
        if (passed >= milliseconds)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_ALLINPUT);
    }
}

// ---------------------------------------------------------------- Zindral

std::vector<HWND> FindLaunchers()
{
    std::vector<HWND> found;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, LauncherClass, nullptr)) != nullptr)
        found.push_back(window);
    return found;
}

HWND FindLauncher()
{
    return FindWindowA(LauncherClass, nullptr);
}

bool StartZindral(Process& process, DWORD timeoutMs, const std::string& exe)
{
    DWORD start = GetTickCount();
    if (!process.Start("\"" + exe + "\""))
        return false;
    bool windowFound = WaitUntil([&] {
        HWND window = FindLauncher();
        DWORD owner = 0;
        if (window)
            GetWindowThreadProcessId(window, &owner);
        return owner == process.Id();
    }, timeoutMs);
    if (!windowFound)
        return false;
    // The window comes before the tray icon and the hot keys: only once the
    // program waits in its message loop is it fully started.
    DWORD passed = GetTickCount() - start;
    return WaitForInputIdle(process.Handle(), passed < timeoutMs ? timeoutMs - passed : 0) == 0;
}

static void EndLauncher(HWND window)
{
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    PostMessageA(window, WM_COMMAND, ExitCommand, 0);
    if (!process)
        return;
    bool ended = WaitUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, 5000);
    if (!ended) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
}

void EndAllZindral()
{
    for (int round = 0; round < 5; ++round) {
        HWND window = FindLauncher();
        if (!window)
            return;
        EndLauncher(window);
    }
}

void ResetZindral()
{
    EndAllZindral();
    testreg::DeleteSettings();
}

void SeedApplicationKey()
{
    testreg::CreateKey(testreg::AppKey);
}

bool TrayIconExists(HWND launcher)
{
    NOTIFYICONDATAA data = {NOTIFYICONDATAA_V1_SIZE};
    data.hWnd = launcher;
    data.uID = TrayMessage;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

const char* const Cmd = "%WINDIR%\\system32\\cmd.exe";

std::string WriteMarker(const std::string& path)
{
    return "/c echo fired> \"" + path + "\"";
}

bool AppearsSoon(const std::string& path)
{
    return WaitUntil([&] { return FileExists(path); }, 15000);
}

// ---------------------------------------------------------------- Windows

struct WindowSearch {
    DWORD processId;
    bool visibleOnly;
    std::vector<HWND> found;
};

static BOOL CALLBACK CollectWindow(HWND window, LPARAM data)
{
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && (!search.visibleOnly || IsWindowVisible(window)))
        search.found.push_back(window);
    return TRUE;
}

std::vector<HWND> ProcessWindows(DWORD processId, bool visibleOnly)
{
    WindowSearch search = {processId, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof(name));
    return name;
}

HWND FindProcessWindow(DWORD processId, const char* className, bool visibleOnly)
{
    for (HWND window : ProcessWindows(processId, visibleOnly)) {
        if (!className || ClassOf(window) == className)
            return window;
    }
    return nullptr;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

// WM_GETTEXT rather than GetWindowTextA, which gives only the caption that
// another process's window was created with.
HWND WaitForDialog(DWORD processId, const char* caption)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : ProcessWindows(processId)) {
            char text[256] = "";
            SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
            if (ClassOf(window) == "#32770" && lstrcmpA(text, caption) == 0)
                found = window;
        }
        return found != nullptr;
    });
    return found;
}

bool MakeForeground(HWND window, DWORD timeoutMs)
{
    return WaitUntil([window] {
        SetForegroundWindow(window);
        if (!WaitUntil([window] { return GetForegroundWindow() == window; }, 1000, 20))
            return false;
        Pump(300);
        return GetForegroundWindow() == window;
    }, timeoutMs, 20);
}

bool CombinationIsFree(UINT modifiers, UINT key)
{
    if (!RegisterHotKey(nullptr, 0x2000, modifiers, key))
        return false;
    UnregisterHotKey(nullptr, 0x2000);
    return true;
}

INPUT KeyInput(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

bool PressChord(HWND target, UINT modifiers, UINT key)
{
    if (!MakeForeground(target))
        return false;
    static const struct { UINT bit; WORD key; } held[] = {
        {1, VK_MENU}, {2, VK_CONTROL}, {4, VK_SHIFT}, {8, VK_LWIN}};
    std::vector<INPUT> inputs;
    for (const auto& modifier : held) {
        if (modifiers & modifier.bit)
            inputs.push_back(KeyInput(modifier.key, false));
    }
    inputs.push_back(KeyInput(static_cast<WORD>(key), false));
    inputs.push_back(KeyInput(static_cast<WORD>(key), true));
    for (int i = 3; i >= 0; --i) {
        if (modifiers & held[i].bit)
            inputs.push_back(KeyInput(held[i].key, true));
    }
    UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size();
}

static LRESULT CALLBACK FocusWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

FocusWindow::FocusWindow()
{
    static const char className[] = "ZindralTestFocus";
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FocusWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);   // fails harmlessly when already registered
    window = CreateWindowExA(0, className, "Zindral test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             200, 200, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    Pump(100);
}

FocusWindow::~FocusWindow()
{
    if (window)
        DestroyWindow(window);
}

// ---------------------------------------------------------------- Mouse and tray

// SendInput's absolute coordinates: 0 to 65535 across the screen.
static LONG Absolute(LONG coordinate, int extent)
{
    return (coordinate * 65536 + extent - 1) / extent;
}

bool PointAt(POINT point)
{
    INPUT input = {INPUT_MOUSE};
    input.mi.dx = Absolute(point.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = Absolute(point.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (SendInput(1, &input, sizeof(input)) != 1)
        return false;
    bool arrived = WaitUntil([&] {
        POINT now = {};
        GetCursorPos(&now);
        return now.x == point.x && now.y == point.y;
    }, 5000, 20);
    // A person's pause: the taskbar looks for the icon under the pointer now.
    Pump(300);
    return arrived;
}

bool Click(Button button, int times)
{
    bool left = button == Button::Left;
    std::vector<INPUT> inputs;
    for (int i = 0; i < times; ++i) {
        for (DWORD flag : {left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN,
                           left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP}) {
            INPUT input = {INPUT_MOUSE};
            input.mi.dwFlags = flag;
            inputs.push_back(input);
        }
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool TrayIconPoint(int cell, POINT* point)
{
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    RECT bar = {};
    if (!taskbar || !IsWindowVisible(taskbar) || !GetWindowRect(taskbar, &bar))
        return false;
    LONG size = bar.bottom - bar.top;
    point->x = bar.right - size / 2 - cell * size;
    point->y = bar.top + size / 2;
    return size > 0;
}

static NOTIFYICONDATAA NeighbourIcon(HWND window, int index)
{
    NOTIFYICONDATAA data = {NOTIFYICONDATAA_V1_SIZE};
    data.hWnd = window;
    data.uID = static_cast<UINT>(index + 1);
    return data;
}

TrayNeighbours::TrayNeighbours(int count)
{
    window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    while (window && added < count) {
        NOTIFYICONDATAA data = NeighbourIcon(window, added);
        data.uFlags = NIF_ICON;
        data.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        if (!Shell_NotifyIconA(NIM_ADD, &data))
            break;
        ++added;
    }
}

TrayNeighbours::~TrayNeighbours()
{
    while (added > 0) {
        NOTIFYICONDATAA data = NeighbourIcon(window, --added);
        Shell_NotifyIconA(NIM_DELETE, &data);
    }
    if (window)
        DestroyWindow(window);
}

bool PressKeys(HWND foreground, const std::vector<WORD>& keys)
{
    if (!WaitUntil([&] { return GetForegroundWindow() == foreground; }, 5000))
        return false;
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        inputs.push_back(KeyInput(key, false));
        inputs.push_back(KeyInput(key, true));
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// ---------------------------------------------------------------- Files

std::string FreshTempFile(const char* name)
{
    char folder[MAX_PATH] = "";
    GetTempPathA(sizeof(folder), folder);
    std::string path = std::string(folder) + name;
    DeleteFileA(path.c_str());
    return path;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace e2e
