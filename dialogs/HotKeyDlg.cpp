#include "dialogs/HotKeyDlg.h"
#include <stddef.h>
#include <commdlg.h>
#include <cderr.h>
#include "model/KeyNames.h"
#include "resources/resource.h"
#include "settings/Settings.h"

// OPENFILENAME_SIZE_VERSION_400A, the older form that every version of the
// file dialog accepts, as a constant expression (the macro is not one).
constexpr DWORD OpenFileNameOlderSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
#if !defined(_WIN64)
static_assert(OpenFileNameOlderSize == 76, "older OPENFILENAMEA is 76 bytes");
static_assert(sizeof(WINDOWPLACEMENT) == 44, "WINDOWPLACEMENT is 44 bytes");
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

void ShowKeyName(HWND field, const char* name)
{
    SetWindowTextA(field, name);
    int end = lstrlenA(name);
    SendMessageA(field, EM_SETSEL, end, end);
}

}  // namespace

HotKeyDlg::HotKeyDlg()
    : ResizableDialog(IDD_HOTKEY), anchors(), oldKeyEditProc(nullptr), minHeight(0), minWidth(0)
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
    case WM_GETMINMAXINFO: {
        // Not yet measured before WM_INITDIALOG: leave the platform's limits.
        if (minHeight > 0) {
            MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize.x = minWidth;
            limits->ptMinTrackSize.y = minHeight;
            limits->ptMaxTrackSize.y = minHeight;
        }
        return false;
    }
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam)))
            return true;
        return LayoutProc(message, wParam, lParam);
    default:
        return LayoutProc(message, wParam, lParam);
    }
}

bool HotKeyDlg::OnCommand(int id)
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

    SetDlgItemTextA(hwnd, IDC_COMMAND_LINE, hotKey.commandLine.TextOrEmpty());
    SetDlgItemTextA(hwnd, IDC_PARAMETERS, hotKey.parameters.TextOrEmpty());
    SetDlgItemTextA(hwnd, IDC_WORKING_DIRECTORY, hotKey.workingDirectory.TextOrEmpty());

    for (const ModifierBox& box : ModifierBoxes)
        CheckDlgButton(hwnd, box.controlId, (hotKey.modifiers & box.bit) ? BST_CHECKED : BST_UNCHECKED);

    // A key whose name the keyboard layout lost still shows as its code.
    ShowKeyName(keyField, hotKey.key ? KeyNameOrCode(hotKey.key) : "");

    anchors[0].Capture(hwnd, IDOK, AnchorFollowRight);
    anchors[1].Capture(hwnd, IDCANCEL, AnchorFollowRight);
    anchors[2].Capture(hwnd, IDC_BROWSE, AnchorFollowRight);
    anchors[3].Capture(hwnd, IDC_COMMAND_LINE, AnchorWiden);
    anchors[4].Capture(hwnd, IDC_PARAMETERS, AnchorWiden);
    anchors[5].Capture(hwnd, IDC_WORKING_DIRECTORY, AnchorWiden);

    RECT window;
    GetWindowRect(hwnd, &window);
    minWidth = window.right - window.left;
    minHeight = window.bottom - window.top;

    LoadSize();
}

void HotKeyDlg::LoadSize()
{
    int width;
    int height;
    // The tracking limits bring any stored size within them.
    if (StoredSize(SettingsName, &width, &height))
        SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

void HotKeyDlg::OnDestroy()
{
    hotKey.commandLine.AssignFromWindow(GetDlgItem(hwnd, IDC_COMMAND_LINE));
    hotKey.parameters.AssignFromWindow(GetDlgItem(hwnd, IDC_PARAMETERS));
    hotKey.workingDirectory.AssignFromWindow(GetDlgItem(hwnd, IDC_WORKING_DIRECTORY));

    UINT modifiers = 0;
    for (const ModifierBox& box : ModifierBoxes) {
        if (IsDlgButtonChecked(hwnd, box.controlId) == BST_CHECKED)
            modifiers |= box.bit;
    }
    hotKey.modifiers = modifiers;

    SaveSize();
}

void HotKeyDlg::SaveSize()
{
    RegKey settings;
    if (CreateDialogSettings(settings, SettingsName))
        WriteNormalSize(settings);
}

bool HotKeyDlg::CaptureKey(UINT key)
{
    const char* name = KeyName(key);
    if (!name)
        return false;
    hotKey.key = key;
    ShowKeyName(GetDlgItem(hwnd, IDC_KEY), name);
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
    case WM_KEYDOWN:
        dialog->CaptureKey(static_cast<UINT>(wParam));
        return 0;
    case WM_SYSKEYDOWN: {
        dialog->CaptureKey(static_cast<UINT>(wParam));
        // The dialog manager would take the character of Alt+letter, already
        // queued, as a mnemonic: tick a box and move the focus away.
        MSG character;
        PeekMessageA(&character, window, WM_SYSCHAR, WM_SYSDEADCHAR, PM_REMOVE);
        return 0;
    }
    case WM_CHAR:
        return 0;
    default:
        return CallWindowProcA(dialog->oldKeyEditProc, window, message, wParam, lParam);
    }
}

void HotKeyDlg::Browse()
{
    char file[FileBufferSize];
    GetDlgItemTextA(hwnd, IDC_COMMAND_LINE, file, FileBufferSize);

    OPENFILENAMEA dialog = {OpenFileNameOlderSize};
    dialog.hwndOwner = hwnd;
    dialog.hInstance = GetModuleHandleA(nullptr);
    dialog.lpstrFilter = "All Files (*.*)\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = FileBufferSize;
    dialog.lpstrTitle = "Select File";
    // A chosen shortcut is the command itself, not its target.
    dialog.Flags = OFN_NODEREFERENCELINKS;

    BOOL chosen = GetOpenFileNameA(&dialog);
    // A field text that is no valid file name (a quoted path, say) makes the
    // file dialog fail at once; start it again without an initial name.
    DWORD error = chosen ? 0 : CommDlgExtendedError();
    if (error != 0 && error != FNERR_BUFFERTOOSMALL && file[0]) {
        file[0] = '\0';
        chosen = GetOpenFileNameA(&dialog);
    }
    if (!chosen)
        return;

    SetDlgItemTextA(hwnd, IDC_COMMAND_LINE, file);
    file[dialog.nFileOffset] = '\0';
    SetDlgItemTextA(hwnd, IDC_WORKING_DIRECTORY, file);
}
