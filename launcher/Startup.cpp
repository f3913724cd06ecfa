#include "launcher/Startup.h"

// The executable's entry point: no C runtime runs before or after it.
extern "C" void WINAPI Start()
{
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
