// The tests' driver: processes, waits, input, the tray and the launcher.
#include "tests/e2e/Driver.h"
#include <commctrl.h>
#include <shellapi.h>

namespace e2e {

const char* const ZindralExe = ZINDRAL_EXE_PATH;
const char* const DravikExe = DRAVIK_EXE_PATH;

static bool Ended(HANDLE process, DWORD timeoutMs)
{
    return WaitUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, timeoutMs, 20);
}

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
    std::string line = commandLine;   // CreateProcessA may write into it
    for (int attempt = 0;; ++attempt) {
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
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
    bool ended = handle && Ended(handle, timeoutMs);
    if (ended && exitCode && !GetExitCodeProcess(handle, exitCode))
        *exitCode = NoExitCode;
    return ended;
}

void Process::Kill()
{
    if (Running()) {
        TerminateProcess(handle, 1);
        WaitForSingleObject(handle, 5000);
    }
}

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

static BOOL CALLBACK Collect(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// A snapshot, unlike a walk with FindWindowExA, which stops at a window
// destroyed meanwhile.
std::vector<HWND> TopLevelWindows(const char* className)
{
    std::vector<HWND> all, found;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        if (!className || ClassOf(window) == className)
            found.push_back(window);
    }
    return found;
}

static DWORD OwnerOf(HWND window)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner;
}

bool StartZindral(Process& process, DWORD timeoutMs, const std::string& exe)
{
    DWORD start = GetTickCount();
    if (!process.Start("\"" + exe + "\""))
        return false;
    if (!WaitUntil([&] { return OwnerOf(FindLauncher()) == process.Id(); }, timeoutMs))
        return false;
    // The window comes before the tray icon and the hot keys: only once the
    // program waits in its message loop is it fully started.
    DWORD passed = GetTickCount() - start;
    return WaitForInputIdle(process.Handle(), passed < timeoutMs ? timeoutMs - passed : 0) == 0;
}

void EndAllZindral()
{
    for (int round = 0; round < 5; ++round) {
        HWND window = FindLauncher();
        if (!window)
            return;
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, OwnerOf(window));
        PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
        if (!process)
            continue;
        if (!Ended(process, 5000)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
}

void ResetZindral()
{
    EndAllZindral();
    testreg::DeleteSettings();
}

static NOTIFYICONDATAA IconData(HWND window, UINT id)
{
    NOTIFYICONDATAA data = {NOTIFYICONDATAA_V1_SIZE};
    data.hWnd = window;
    data.uID = id;
    return data;
}

bool TrayIconExists(HWND launcher)
{
    NOTIFYICONDATAA data = IconData(launcher, TrayMessage);
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

bool AppearsSoon(const std::string& path)
{
    return WaitUntil([&] { return FileExists(path); }, 15000);
}

std::vector<HWND> ProcessWindows(DWORD processId, bool visibleOnly)
{
    std::vector<HWND> found;
    for (HWND window : TopLevelWindows(nullptr)) {
        if (OwnerOf(window) == processId && (!visibleOnly || IsWindowVisible(window)))
            found.push_back(window);
    }
    return found;
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

HeldCombination::HeldCombination(UINT modifiers, UINT key) : modifiers(modifiers), key(key)
{
    std::string line = "\"" + ProgramFolder() + "hotkey_holder.exe\" " + std::to_string(modifiers) + " " +
                       std::to_string(key);
    held = holder.Start(line) && WaitUntil([&] { return !CombinationIsFree(modifiers, key); });
}

// The system frees a thread's hot keys when it ends.
void HeldCombination::Release()
{
    holder.Kill();
    if (held)
        WaitUntil([&] { return CombinationIsFree(modifiers, key); });
    held = false;
}

std::string CellText(HANDLE process, HWND list, int row, int column)
{
    struct Block {
        LVITEMA item;
        char text[260];
    };
    Block* remote = static_cast<Block*>(
        VirtualAllocEx(process, nullptr, sizeof(Block), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!remote)
        return "<no memory>";
    Block local = {};
    local.item.iSubItem = column;
    local.item.pszText = remote->text;
    local.item.cchTextMax = sizeof(local.text);
    WriteProcessMemory(process, remote, &local, sizeof(local), nullptr);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&remote->item));
    ReadProcessMemory(process, remote, &local, sizeof(local), nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    local.text[sizeof(local.text) - 1] = '\0';
    return local.text;
}

INPUT KeyInput(WORD key, bool up)
{
    INPUT input = {INPUT_KEYBOARD};
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// All in one call, so that no other input comes between them.
static bool Send(std::vector<INPUT>& inputs)
{
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool PressChord(HWND target, UINT modifiers, UINT key)
{
    if (!MakeForeground(target))
        return false;
    static const struct { UINT bit; WORD key; } modifierKeys[] = {
        {1, VK_MENU}, {2, VK_CONTROL}, {4, VK_SHIFT}, {8, VK_LWIN}};
    std::vector<WORD> held;
    for (const auto& modifier : modifierKeys) {
        if (modifiers & modifier.bit)
            held.push_back(modifier.key);
    }
    held.push_back(static_cast<WORD>(key));
    std::vector<INPUT> inputs;
    for (WORD down : held)
        inputs.push_back(KeyInput(down, false));
    for (auto up = held.rbegin(); up != held.rend(); ++up)
        inputs.push_back(KeyInput(*up, true));
    return Send(inputs);
}

// A static control's class needs no registration, and it leaves the keys alone.
FocusWindow::FocusWindow()
{
    window = CreateWindowExA(0, "STATIC", "Zindral test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             200, 200, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    Pump(100);
}

FocusWindow::~FocusWindow()
{
    if (window)
        DestroyWindow(window);
}

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
    INPUT down = {INPUT_MOUSE}, up = {INPUT_MOUSE};
    down.mi.dwFlags = left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
    up.mi.dwFlags = left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
    std::vector<INPUT> inputs;
    for (int i = 0; i < times; ++i)
        inputs.insert(inputs.end(), {down, up});
    return Send(inputs);
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

TrayNeighbours::TrayNeighbours(int count)
{
    window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    while (window && added < count) {
        NOTIFYICONDATAA data = IconData(window, added + 1);
        data.uFlags = NIF_ICON;
        data.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        if (!Shell_NotifyIconA(NIM_ADD, &data))
            break;
        ++added;
    }
}

TrayNeighbours::~TrayNeighbours()
{
    for (; added > 0; --added) {
        NOTIFYICONDATAA data = IconData(window, added);
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
    for (WORD key : keys)
        inputs.insert(inputs.end(), {KeyInput(key, false), KeyInput(key, true)});
    return Send(inputs);
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

std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace e2e
