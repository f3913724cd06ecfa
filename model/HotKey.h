#pragma once
// The hot-key entry and the table that holds the entries.
#include "model/SharedString.h"

// Modifier bits as the platform's RegisterHotKey takes them.
enum : UINT { HotKeyAlt = 1, HotKeyCtrl = 2, HotKeyShift = 4, HotKeyWin = 8 };

// One entry of the hot-key table. Copies share their texts.
struct HotKey {
    UINT key = 0;          // virtual-key code
    UINT modifiers = 0;    // HotKeyAlt | HotKeyCtrl | HotKeyShift | HotKeyWin
    SharedString verb;     // never set: the shell's default action
    SharedString parameters;
    SharedString commandLine;
    SharedString workingDirectory;

    // Out of line: every owner of a record would otherwise carry four copies
    // or releases of texts of its own.
    HotKey() = default;
    HotKey(const HotKey& other);
    HotKey& operator=(const HotKey& other);
    ~HotKey();
};

// Growable array of records, grown in steps of 20. Records at count and beyond
// are not part of the table but may still hold texts until reused or freed.
class HotKeyList {
public:
    HotKeyList() : capacity(0), count(0), items(nullptr) {}
    ~HotKeyList() { FreeItems(); }
    HotKeyList(const HotKeyList&) = delete;
    // Afterwards count equals other.count; if the heap fails the list is left
    // as it was.
    HotKeyList& operator=(const HotKeyList& other);

    // Stores a copy that shares the record's texts; null if the heap fails
    // (the list is then unchanged).
    HotKey* Append(const HotKey& record);

    LONG capacity;
    LONG count;
    HotKey* items;

private:
    void FreeItems();
    bool Reallocate(LONG newCapacity);
};

// The launcher's live table. Zindral's start-up constructs it before the entry
// function and destroys it afterwards (it must not be a static object: there is
// no runtime to run constructors or register destructors).
extern HotKeyList& g_hotKeys;
void ConstructHotKeys();
void DestroyHotKeys();
