// dravik: gives the foreground window's visible frame the width and height
// named on the command line, keeping its top-left corner. Always ends with
// code 0.
#include <windows.h>
#include "launcher/Startup.h"
#include "dravik/ReadNumber.h"
#include "dravik/WindowSize.h"

// dravik has no static objects.
void ConstructStatics()
{
}

void DestroyStatics()
{
}

int ProgramEntry(HINSTANCE, HINSTANCE, char* tail, int)
{
    DeclareDpiAware();
    const char* position = tail;
    int width = ReadNumber(position);
    int height = ReadNumber(position);
    if (width == 0 || height == 0)
        return 0;
    HWND window = GetForegroundWindow();
    if (window && IsSizeable(window))
        SizeWindow(window, width, height, IsArranged(window));
    return 0;
}
