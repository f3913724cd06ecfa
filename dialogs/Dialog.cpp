// The dialog base classes: binding, anchored layout, size grip and stored size.
#include "dialogs/Dialog.h"

#if !defined(_WIN64)
static_assert(sizeof(WINDOWPLACEMENT) == 44, "WINDOWPLACEMENT is 44 bytes");
#endif

void Anchor::Capture(HWND dialog, int id, int rules)
{
    controlId = id;
    mode = rules;
    RECT client;
    GetClientRect(dialog, &client);
    RECT control;
    GetWindowRect(GetDlgItem(dialog, id), &control);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&control), 2);
    top = control.top;
    left = control.left;
    rightMargin = client.right - control.right;
    bottomMargin = client.bottom - control.bottom;
    width = control.right - control.left;
    height = control.bottom - control.top;
}

void Anchor::Reposition(HWND dialog, int clientWidth, int clientHeight) const
{
    int x = left;
    int newWidth = width;
    switch (mode & 0x0F) {
    case 0:
        break;
    case 1:
        x = clientWidth - rightMargin - width;
        break;
    default:
        newWidth = clientWidth - rightMargin - left;
        break;
    }
    int y = top;
    int newHeight = height;
    switch (mode & 0xF0) {
    case 0x00:
        break;
    case 0x10:
        y = clientHeight - bottomMargin - height;
        break;
    default:
        newHeight = clientHeight - bottomMargin - top;
        break;
    }
    MoveWindow(GetDlgItem(dialog, controlId), x, y, newWidth, newHeight, TRUE);
}

INT_PTR Dialog::Show(HWND owner)
{
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner,
                           StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

bool Dialog::DialogProc(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, LOWORD(wParam));
            return true;
        }
        return false;
    default:
        return false;
    }
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        reinterpret_cast<Dialog*>(lParam)->hwnd = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
    }
    Dialog* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    // Messages before WM_INITDIALOG (WM_SETFONT, say) find no object yet.
    if (!dialog)
        return FALSE;
    return dialog->DialogProc(message, wParam, lParam) ? TRUE : FALSE;
}

ResizableDialog::ResizableDialog(int id)
    : Dialog(id),
      gripWidth(GetSystemMetrics(SM_CXHSCROLL)),
      gripHeight(GetSystemMetrics(SM_CYVSCROLL))
{
}

Anchor* ResizableDialog::GetAnchors(int& count)
{
    count = 0;
    return nullptr;
}

void ResizableDialog::CaptureAnchors(const AnchorRule* rules)
{
    int count;
    Anchor* anchors = GetAnchors(count);
    for (int i = 0; i < count; ++i)
        anchors[i].Capture(hwnd, rules[i].controlId, rules[i].mode);
}

void ResizableDialog::CaptureLayout(const AnchorRule* rules, int* minWidth, int* minHeight,
                                    int widthFifths, int heightFifths)
{
    CaptureAnchors(rules);
    RECT window;
    GetWindowRect(hwnd, &window);
    *minWidth = (window.right - window.left) * widthFifths / 5;
    *minHeight = (window.bottom - window.top) * heightFifths / 5;
}

void ResizableDialog::LimitTracking(LPARAM lParam, int minWidth, int minHeight, bool fixedHeight)
{
    if (minHeight <= 0)
        return;
    MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
    limits->ptMinTrackSize.x = minWidth;
    limits->ptMinTrackSize.y = minHeight;
    if (fixedHeight)
        limits->ptMaxTrackSize.y = minHeight;
}

void ResizableDialog::CenterOnWorkArea()
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT window;
    GetWindowRect(hwnd, &window);
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    MoveWindow(hwnd, (work.left + work.right - width) / 2, (work.top + work.bottom - height) / 2,
               width, height, TRUE);
}

void ResizableDialog::GripRect(RECT* grip)
{
    GetClientRect(hwnd, grip);
    grip->left = grip->right - gripWidth;
    grip->top = grip->bottom - gripHeight;
}

void ResizableDialog::PaintSizeGrip(HDC deviceContext)
{
    RECT grip;
    GripRect(&grip);
    DrawFrameControl(deviceContext, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void ResizableDialog::Relayout(int clientWidth, int clientHeight)
{
    // The grip moves with the corner: erase its old place too.
    InvalidateRect(hwnd, nullptr, TRUE);
    int count = 0;
    const Anchor* anchors = GetAnchors(count);
    for (int i = 0; i < count; ++i)
        anchors[i].Reposition(hwnd, clientWidth, clientHeight);
}

void ResizableDialog::ApplyStoredSize(const char* settingsName, bool centre)
{
    RegKey settings;
    DWORD width;
    DWORD height;
    if (!OpenDialogSettings(settings, settingsName) || !settings.ReadDword("Width", &width) ||
        !settings.ReadDword("Height", &height))
        return;
    if (centre) {
        MoveWindow(hwnd, 0, 0, static_cast<int>(width), static_cast<int>(height), TRUE);
        CenterOnWorkArea();
    } else {
        // The tracking limits bring any stored size within them.
        SetWindowPos(hwnd, nullptr, 0, 0, static_cast<int>(width), static_cast<int>(height),
                     SWP_NOMOVE | SWP_NOZORDER);
    }
}

bool ResizableDialog::SaveNormalSize(RegKey& settings, const char* settingsName)
{
    if (!CreateDialogSettings(settings, settingsName))
        return false;
    WINDOWPLACEMENT placement = {sizeof(placement)};
    GetWindowPlacement(hwnd, &placement);
    const RECT& normal = placement.rcNormalPosition;
    settings.WriteDword("Width", static_cast<DWORD>(normal.right - normal.left));
    settings.WriteDword("Height", static_cast<DWORD>(normal.bottom - normal.top));
    return true;
}

bool ResizableDialog::LayoutProc(UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        Relayout(LOWORD(lParam), HIWORD(lParam));
        return true;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC deviceContext = BeginPaint(hwnd, &paint);
        PaintSizeGrip(deviceContext);
        EndPaint(hwnd, &paint);
        return true;
    }
    case WM_NCHITTEST: {
        RECT grip;
        GripRect(&grip);
        MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&grip), 2);
        // Signed: monitors left of or above the primary one are negative.
        POINT cursor = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (!PtInRect(&grip, cursor))
            return false;
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, HTBOTTOMRIGHT);
        return true;
    }
    default:
        return false;
    }
}
