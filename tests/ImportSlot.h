#pragma once
// A test seam of the platform: this program calls each imported function
// through its import slot, so a replacement written there sees the record
// that a call hands to the system, even where the system ignores a field.
#include <windows.h>

// The slot of an imported function: its data symbol __imp_NAME, or
// __imp__NAME@BYTES for the 32-bit standard calls.
#ifdef _WIN64
#define IMPORT_SLOT(name, argumentBytes) extern "C" decltype(&name) name##Slot asm("__imp_" #name)
#else
#define IMPORT_SLOT(name, argumentBytes) \
    extern "C" decltype(&name) name##Slot asm("__imp__" #name "@" #argumentBytes)
#endif

// Points the slot at the replacement while the object lives; `original`
// calls the system's function.
template <typename Function>
class ImportReplacement {
public:
    ImportReplacement(Function& slot, Function replacement) : slot(slot), original(slot) { Write(replacement); }
    ~ImportReplacement() { Write(original); }
    ImportReplacement(const ImportReplacement&) = delete;
    ImportReplacement& operator=(const ImportReplacement&) = delete;

private:
    void Write(Function function)
    {
        DWORD protection;
        VirtualProtect(&slot, sizeof(slot), PAGE_READWRITE, &protection);
        slot = function;
        VirtualProtect(&slot, sizeof(slot), protection, &protection);
    }
    Function& slot;

public:
    const Function original;
};
