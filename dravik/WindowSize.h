#pragma once
// dravik's sizing of the foreground window, and the system calls it looks up.
#include <windows.h>
#include <dwmapi.h>
#include "launcher/Startup.h"

#if !defined(_WIN64)
static_assert(sizeof(WINDOWPLACEMENT) == 44, "WINDOWPLACEMENT must be 44 bytes");
#endif

// Looked up names are writable data (see FindFunction): as constants they
// would push the code section past its 1,024 bytes and the file to 3,584.
static char User32Name[] = "user32.dll";

// Without a declaration the system scales the coordinates of a process by the
// display's scale: at 150 % a width of 1024 would become 1536 pixels. Both
// calls are looked up, so that the program still starts on systems that lack
// them (and then have no scaling either).
inline void DeclareDpiAware()
{
    static char setContextName[] = "SetProcessDpiAwarenessContext";
    static char setAwareName[] = "SetProcessDPIAware";
    HMODULE user32 = GetModuleHandleA(User32Name);
    auto setContext = FindFunction<decltype(&SetProcessDpiAwarenessContext)>(user32, setContextName);
    if (setContext && setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
        return;
    auto setAware = FindFunction<decltype(&SetProcessDPIAware)>(user32, setAwareName);
    if (setAware)
        setAware();
}

inline bool IsSizeable(HWND window)
{
    return (GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME) != 0;
}

// True when an edge at origin + size still fits a 32-bit signed value.
inline bool EdgeFits(LONG origin, int size)
{
    return origin <= 0x7FFFFFFF - size;
}

// A window snapped to a side of the screen (Windows 10 1903 and later; looked
// up, so that dravik still starts on older systems).
inline bool IsArranged(HWND window)
{
    static char isArrangedName[] = "IsWindowArranged";
    auto isArranged = FindFunction<BOOL(WINAPI*)(HWND)>(GetModuleHandleA(User32Name), isArrangedName);
    return isArranged && isArranged(window);
}

// The visible frame where the system reports one, else the window rectangle
// itself. dwmapi.dll comes from the system folder only, and only where the
// system offers that search (Windows 8 and later, whose frames have the
// invisible borders; older ones draw what the rectangle holds).
inline void GetVisibleFrame(HWND window, const RECT& rect, RECT* frame)
{
    static char dwmapiName[] = "dwmapi.dll";
    static char getAttributeName[] = "DwmGetWindowAttribute";
    *frame = rect;
    HMODULE dwmapi = LoadLibraryExA(dwmapiName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!dwmapi)
        return;
    auto getAttribute = FindFunction<decltype(&DwmGetWindowAttribute)>(dwmapi, getAttributeName);
    RECT visible;
    if (getAttribute && SUCCEEDED(getAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &visible, sizeof(visible))))
        *frame = visible;
}

// The invisible borders are a few pixels wide, a few more at high scales.
constexpr ULONG MaxInvisibleBorder = 40;

// The window rectangle is scaled for the program while the frame is not: on
// Windows 8.1 and early 10, with monitors at different scales or under a
// compatibility setting, the two mix logical and physical pixels. A frame
// that is not inside the rectangle with narrow borders is such a mix.
inline bool PlausibleFrame(const RECT& window, const RECT& frame)
{
    const LONG borders[] = {frame.left - window.left, frame.top - window.top, window.right - frame.right,
                            window.bottom - frame.bottom};
    for (LONG border : borders) {
        if (static_cast<ULONG>(border) > MaxInvisibleBorder)
            return false;
    }
    return true;
}

// The size of a window rectangle at `window`'s corner whose visible frame is
// width by height: larger by the borders that Windows 8 to 11 do not draw.
// A frame that cannot be trusted counts as the rectangle itself, as on
// Windows 7. False when an edge would not fit a 32-bit signed value.
inline bool OuterSize(const RECT& window, const RECT& reportedFrame, int width, int height, SIZE* size)
{
    const RECT& frame = PlausibleFrame(window, reportedFrame) ? reportedFrame : window;
    LONGLONG cx = LONGLONG(width) + (window.right - window.left) - (frame.right - frame.left);
    LONGLONG cy = LONGLONG(height) + (window.bottom - window.top) - (frame.bottom - frame.top);
    if (cx <= 0 || cy <= 0 || window.left + cx > 0x7FFFFFFF || window.top + cy > 0x7FFFFFFF)
        return false;
    size->cx = static_cast<LONG>(cx);
    size->cy = static_cast<LONG>(cy);
    return true;
}

// Gives the window, where it is now, the size whose visible frame is width
// by height. Its borders do not change, so the visible corner stays too.
inline void SizeInPlace(HWND window, int width, int height)
{
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return;
    RECT frame;
    GetVisibleFrame(window, rect, &frame);
    SIZE size;
    if (OuterSize(rect, frame, width, height, &size))
        SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Some systems (Wine) refuse to write the placement of another process's
// window; restoring it and sizing it there gives the same result.
inline void RestoreAndSize(HWND window, int width, int height)
{
    ShowWindow(window, SW_RESTORE);
    // A window minimised from maximised comes back maximised.
    if (IsZoomed(window))
        ShowWindow(window, SW_RESTORE);
    SizeInPlace(window, width, height);
}

// Shows the window restored with the given size of its visible frame, at
// its restored position; a snapped window (`arranged`), whose placement
// still holds where it was before the snap, where it is now.
// True when its placement took the size; false when the window was left
// alone, was sized in place, or when the system refused the placement and
// RestoreAndSize did it.
inline bool SizeWindow(HWND window, int width, int height, bool arranged)
{
    if (arranged) {
        SizeInPlace(window, width, height);
        return false;
    }
    WINDOWPLACEMENT placement = {sizeof(placement)};
    if (!GetWindowPlacement(window, &placement))
        return false;
    RECT& normal = placement.rcNormalPosition;
    if (!EdgeFits(normal.left, width) || !EdgeFits(normal.top, height))
        return false;
    // Set for a window minimised from maximised: it would come back maximised.
    placement.flags &= ~WPF_RESTORETOMAXIMIZED;
    placement.showCmd = SW_RESTORE;
    normal.right = normal.left + width;
    normal.bottom = normal.top + height;
    if (SetWindowPlacement(window, &placement)) {
        // Some systems (Wine) ignore the cleared flag: the window keeps its
        // own mark and comes back maximised.
        if (IsZoomed(window))
            ShowWindow(window, SW_RESTORE);
        // Only a restored window shows the borders it will keep.
        SizeInPlace(window, width, height);
        return true;
    }
    RestoreAndSize(window, width, height);
    return false;
}
