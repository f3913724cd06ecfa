// An entry of the table, built the way the dialogs and the settings fill one.
#pragma once
#include "model/HotKey.h"

inline HotKey MakeEntry(UINT key, UINT modifiers, const char* commandLine,
                        const char* parameters = nullptr, const char* workingDirectory = nullptr)
{
    HotKey entry;
    entry.key = key;
    entry.modifiers = modifiers;
    entry.commandLine.Assign(commandLine);
    entry.parameters.Assign(parameters);
    entry.workingDirectory.Assign(workingDirectory);
    return entry;
}
