#pragma once
// Link controls of the About box.
#include <windows.h>

// A static text turned into a link: drawn underlined in dark blue, shows the
// hand cursor, and hands its target to the shell when clicked. One heap
// block per control, from AttachLinkControl until the control's WM_DESTROY.
struct LinkControl {
    WNDPROC oldWndProc;   // restored on WM_DESTROY
    HFONT font;           // owned: the dialog's font, underlined
    HCURSOR cursor;       // the hand, resource 107
    LONG textLength;      // characters in windowText
    LONG pressed;         // 1 from a press on the control until its release
    char* target;         // owned: what the shell opens
    char windowText[1];   // the control's text; the block has room for all of it
};

// Makes `control`, a static text of a dialog, a link to `target` (a copy is
// kept), or to its own text when `target` is null. If the link cannot be made
// (no memory, no dialog font) the control stays a plain static text.
void AttachLinkControl(HWND control, const char* target);

LRESULT CALLBACK LinkWndProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
