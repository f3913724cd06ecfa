#include "settings/Settings.h"
#include "model/KeyNames.h"

void FormatEntryIndex(unsigned index, char (&text)[4])
{
    text[0] = static_cast<char>('0' + index / 100 % 10);
    text[1] = static_cast<char>('0' + index / 10 % 10);
    text[2] = static_cast<char>('0' + index % 10);
    text[3] = '\0';
}

bool FileExists(const char* path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

// "Keys\NNN": the entry's path below the application key.
static void FormatEntryPath(unsigned index, char (&path)[9])
{
    lstrcpyA(path, "Keys\\");
    char digits[4];
    FormatEntryIndex(index, digits);
    lstrcpyA(path + 5, digits);
}

// A key name is short; anything longer than this buffer names no key.
static bool ReadKeyCode(RegKey& entry, UINT* code)
{
    char name[16];
    DWORD type = 0;
    DWORD size = sizeof(name) - 1;
    if (RegQueryValueExA(entry.Handle(), "Key", nullptr, &type, reinterpret_cast<BYTE*>(name), &size) != ERROR_SUCCESS
        || type != REG_SZ)
        return false;
    name[size] = '\0';   // the stored text may lack its terminator
    return KeyFromName(name, code);
}

bool LoadHotKey(int index, HotKey& record)
{
    char path[9];
    FormatEntryPath(static_cast<unsigned>(index), path);
    RegKey entry;
    if (!entry.Open(HKEY_CURRENT_USER, ApplicationKeyName, KEY_READ) || !entry.OpenSubKey(path, KEY_READ))
        return false;
    UINT key;
    DWORD modifiers;
    if (!ReadKeyCode(entry, &key) || !entry.ReadDword("Modifier", &modifiers)
        || !entry.ReadString("CommandLine", record.commandLine))
        return false;
    record.key = key;
    record.modifiers = modifiers;
    // Optional: a missing value leaves the text empty, so nothing of an
    // earlier entry read into the same record survives.
    entry.ReadString("WorkingDirectory", record.workingDirectory);
    entry.ReadString("Parameters", record.parameters);
    return true;
}

void LoadHotKeys(HotKeyList& list)
{
    HotKey record;
    int index = 0;
    // Entry names have three digits, so the table ends at 999 whatever else
    // the registry holds.
    while (index < MaxHotKeys && LoadHotKey(index, record)) {
        if (!list.Append(record))
            break;
        ++index;
    }
    if (index == 0) {
        RegKey application;
        if (!application.Open(HKEY_CURRENT_USER, ApplicationKeyName, KEY_READ))
            AddDefaultHotKeys(list);
    }
}

bool CompanionPath(const char* programPath, const char* fileName, char (&path)[MAX_PATH])
{
    int directoryLength = 0;
    for (int i = 0; programPath[i]; ++i) {
        if (programPath[i] == '\\')
            directoryLength = i + 1;
    }
    if (directoryLength + lstrlenA(fileName) + 1 > MAX_PATH)
        return false;
    for (int i = 0; i < directoryLength; ++i)
        path[i] = programPath[i];
    lstrcpyA(path + directoryLength, fileName);
    return true;
}

void AddDefaultHotKeysFor(HotKeyList& list, const char* programPath)
{
    char path[MAX_PATH];
    HotKey record;
    if (CompanionPath(programPath, "pellin.exe", path) && FileExists(path)) {
        record.key = VK_SPACE;
        record.modifiers = HotKeyCtrl | HotKeyWin;
        record.commandLine.Assign(path);
        list.Append(record);
    }
    if (CompanionPath(programPath, "dravik.exe", path) && FileExists(path)) {
        static const struct { UINT key; const char* size; } sizes[] = {
            {'1', "1024 768"}, {'6', "640 480"}, {'8', "800 600"},
        };
        record.modifiers = HotKeyWin;
        record.commandLine.Assign(path);
        for (const auto& size : sizes) {
            record.key = size.key;
            record.parameters.Assign(size.size);
            list.Append(record);
        }
    }
}

void AddDefaultHotKeys(HotKeyList& list)
{
    char programPath[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, programPath, MAX_PATH);
    // A truncated path names the wrong folder: offer no defaults then.
    if (length == 0 || length >= MAX_PATH)
        return;
    AddDefaultHotKeysFor(list, programPath);
}

// Writes one entry completely, removing optional values that the entry does
// not have, in case an old entry of that number survived.
static void SaveHotKey(RegKey& entry, const HotKey& hotKey)
{
    entry.WriteString("Key", StoredKeyName(hotKey.key));
    entry.WriteDword("Modifier", hotKey.modifiers);
    entry.WriteString("CommandLine", hotKey.commandLine.Text());
    if (hotKey.parameters.Length() > 0)
        entry.WriteString("Parameters", hotKey.parameters.Text());
    else
        entry.DeleteValue("Parameters");
    if (hotKey.workingDirectory.Length() > 0)
        entry.WriteString("WorkingDirectory", hotKey.workingDirectory.Text());
    else
        entry.DeleteValue("WorkingDirectory");
}

void SaveHotKeys(const HotKeyList& list)
{
    RegKey application;
    if (!application.Open(HKEY_CURRENT_USER, ApplicationKeyName, KEY_ALL_ACCESS))
        return;
    bool oldTableDeleted = application.DeleteKeyTree("Keys");
    RegKey keys;
    if (!keys.Create(application.Handle(), "Keys", KEY_ALL_ACCESS))
        return;
    // Stored numbers have no gaps, even when an entry's key cannot be made:
    // loading stops at the first missing number.
    unsigned stored = 0;
    for (LONG i = 0; i < list.count && stored < MaxHotKeys; ++i) {
        char name[4];
        FormatEntryIndex(stored, name);
        RegKey entry;
        if (!entry.Create(keys.Handle(), name, KEY_ALL_ACCESS))
            continue;
        SaveHotKey(entry, list.items[i]);
        ++stored;
    }
    // Whatever the failed deletion left beyond the new table must not load again.
    if (!oldTableDeleted) {
        for (unsigned i = stored; i < MaxHotKeys; ++i) {
            char name[4];
            FormatEntryIndex(i, name);
            keys.DeleteKeyTree(name);
        }
    }
}
