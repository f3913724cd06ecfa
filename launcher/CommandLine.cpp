// Splitting the program name off a command line.
#include "launcher/Startup.h"

// Blanks and control characters separate the program name from the tail.
// Characters 128 to 255 are ordinary characters of names such as "Zürich",
// hence the unsigned comparison.
static bool IsSeparator(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

char* CommandLineTail(char* commandLine)
{
    char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p && !IsSeparator(*p))
            ++p;
    }
    while (IsSeparator(*p))
        ++p;
    return p;
}
