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
        // An entry without a key name is one that a save could not delete.
        if (!OpenEntry(index, entry) || !entry.HasValue("Key"))
            break;
        if (ReadEntry(entry, record) && !list.Append(record))
            break;
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

// An optional text is written only when it has characters; otherwise an
// old value of an earlier entry of that number must not survive.
static void WriteOptionalText(RegKey& entry, const char* name, const SharedString& text)
{
    if (text.Length() > 0)
        entry.WriteString(name, text.Text());
    else
        entry.DeleteValue(name);
}

// Writes one entry completely, removing optional values that the entry does
// not have, in case an old entry of that number survived.
static void SaveHotKey(RegKey& entry, const HotKey& hotKey)
{
    entry.WriteString("Key", StoredKeyName(hotKey.key));
    entry.WriteDword("Modifier", hotKey.modifiers);
    entry.WriteString("CommandLine", hotKey.commandLine.Text());
    WriteOptionalText(entry, "Parameters", hotKey.parameters);
    WriteOptionalText(entry, "WorkingDirectory", hotKey.workingDirectory);
}

// Removes a stored entry beyond the new table. A key that cannot be deleted
// (a subkey whose name the code page cannot give, say) at least loses its
// key name, so that loading stops there and no removed entry comes back.
static void RemoveEntry(RegKey& keys, const char* name)
{
    if (keys.DeleteKeyTree(name))
        return;
    RegKey entry;
    if (entry.Open(keys.Handle(), name, KEY_SET_VALUE))
        entry.DeleteValue("Key");
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
    // loading stops at the first missing number. Whatever a failed deletion
    // left beyond the new table must not load again.
    unsigned stored = 0;
    LONG i = 0;
    while (stored < MaxHotKeys) {
        char name[4];
        FormatEntryIndex(stored, name);
        if (i < list.count) {
            RegKey entry;
            if (entry.Create(keys.Handle(), name, KEY_ALL_ACCESS)) {
                SaveHotKey(entry, list.items[i]);
                ++stored;
            }
            ++i;
        } else if (oldTableDeleted) {
            break;
        } else {
            RemoveEntry(keys, name);
            ++stored;
        }
    }
}
