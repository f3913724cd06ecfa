// The launcher window: hot keys registered from the table, and its messages.
#include "launcher/Launcher.h"
#include "launcher/Tray.h"
#include "dialogs/Commands.h"
#include "model/Heap.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include <shellapi.h>

#if !defined(_WIN64)
static_assert(sizeof(SHELLEXECUTEINFOA) == 60, "the shell expects its first record form");
#endif

int g_dialogOpen = 0;
HWND g_dialogWindow = nullptr;
HMENU g_trayMenu = nullptr;

// 1 where entry i of the live table holds its identifier.
static BYTE g_registered[MaxHotKeys];

// One byte per combination of a key code and the four modifier bits.
enum : BYTE { HeldByZindral = 1, TakenByAnEarlierEntry = 2 };
static BYTE g_combinations[16 << 8];

// The forecast's trial registrations belong to the thread, not to the
// launcher window, under an identifier outside the table's: a key pressed in
// that instant starts nothing.
constexpr int ProbeId = FirstHotKeyId - 1;

// Virtual-key codes run from 1 to 255, and only the four modifier bits name a
// combination. Wine takes other bits and then holds the combination of the
// four: what the list shows as refused is never registered, so that the marks
// match what the live table does on either system.
static bool Registrable(const HotKey& entry)
{
    return entry.key - 1 < 0xFF && entry.modifiers < 16;
}

static BYTE& CombinationOf(const HotKey& entry)
{
    return g_combinations[entry.modifiers << 8 | entry.key];
}

// Without MOD_NOREPEAT every auto-repeat of a key held down starts the
// command again; systems before Windows 7 refuse the flag. A combination
// that is held is held with or without it.
static bool RegisterEntry(HWND window, int id, const HotKey& entry)
{
    if (!Registrable(entry))
        return false;
    if (RegisterHotKey(window, id, entry.modifiers | MOD_NOREPEAT, entry.key))
        return true;
    return GetLastError() != ERROR_HOTKEY_ALREADY_REGISTERED &&
           RegisterHotKey(window, id, entry.modifiers, entry.key);
}

// A combination that another program (or an earlier entry) holds never
// fires; the configuration dialog shows why.
void RegisterHotKeys(HWND window, const HotKeyList& list)
{
    for (LONG i = 0; i < list.count && i < MaxHotKeys; ++i)
        g_registered[i] = RegisterEntry(window, static_cast<int>(FirstHotKeyId + i), list.items[i]);
}

void UnregisterHotKeys(HWND window, const HotKeyList& list)
{
    for (LONG i = 0; i < list.count && i < MaxHotKeys; ++i) {
        if (g_registered[i])
            UnregisterHotKey(window, static_cast<int>(FirstHotKeyId + i));
        g_registered[i] = 0;
    }
}

void BeginHotKeyForecast()
{
    for (BYTE& combination : g_combinations)
        combination = 0;
    for (LONG i = 0; i < g_hotKeys.count && i < MaxHotKeys; ++i) {
        if (g_registered[i])
            CombinationOf(g_hotKeys.items[i]) = HeldByZindral;
    }
}

void RegisterFailedHotKeys(HWND window)
{
    // An entry whose combination an earlier entry holds would only be
    // refused again: no call for it.
    BeginHotKeyForecast();
    for (LONG i = 0; i < g_hotKeys.count && i < MaxHotKeys; ++i) {
        const HotKey& entry = g_hotKeys.items[i];
        if (g_registered[i] || !Registrable(entry) || CombinationOf(entry))
            continue;
        g_registered[i] = RegisterEntry(window, static_cast<int>(FirstHotKeyId + i), entry);
        CombinationOf(entry) = g_registered[i];
    }
}

HotKeyUse ForecastHotKey(const HotKey& entry)
{
    if (!Registrable(entry))
        return HotKeyRefused;
    BYTE& combination = CombinationOf(entry);
    if (combination & TakenByAnEarlierEntry)
        return HotKeyInUse;
    // OK releases Zindral's own hot keys before it registers the new table.
    bool ours = combination & HeldByZindral;
    combination |= TakenByAnEarlierEntry;
    if (ours)
        return HotKeyFree;
    if (RegisterEntry(nullptr, ProbeId, entry)) {
        UnregisterHotKey(nullptr, ProbeId);
        return HotKeyFree;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED ? HotKeyInUse : HotKeyRefused;
}

// The shell expands references in the file and the directory only, so the
// parameters are expanded here. A reference to an undefined variable stays
// as written, as the shell leaves it: a URL's "%20" survives. Null when
// there is nothing to expand or the heap fails; the caller frees the block.
static char* ExpandParameters(const char* parameters)
{
    if (!parameters)
        return nullptr;
    DWORD length = ExpandEnvironmentStringsA(parameters, nullptr, 0);
    // The 8-bit form wants one character more than it reports.
    char* expanded = static_cast<char*>(AllocateBlock(length + 1));
    if (!expanded)
        return nullptr;
    DWORD written = ExpandEnvironmentStringsA(parameters, expanded, length + 1);
    if (written == 0 || written > length) {
        FreeBlock(expanded);
        return nullptr;
    }
    return expanded;
}

// Hands the entry to the shell; a failure is the shell's to report.
static void LaunchEntry(const HotKey& entry)
{
    char* parameters = ExpandParameters(entry.parameters.Text());
    SHELLEXECUTEINFOA info = {sizeof(info)};
    info.fMask = SEE_MASK_DOENVSUBST;
    info.hwnd = nullptr;
    info.lpVerb = entry.verb.Text();
    info.lpFile = entry.commandLine.Text();
    info.lpParameters = parameters ? parameters : entry.parameters.Text();
    info.lpDirectory = entry.workingDirectory.Text();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExA(&info);
    FreeBlock(parameters);
}

// Identifiers outside the table, among them the platform's own negative
// ones, wrap around to large unsigned values and are ignored.
static void OnHotKey(WPARAM id)
{
    WPARAM index = id - FirstHotKeyId;
    if (id >= FirstHotKeyId && index < static_cast<WPARAM>(g_hotKeys.count)) {
        // The shell's own error box runs a message loop, in which the tray
        // can open Configuration, whose OK frees the table's texts: the copy
        // keeps them alive.
        HotKey entry(g_hotKeys.items[index]);
        LaunchEntry(entry);
    }
}

static bool OnCommand(HWND window, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDM_EXIT:
        // Not handled below, so the default handling destroys the window.
        SendMessageA(window, WM_CLOSE, 0, 0);
        return true;
    case IDM_ABOUT:
        AboutCommand();
        return true;
    case IDM_CONFIGURATION:
        ConfigurationCommand(window);
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK LauncherWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        if (OnCommand(window, wParam))
            return 0;
        break;
    case WM_HOTKEY:
        OnHotKey(wParam);
        return 0;
    case TrayMessage:
        TrayCallback(window, wParam, lParam);
        return 0;
    default:
        if (AddTrayIconAgain(window, message))
            return 0;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
