#pragma once
// The process start-up and the look-ups of system libraries and functions.
#include <windows.h>

// The process start-up shared by Zindral and dravik. Each program defines
// the three functions below; the start-up calls them in this order:
// ConstructStatics, ProgramEntry, DestroyStatics, then ExitProcess.
void ConstructStatics();
int ProgramEntry(HINSTANCE instance, HINSTANCE previous, char* tail, int show);
void DestroyStatics();

// Called first by the start-up: libraries loaded by name come from the
// system folder alone.
void KeepLibraryLoadsInTheSystemFolder();

// The arguments part of a full command line: after the program name (quoted
// or not) and the blanks and control characters that follow it.
char* CommandLineTail(char* commandLine);

// A library of the system folder by its full path, its own dependencies
// looked for there too; null if it cannot be loaded. For libraries that are
// not among the system's known DLLs, which a load by name would look for in
// the program's folder first, or take from whatever library of that name is
// already loaded. Inline, so that a program that loads none imports nothing
// for it.
inline HMODULE LoadSystemLibrary(const char* name)
{
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenA(name) >= MAX_PATH)
        return nullptr;
    path[length] = '\\';
    lstrcpyA(path + length + 1, name);
    // Systems without the search flag refuse it; the older flag then makes
    // the library's folder the first place for its dependencies.
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? module : LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// A function that the system may lack, looked up at run time; null where it
// is missing. The names that the programs look up are writable arrays on
// purpose: in the 32-bit programs they then lie in the padding of the import
// section, which holds the writable variables (cmake/i686-pe.ld), and leave
// the code section's bytes to code; dravik's code section has none to spare.
template <typename Function>
Function FindFunction(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
