// A program that imports the same system libraries as Zindral, shares its
// start-up and makes the two platform calls that a second Zindral start
// cannot do without: what that start costs above it is Zindral's own work.
//
//   startup_baseline        one keyboard-layout query, then the window search
//   startup_baseline bare   nothing at all
//
// Under Wine the first keyboard-layout query of a thread opens that thread's
// own connection to the X server, which costs more than the rest of the
// start: a comparison with the bare program would mostly measure Wine.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include "launcher/Launcher.h"
#include "launcher/Startup.h"

void ConstructStatics()
{
}

void DestroyStatics()
{
}

// The calls never run; they only make the linker import one function of
// each library.
static void ImportZindralsLibraries()
{
    InitCommonControls();
    CommDlgExtendedError();
    GetStockObject(WHITE_BRUSH);
    RegCloseKey(HKEY_CURRENT_USER);
    Shell_NotifyIconA(NIM_DELETE, nullptr);
}

// Loading the table asks the keyboard layout for the code of each stored
// key name; the single-instance test then looks for the first copy's window.
static void DoStartupPlatformWork()
{
    VkKeyScanA('1');
    FindWindowA(LauncherClassName, nullptr);
}

int ProgramEntry(HINSTANCE, HINSTANCE, char* tail, int)
{
    if (tail[0] == '!')
        ImportZindralsLibraries();
    if (lstrcmpA(tail, "bare") != 0)
        DoStartupPlatformWork();
    return 0;
}
