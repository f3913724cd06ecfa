#pragma once
// Zindral's settings in the registry: the key, its values and the table.
#include "model/HotKey.h"

// HKEY_CURRENT_USER\Software\Orvane\Zindral\ holds everything Zindral stores.
extern const char ApplicationKeyName[];   // "Software\\Orvane\\Zindral\\"
constexpr int ApplicationKeyNameLength = 24;
constexpr int MaxHotKeys = 1000;           // entry names 000 to 999

// Owner of one open registry key; closes it when destroyed.
class RegKey {
public:
    RegKey() : key(nullptr) {}
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    bool Open(HKEY parent, const char* subKey, REGSAM access);
    // On success the subkey replaces the held key; on failure the parent stays.
    bool OpenSubKey(const char* subKey, REGSAM access);
    bool Create(HKEY parent, const char* subKey, REGSAM access);
    void Close();
    bool DeleteKeyTree(const char* subKey);

    // A REG_SZ or REG_EXPAND_SZ value, unexpanded. On any failure the text
    // is left empty and the result is false.
    bool ReadString(const char* name, SharedString& text);
    bool HasValue(const char* name);
    // True only for a REG_DWORD of (at least) 4 bytes; value untouched otherwise.
    bool ReadDword(const char* name, DWORD* value);
    // Single writes whose result nobody examines.
    void WriteString(const char* name, const char* text);
    void WriteDword(const char* name, DWORD value);
    void DeleteValue(const char* name);
    // RegQueryValueExA on the held key; ERROR_INVALID_HANDLE when none is held.
    LONG QueryValue(const char* name, DWORD* type, void* data, DWORD* size);

    HKEY Handle() const { return key; }

private:
    bool Held(LONG result);

    HKEY key;
};

// Loading and saving the hot-key table under "Keys".
void LoadHotKeys(HotKeyList& list);
bool LoadHotKey(int index, HotKey& record);
void AddDefaultHotKeys(HotKeyList& list);
// The defaults for a program file at programPath (AddDefaultHotKeys passes
// the path of the running program).
void AddDefaultHotKeysFor(HotKeyList& list, const char* programPath);
// Puts fileName in place of the file name of programPath; false (and path
// untouched) when the result would not fit MAX_PATH characters with its zero.
bool CompanionPath(const char* programPath, const char* fileName, char (&path)[MAX_PATH]);
void SaveHotKeys(const HotKeyList& list);
void FormatEntryIndex(unsigned index, char (&text)[4]);
bool FileExists(const char* path);

// The path below HKEY_CURRENT_USER of a key below the application key; the
// subkey path is one of this program's own short names.
void ApplicationSubKeyPath(const char* subKey, char (&path)[64]);

// A dialog's geometry lives in its own subkey ("ConfigDlg", "HotKeyDlg").
// Opens it for reading without creating anything.
bool OpenDialogSettings(RegKey& key, const char* dialogName);
// Opens it for writing, creating the application key and subkey if missing.
bool CreateDialogSettings(RegKey& key, const char* dialogName);
