// The hot-key table in the registry: loading, saving and the first run's defaults.
#include "settings/Settings.h"
#include "model/KeyNames.h"

// Writes the last three digits of the index, units last, and the terminator.
static void WriteEntryDigits(unsigned index, char* text)
{
    text[3] = '\0';
    for (int i = 2; i >= 0; --i) {
        text[i] = static_cast<char>('0' + index % 10);
        index /= 10;
    }
}

void FormatEntryIndex(unsigned index, char (&text)[4])
{
    WriteEntryDigits(index, text);
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

// Registry tools may store the name with zero padding after it: the name is
// the text up to its first zero, whatever the value's size.
static bool ReadKeyCode(RegKey& entry, UINT* code)
{
    SharedString name;
    return entry.ReadString("Key", name) && KeyFromName(name.Text(), code);
}

// Opens the entry's key "Keys\NNN" below the application key in one go.
static bool OpenEntry(int index, RegKey& entry)
{
    static const char EntryPath[] = "Keys\\000";
    char path[64];
    ApplicationSubKeyPath(EntryPath, path);
    // The digits replace the path's last three characters.
    WriteEntryDigits(static_cast<unsigned>(index), path + ApplicationKeyNameLength + sizeof(EntryPath) - 4);
    return entry.Open(HKEY_CURRENT_USER, path, KEY_READ);
}

static bool ReadEntry(RegKey& entry, HotKey& record)
{
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

bool LoadHotKey(int index, HotKey& record)
{
    RegKey entry;
    return OpenEntry(index, entry) && ReadEntry(entry, record);
}

void LoadHotKeys(HotKeyList& list)
{
    HotKey record;
    // Entry names have three digits, so the table ends at 999 whatever else
    // the registry holds. An entry that cannot be read (a key name of a
    // layout since removed, a hand-edited modifier) is left out, and only
    // itself: the next save drops it like a deleted row.
    for (int index = 0; index < MaxHotKeys; ++index) {
        RegKey entry;
        if (!OpenEntry(index, entry))
            break;
        if (ReadEntry(entry, record)) {
            if (!list.Append(record))
                break;
        } else if (!entry.HasValue("Key")) {
            // An entry without a key name is one that a save could not delete.
            break;
        }
    }
    if (list.count == 0) {
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

// The first-run table, in order. The dravik rows share one command line and
// one name, so the file is looked for once and its path shared by the three
// entries.
static const char DravikFile[] = "dravik.exe";
static const struct {
    const char* fileName;
    UINT key;
    UINT modifiers;
    const char* parameters;
} DefaultHotKeys[] = {
    {"pellin.exe", VK_SPACE, HotKeyCtrl | HotKeyWin, nullptr},
    {DravikFile, '1', HotKeyWin, "1024 768"},
    {DravikFile, '6', HotKeyWin, "640 480"},
    {DravikFile, '8', HotKeyWin, "800 600"},
};

void AddDefaultHotKeysFor(HotKeyList& list, const char* programPath)
{
    char path[MAX_PATH];
    HotKey record;
    const char* fileName = nullptr;
    bool found = false;
    for (const auto& row : DefaultHotKeys) {
        if (row.fileName != fileName) {
            fileName = row.fileName;
            found = CompanionPath(programPath, fileName, path) && FileExists(path);
            if (found)
                record.commandLine.Assign(path);
        }
        if (!found)
            continue;
        record.key = row.key;
        record.modifiers = row.modifiers;
        record.parameters.Assign(row.parameters);
        list.Append(record);
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

static bool SameText(const SharedString& a, const SharedString& b)
{
    LONG length = a.Length();
    if (b.Length() != length)
        return false;
    for (LONG i = 0; i < length; ++i) {
        if (a.Text()[i] != b.Text()[i])
            return false;
    }
    return true;
}

// Leaves a value alone that already holds the text, whatever its type: a
// rewrite would take it through the code page, and an expandable text
// would lose its type.
static void WriteChangedText(RegKey& entry, const char* name, const SharedString& text)
{
    SharedString stored;
    if (!entry.ReadString(name, stored) || !SameText(stored, text))
        entry.WriteString(name, text.Text());
}

// An optional text is stored only when it has characters; otherwise an old
// value of that number must not survive.
static void WriteOptionalText(RegKey& entry, const char* name, const SharedString& text)
{
    if (text.Length() > 0)
        WriteChangedText(entry, name, text);
    else
        entry.DeleteValue(name);
}

// Writes the entry over what its number holds, only the values that differ.
// A stored key name that still names the key stays, even if another layout
// would name it otherwise.
static void SaveHotKey(RegKey& entry, const HotKey& hotKey)
{
    UINT key;
    if (!ReadKeyCode(entry, &key) || key != hotKey.key)
        entry.WriteString("Key", StoredKeyName(hotKey.key));
    DWORD modifiers;
    if (!entry.ReadDword("Modifier", &modifiers) || modifiers != hotKey.modifiers)
        entry.WriteDword("Modifier", hotKey.modifiers);
    WriteChangedText(entry, "CommandLine", hotKey.commandLine);
    WriteOptionalText(entry, "Parameters", hotKey.parameters);
    WriteOptionalText(entry, "WorkingDirectory", hotKey.workingDirectory);
}

// Removes a stored entry beyond the new table. A key that cannot be deleted
// (a subkey whose name the code page cannot give, say) at least loses its
// key name, so that loading stops there and no removed entry comes back.
static void RemoveEntry(RegKey& keys, const char* name)
{
    RegKey entry;
    if (!entry.Open(keys.Handle(), name, KEY_SET_VALUE) || keys.DeleteKeyTree(name))
        return;
    entry.DeleteValue("Key");
}

// Each number holds its old entry until the new one is written over it, so
// a save cut short leaves every entry of the shorter table loadable.
void SaveHotKeys(const HotKeyList& list)
{
    RegKey application;
    RegKey keys;
    if (!application.Open(HKEY_CURRENT_USER, ApplicationKeyName, KEY_ALL_ACCESS)
        || !keys.Create(application.Handle(), "Keys", KEY_ALL_ACCESS))
        return;
    char name[4];
    // First the new table over the old, without gaps even when an entry's
    // key cannot be made: loading stops at the first missing number.
    unsigned stored = 0;
    for (LONG i = 0; i < list.count && stored < MaxHotKeys; ++i) {
        FormatEntryIndex(stored, name);
        RegKey entry;
        if (entry.Create(keys.Handle(), name, KEY_ALL_ACCESS)) {
            SaveHotKey(entry, list.items[i]);
            ++stored;
        }
    }
    // Then every number beyond it, also those behind a gap, which a later
    // save that closes the gap would bring back.
    for (; stored < MaxHotKeys; ++stored) {
        FormatEntryIndex(stored, name);
        RemoveEntry(keys, name);
    }
}
