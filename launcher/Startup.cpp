#include "launcher/Startup.h"

// What the system, the shell and the file dialog load by name later comes
// from the system folder only, never from the program's folder (a Downloads
// folder holds whatever was downloaded) or the current one. Systems before
// the first call lack it; before the second, the current folder did not
// come first.
static void KeepLibraryLoadsInTheSystemFolder()
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto setDefaultDllDirectories = FindFunction<BOOL(WINAPI*)(DWORD)>(kernel, "SetDefaultDllDirectories");
    if (setDefaultDllDirectories)
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    auto setDllDirectory = FindFunction<BOOL(WINAPI*)(LPCSTR)>(kernel, "SetDllDirectoryA");
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
