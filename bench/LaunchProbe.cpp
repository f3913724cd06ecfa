// The command that both hot keys of bench/run.sh start: it tells the bench
// that it runs, and ends.
#include <windows.h>
#include "launcher/Startup.h"

void ConstructStatics()
{
}

void DestroyStatics()
{
}

int ProgramEntry(HINSTANCE, HINSTANCE, char*, int)
{
    HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, "ZindralBenchLaunched");
    if (started) {
        SetEvent(started);
        CloseHandle(started);
    }
    return 0;
}
