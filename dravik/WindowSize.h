#pragma once
#include <windows.h>

// Without a declaration the system scales the coordinates of a process by the
// display's scale: at 150 % a width of 1024 would become 1536 pixels. Both
// calls are looked up, so that the program still starts on systems that lack
// them (and then have no scaling either).
inline void DeclareDpiAware()
{
    // Not const: in the 32-bit program writable data shares the import
    // section, while constants would cost a section of their own.
    static char user32Name[] = "user32.dll";
    static char setContextName[] = "SetProcessDpiAwarenessContext";
    static char setAwareName[] = "SetProcessDPIAware";
    HMODULE user32 = GetModuleHandleA(user32Name);
    auto setContext = reinterpret_cast<decltype(&SetProcessDpiAwarenessContext)>(
        reinterpret_cast<void*>(GetProcAddress(user32, setContextName)));
    if (setContext && setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
        return;
    auto setAware = reinterpret_cast<decltype(&SetProcessDPIAware)>(
        reinterpret_cast<void*>(GetProcAddress(user32, setAwareName)));
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

// Some systems (Wine) refuse to write the placement of another process's
// window; restoring it and moving it there gives the same result.
inline void RestoreAndSize(HWND window, int width, int height)
{
    ShowWindow(window, SW_RESTORE);
    // A window minimised from maximised comes back maximised.
    if (IsZoomed(window))
        ShowWindow(window, SW_RESTORE);
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return;
    if (!EdgeFits(rect.left, width) || !EdgeFits(rect.top, height))
        return;
    SetWindowPos(window, nullptr, rect.left, rect.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Shows the window restored at its restored position with the given size.
// True when its placement took the size; false when the window was left
// alone, or when the system refused the placement and RestoreAndSize did it.
inline bool SizeWindow(HWND window, int width, int height)
{
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
        return true;
    }
    RestoreAndSize(window, width, height);
    return false;
}
