#pragma once
#include <windows.h>

// The process start-up shared by Zindral and dravik. Each program defines
// the three functions below; the start-up calls them in this order:
// ConstructStatics, ProgramEntry, DestroyStatics, then ExitProcess.
void ConstructStatics();
int ProgramEntry(HINSTANCE instance, HINSTANCE previous, char* tail, int show);
void DestroyStatics();

// The arguments part of a full command line: after the program name (quoted
// or not) and the blanks and control characters that follow it.
char* CommandLineTail(char* commandLine);
