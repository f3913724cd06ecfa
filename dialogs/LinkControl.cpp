// Link controls: a static text drawn and clicked as a link.
#include "dialogs/LinkControl.h"
#include <stddef.h>
#include <shellapi.h>
#include "model/Heap.h"
#include "resources/resource.h"

namespace {

// The record with the control's text copied in; null if the heap fails.
// AttachLinkControl sets the handles and the target before anything reads them.
LinkControl* NewLinkRecord(HWND control)
{
    int length = GetWindowTextLengthA(control);
    SIZE_T bytes = offsetof(LinkControl, windowText) + length + 1;
    LinkControl* link = static_cast<LinkControl*>(AllocateBlock(bytes));
    if (!link)
        return nullptr;
    link->pressed = 0;
    link->textLength = GetWindowTextA(control, link->windowText, length + 1);
    link->windowText[link->textLength] = '\0';
    return link;
}

char* CopyText(const char* text)
{
    char* copy = static_cast<char*>(AllocateBlock(lstrlenA(text) + 1));
    if (copy)
        lstrcpyA(copy, text);
    return copy;
}

// The dialog's font, underlined; null if the dialog has no usable font.
HFONT CreateUnderlinedFont(HWND control)
{
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(GetParent(control), WM_GETFONT, 0, 0));
    LOGFONTA description;
    if (!dialogFont || GetObjectA(dialogFont, sizeof(description), &description) != sizeof(description))
        return nullptr;
    description.lfUnderline = 1;
    return CreateFontIndirectA(&description);
}

void FreeLinkRecord(LinkControl* link)
{
    if (link->font)
        DeleteObject(link->font);
    FreeBlock(link->target);
    FreeBlock(link);
}

void PaintLink(HWND control, const LinkControl& link)
{
    PAINTSTRUCT paint;
    HDC deviceContext = BeginPaint(control, &paint);
    SetBkMode(deviceContext, TRANSPARENT);
    SetTextColor(deviceContext, RGB(0, 0, 128));
    HGDIOBJ previousFont = SelectObject(deviceContext, link.font);
    TextOutA(deviceContext, 0, 0, link.windowText, link.textLength);
    SelectObject(deviceContext, previousFont);
    EndPaint(control, &paint);
}

bool CursorInside(HWND control)
{
    POINT cursor;
    GetCursorPos(&cursor);
    RECT bounds;
    GetWindowRect(control, &bounds);
    return PtInRect(&bounds, cursor) != FALSE;
}

}

void AttachLinkControl(HWND control, const char* target)
{
    LinkControl* link = NewLinkRecord(control);
    if (!link)
        return;
    link->target = CopyText(target ? target : link->windowText);
    link->cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    link->font = CreateUnderlinedFont(control);
    if (!link->target || !link->font) {
        // Nothing of the control is changed yet: it goes on as plain text.
        FreeLinkRecord(link);
        return;
    }
    // Without SS_NOTIFY a static text lets the mouse through to the dialog.
    SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) | SS_NOTIFY);
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(link));
    link->oldWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkWndProc)));
}

LRESULT CALLBACK LinkWndProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    LinkControl* link = reinterpret_cast<LinkControl*>(GetWindowLongPtrA(control, GWLP_USERDATA));
    if (!link)
        return 0;
    switch (message) {
    case WM_PAINT:
        PaintLink(control, *link);
        return 0;
    case WM_SETCURSOR:
        if (!link->cursor)
            break;   // the static's own cursor rather than none at all
        SetCursor(link->cursor);
        return 1;
    case WM_LBUTTONDOWN:
        SetCapture(control);
        link->pressed = 1;
        return 0;
    case WM_LBUTTONUP:
        if (link->pressed) {
            link->pressed = 0;
            ReleaseCapture();
            if (CursorInside(control))
                ShellExecuteA(nullptr, nullptr, link->target, nullptr, nullptr, SW_SHOW);
        }
        return 0;
    case WM_CAPTURECHANGED:
        // The release will go elsewhere; a later one must not open the link.
        link->pressed = 0;
        break;
    case WM_DESTROY:
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->oldWndProc));
        FreeLinkRecord(link);
        SetWindowLongPtrA(control, GWLP_USERDATA, 0);
        return 0;
    }
    return CallWindowProcA(link->oldWndProc, control, message, wParam, lParam);
}
