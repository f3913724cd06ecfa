// dravik: gives the foreground window the width and height named on the
// command line, keeping its top-left corner. Always ends with code 0.
#include <windows.h>
#include "launcher/Startup.h"
#include "dravik/ReadNumber.h"

#if !defined(_WIN64)
static_assert(sizeof(WINDOWPLACEMENT) == 44, "WINDOWPLACEMENT must be 44 bytes");
#endif

// dravik has no static objects.
void ConstructStatics()
{
}

void DestroyStatics()
{
}

// True when an edge at origin + size still fits a 32-bit signed value.
static bool EdgeFits(LONG origin, int size)
{
    return origin <= 0x7FFFFFFF - size;
}

static bool IsSizeable(HWND window)
{
    return (GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME) != 0;
}

// Some systems (Wine) refuse to write the placement of another process's
// window; restoring it and moving it there gives the same result.
static void RestoreAndSize(HWND window, int width, int height)
{
    ShowWindow(window, SW_RESTORE);
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return;
    if (!EdgeFits(rect.left, width) || !EdgeFits(rect.top, height))
        return;
    SetWindowPos(window, nullptr, rect.left, rect.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

static void SizeWindow(HWND window, int width, int height)
{
    WINDOWPLACEMENT placement = {sizeof(placement)};
    if (!GetWindowPlacement(window, &placement))
        return;
    RECT& normal = placement.rcNormalPosition;
    if (!EdgeFits(normal.left, width) || !EdgeFits(normal.top, height))
        return;
    placement.showCmd = SW_RESTORE;
    normal.right = normal.left + width;
    normal.bottom = normal.top + height;
    if (!SetWindowPlacement(window, &placement))
        RestoreAndSize(window, width, height);
}

int ProgramEntry(HINSTANCE, HINSTANCE, char* tail, int)
{
    const char* position = tail;
    int width = ReadNumber(position);
    int height = ReadNumber(position);
    if (width == 0 || height == 0)
        return 0;
    HWND window = GetForegroundWindow();
    if (window && IsSizeable(window))
        SizeWindow(window, width, height);
    return 0;
}
