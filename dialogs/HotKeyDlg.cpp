// The edit dialog of one hot key: key capture, fields and the file browser.
#include "dialogs/HotKeyDlg.h"
#include <stddef.h>
#include <commdlg.h>
#include <cderr.h>
#include "launcher/Startup.h"
#include "model/KeyNames.h"
#include "resources/resource.h"
#include "settings/Settings.h"

// OPENFILENAME_SIZE_VERSION_400A, the older form that every version of the
// file dialog accepts, as a constant expression (the macro is not one).
constexpr DWORD OpenFileNameOlderSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
#if !defined(_WIN64)
static_assert(OpenFileNameOlderSize == 76, "older OPENFILENAMEA is 76 bytes");
#endif

namespace {

const char SettingsName[] = "HotKeyDlg";
constexpr int FileBufferSize = 1024;

struct ModifierBox {
    int controlId;
    UINT bit;
};
const ModifierBox ModifierBoxes[] = {
    {IDC_WIN, HotKeyWin},
    {IDC_SHIFT, HotKeyShift},
    {IDC_CTRL, HotKeyCtrl},
    {IDC_ALT, HotKeyAlt},
};

struct TextField {
    int controlId;
    SharedString HotKey::*text;
};
const TextField TextFields[] = {
    {IDC_COMMAND_LINE, &HotKey::commandLine},
    {IDC_PARAMETERS, &HotKey::parameters},
    {IDC_WORKING_DIRECTORY, &HotKey::workingDirectory},
};

const AnchorRule Anchors[] = {
    {IDOK, AnchorFollowRight},
    {IDCANCEL, AnchorFollowRight},
    {IDC_BROWSE, AnchorFollowRight},
    {IDC_COMMAND_LINE, AnchorWiden},
    {IDC_PARAMETERS, AnchorWiden},
    {IDC_WORKING_DIRECTORY, AnchorWiden},
};
// CaptureAnchors reads one rule for each anchor the dialog holds.
static_assert(sizeof(Anchors) / sizeof(Anchors[0]) == sizeof(HotKeyDlg::anchors) / sizeof(Anchor),
              "a rule for every anchor");

void ShowKeyName(HWND field, const char* name)
{
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
    int end = lstrlenA(name);
    SendMessageA(field, EM_SETSEL, end, end);
}

// The keypad's keys from 7 (scan code 0x47) to "." (0x53) while NumLock is
// on; the scan codes alone name Home, Up ... Delete, as with NumLock off.
const BYTE NumLockKeypad[] = {
    VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9, VK_SUBTRACT, VK_NUMPAD4, VK_NUMPAD5, VK_NUMPAD6,
    VK_ADD,     VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3,  VK_NUMPAD0, VK_DECIMAL,
};

// The key of a scan code as the keyboard driver would name it: the extended
// bit tells the arrow keys and the keypad's "/" from the keypad's own keys.
UINT KeyOfScanCode(LPARAM lParam)
{
    UINT scanCode = (lParam >> 16) & 0xFF;
    bool extended = (lParam & (KF_EXTENDED << 16)) != 0;
    if (!extended && scanCode >= 0x47 && scanCode <= 0x53 && (GetKeyState(VK_NUMLOCK) & 1))
        return NumLockKeypad[scanCode - 0x47];
    return MapVirtualKeyA(extended ? 0xE000 | scanCode : scanCode, MAPVK_VSC_TO_VK_EX);
}

// While a Chinese, Japanese or Korean input method is on, every key arrives
// as VK_PROCESSKEY. The input method keeps the key it took; where it tells
// nothing, the scan code still names the key. imm32 comes from the system
// folder: a load by name would try the program's folder first.
UINT PressedKey(HWND field, WPARAM wParam, LPARAM lParam)
{
    if (wParam != VK_PROCESSKEY)
        return static_cast<UINT>(wParam);
    static char imm32Name[] = "imm32.dll";
    static char virtualKeyName[] = "ImmGetVirtualKey";
    auto virtualKey = FindFunction<UINT(WINAPI*)(HWND)>(LoadSystemLibrary(imm32Name), virtualKeyName);
    UINT kept = virtualKey ? virtualKey(field) : 0;
    return kept != 0 && kept != VK_PROCESSKEY ? kept : KeyOfScanCode(lParam);
}

// Puts the chosen file in the command line and its folder in the working
// directory; a cancelled file dialog changes nothing.
void ChooseCommandFile(HWND window)
{
    OPENFILENAMEA dialog = {OpenFileNameOlderSize};
    char file[FileBufferSize];
    // Empty should the field give nothing back.
    file[0] = '\0';
    SendDlgItemMessageA(window, IDC_COMMAND_LINE, WM_GETTEXT, FileBufferSize, reinterpret_cast<LPARAM>(file));

    dialog.hwndOwner = window;
    dialog.hInstance = GetModuleHandleA(nullptr);
    dialog.lpstrFilter = "All Files (*.*)\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = FileBufferSize;
    dialog.lpstrTitle = "Select File";
    // A chosen shortcut is the command itself, not its target.
    dialog.Flags = OFN_NODEREFERENCELINKS;

    for (bool retried = false;; retried = true) {
        if (GetOpenFileNameA(&dialog))
            break;
        // A field text that is no valid file name (a quoted path, say) makes
        // the file dialog fail at once; start it again, once, without an
        // initial name.
        DWORD error = CommDlgExtendedError();
        if (retried || error == 0 || error == FNERR_BUFFERTOOSMALL || !file[0])
            return;
        file[0] = '\0';
    }

    SendDlgItemMessageA(window, IDC_COMMAND_LINE, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file));
    file[dialog.nFileOffset] = '\0';
    SendDlgItemMessageA(window, IDC_WORKING_DIRECTORY, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file));
}

}  // namespace

HotKeyDlg::HotKeyDlg()
    : ResizableDialog(IDD_HOTKEY), anchors(), oldKeyEditProc(nullptr), minHeight(0), minWidth(0),
      textsRead(true)
{
}

Anchor* HotKeyDlg::GetAnchors(int& count)
{
    count = sizeof(anchors) / sizeof(anchors[0]);
    return anchors;
}

bool HotKeyDlg::DialogProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return true;
    case WM_DESTROY:
        OnDestroy();
        return true;
    case WM_GETMINMAXINFO:
        LimitTracking(lParam, minWidth, minHeight, true);
        return false;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam)))
            return true;
        break;
    }
    return LayoutProc(message, wParam, lParam);
}

inline bool HotKeyDlg::OnCommand(int id)
{
    if (id == IDOK || id == IDCANCEL) {
        EndDialog(hwnd, id);
        return true;
    }
    if (id == IDC_BROWSE) {
        Browse();
        return true;
    }
    return false;
}

void HotKeyDlg::OnInitDialog()
{
    HWND keyField = GetDlgItem(hwnd, IDC_KEY);
    oldKeyEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(keyField, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KeyCaptureEdit)));

    for (const TextField& field : TextFields)
        SendDlgItemMessageA(hwnd, field.controlId, WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>((hotKey.*field.text).TextOrEmpty()));

    for (const ModifierBox& box : ModifierBoxes)
        SendDlgItemMessageA(hwnd, box.controlId, BM_SETCHECK,
                            (hotKey.modifiers & box.bit) ? BST_CHECKED : BST_UNCHECKED, 0);

    // A key whose name the keyboard layout lost still shows as its code.
    ShowKeyName(keyField, hotKey.key ? KeyNameOrCode(hotKey.key) : "");

    CaptureLayout(Anchors, &minWidth, &minHeight, 5, 5);

    ApplyStoredSize(SettingsName, false);
}

void HotKeyDlg::OnDestroy()
{
    for (const TextField& field : TextFields) {
        if (!(hotKey.*field.text).AssignFromWindow(GetDlgItem(hwnd, field.controlId)))
            textsRead = false;
    }

    UINT modifiers = 0;
    for (const ModifierBox& box : ModifierBoxes) {
        if (SendDlgItemMessageA(hwnd, box.controlId, BM_GETCHECK, 0, 0) == BST_CHECKED)
            modifiers |= box.bit;
    }
    hotKey.modifiers = modifiers;

    RegKey settings;
    SaveNormalSize(settings, SettingsName);
}

inline bool HotKeyDlg::CaptureKey(HWND field, UINT key)
{
    const char* name = KeyName(key);
    if (!name)
        return false;
    hotKey.key = key;
    ShowKeyName(field, name);
    return true;
}

LRESULT CALLBACK HotKeyDlg::KeyCaptureEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dialog* owner = reinterpret_cast<Dialog*>(GetWindowLongPtrA(GetParent(window), GWLP_USERDATA));
    if (!owner)
        return DefWindowProcA(window, message, wParam, lParam);
    HotKeyDlg* dialog = static_cast<HotKeyDlg*>(owner);

    switch (message) {
    case WM_GETDLGCODE:
        // Tab, Enter and Escape are keys to capture, not dialog navigation.
        return DLGC_WANTALLKEYS;
    case WM_SYSKEYDOWN: {
        // The dialog manager would take the character of Alt+letter, already
        // queued, as a mnemonic: tick a box and move the focus away.
        MSG character;
        PeekMessageA(&character, window, WM_SYSCHAR, WM_SYSDEADCHAR, PM_REMOVE);
        [[fallthrough]];
    }
    case WM_KEYDOWN:
        dialog->CaptureKey(window, PressedKey(window, wParam, lParam));
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        // Windows keeps Print Screen's key-down for itself: the field sees
        // only its key-up.
        if (wParam == VK_SNAPSHOT) {
            dialog->CaptureKey(window, VK_SNAPSHOT);
            return 0;
        }
        break;
    case WM_IME_COMPOSITION:
        // The default handling turns a composed text into WM_IME_CHAR, which
        // is refused below; the edit control would insert it itself.
        return DefWindowProcA(window, message, wParam, lParam);
    // Typed, composed or pasted text, and the context menu's Cut, Paste,
    // Delete and Undo, would show something other than the captured key.
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
        return 0;
    }
    return CallWindowProcA(dialog->oldKeyEditProc, window, message, wParam, lParam);
}

void HotKeyDlg::Browse()
{
    // The file dialog moves the process's current directory as the user
    // browses, whatever its flags say. Every entry without a working
    // directory would then start in the last folder browsed, find a program
    // of a relative name there first, and keep that folder in use.
    char folder[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    ChooseCommandFile(hwnd);
    if (length > 0 && length < MAX_PATH)
        SetCurrentDirectoryA(folder);
}
