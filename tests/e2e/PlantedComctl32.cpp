// A comctl32.dll of the tests' own, for a test to put beside a program:
// nothing may use it from there. Its InitCommonControlsEx leaves the file
// comctl32-used.txt beside it.
#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;   // this library, as the linker places it

// The one function that Zindral takes from the common controls. It registers
// no window class, so a list view made after it would be missing.
extern "C" __declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void*)
{
    char path[MAX_PATH + 32];
    DWORD length = GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
    while (length > 0 && path[length - 1] != '\\')
        --length;
    lstrcpyA(path + length, "comctl32-used.txt");
    HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark != INVALID_HANDLE_VALUE)
        CloseHandle(mark);
    return FALSE;
}
