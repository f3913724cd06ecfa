// The process start-up without a C runtime, shared by Zindral and dravik.
#include "launcher/Startup.h"

// What the system, the shell and the file dialog load by name from here on
// comes from the system folder only, never from the program's folder (a
// Downloads folder holds whatever was downloaded) or the current one. The
// first call changes this process alone. The second, for systems without the
// first (Vista and 7 have it only with an update), at least takes the current
// folder out of the search, but every program started from here inherits
// that: it would no longer find the libraries beside its documents, as it
// does when Explorer starts it.
void KeepLibraryLoadsInTheSystemFolder()
{
    static char kernelName[] = "kernel32.dll";
    static char setDefaultsName[] = "SetDefaultDllDirectories";
    static char setDirectoryName[] = "SetDllDirectoryA";
    HMODULE kernel = GetModuleHandleA(kernelName);
    auto setDefaultDllDirectories = FindFunction<BOOL(WINAPI*)(DWORD)>(kernel, setDefaultsName);
    if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    auto setDllDirectory = FindFunction<BOOL(WINAPI*)(LPCSTR)>(kernel, setDirectoryName);
    if (setDllDirectory)
        setDllDirectory("");
}

// The executable's entry point: no C runtime runs before or after it.
extern "C" void WINAPI Start()
{
    KeepLibraryLoadsInTheSystemFolder();
    char* tail = CommandLineTail(GetCommandLineA());

    STARTUPINFOA startup = {sizeof(startup)};
    startup.dwFlags = 0;
    GetStartupInfoA(&startup);

    ConstructStatics();
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    int code = ProgramEntry(GetModuleHandleA(nullptr), nullptr, tail, show);
    DestroyStatics();
    ExitProcess(static_cast<UINT>(code));
}
