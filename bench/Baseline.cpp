// A program that does nothing, but imports the same system libraries as
// Zindral and shares its start-up: what a start of Zindral costs above the
// bare loading of its libraries is measured against it.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include "launcher/Startup.h"

void ConstructStatics()
{
}

void DestroyStatics()
{
}

// The calls never run (the bench passes no arguments); they only make the
// linker import one function of each library.
static void ImportZindralsLibraries()
{
    InitCommonControls();
    CommDlgExtendedError();
    GetStockObject(WHITE_BRUSH);
    RegCloseKey(HKEY_CURRENT_USER);
    Shell_NotifyIconA(NIM_DELETE, nullptr);
    FindWindowA(nullptr, nullptr);
}

int ProgramEntry(HINSTANCE, HINSTANCE, char* tail, int)
{
    if (tail[0] == '!')
        ImportZindralsLibraries();
    return 0;
}
