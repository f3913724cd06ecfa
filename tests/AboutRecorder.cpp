// Stands in for the browser and the mail program in the About tests:
//   about_recorder.exe LOG TARGET
// appends TARGET and a line end to LOG, so a test sees what the shell opened.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    FILE* log = __argc < 3 ? nullptr : fopen(__argv[1], "ab");
    if (!log)
        return 1;
    fprintf(log, "%s\n", __argv[2]);
    fclose(log);
    return 0;
}
