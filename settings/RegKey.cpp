// The settings key and its values, through an owned registry handle.
#include "settings/Settings.h"

const char ApplicationKeyName[] = "Software\\Orvane\\Zindral\\";
static_assert(sizeof(ApplicationKeyName) == ApplicationKeyNameLength + 1, "length of the key name");

// Keeps the handle that a successful open or create stored; empties the
// object otherwise.
bool RegKey::Held(LONG result)
{
    if (result == ERROR_SUCCESS)
        return true;
    key = nullptr;
    return false;
}

bool RegKey::Open(HKEY parent, const char* subKey, REGSAM access)
{
    Close();
    return Held(RegOpenKeyExA(parent, subKey, 0, access, &key));
}

bool RegKey::OpenSubKey(const char* subKey, REGSAM access)
{
    HKEY child;
    if (!key || RegOpenKeyExA(key, subKey, 0, access, &child) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    key = child;
    return true;
}

bool RegKey::Create(HKEY parent, const char* subKey, REGSAM access)
{
    Close();
    return Held(RegCreateKeyExA(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                &key, nullptr));
}

void RegKey::Close()
{
    if (key) {
        RegCloseKey(key);
        key = nullptr;
    }
}

bool RegKey::DeleteKeyTree(const char* subKey)
{
    RegKey child;
    if (!key || !child.Open(key, subKey, KEY_ALL_ACCESS))
        return false;
    for (;;) {
        char name[512];
        DWORD size = sizeof(name);
        // Always index 0: every deletion shifts the remaining subkeys down.
        if (RegEnumKeyExA(child.key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (!child.DeleteKeyTree(name))
            return false;
    }
    child.Close();
    return RegDeleteKeyA(key, subKey) == ERROR_SUCCESS;
}

// Length of the text in data of the given size: up to its first zero, or all
// of it when the value was stored without a terminator.
static LONG TextLength(const char* data, DWORD size)
{
    LONG length = 0;
    while (static_cast<DWORD>(length) < size && data[length])
        ++length;
    return length;
}

LONG RegKey::QueryValue(const char* name, DWORD* type, void* data, DWORD* size)
{
    return key ? RegQueryValueExA(key, name, nullptr, type, static_cast<BYTE*>(data), size)
               : ERROR_INVALID_HANDLE;
}

// Expandable texts, which registry editors make for "%ProgramFiles%" paths,
// are taken as written: the shell expands them when the entry starts.
static bool IsText(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

bool RegKey::ReadString(const char* name, SharedString& text)
{
    // Most texts fit a small local buffer, which saves a second query.
    char local[264];
    char* data = local;
    DWORD type = 0;
    DWORD size = sizeof(local);
    LONG result = QueryValue(name, &type, local, &size);
    if (result == ERROR_MORE_DATA && IsText(type) && size < 0x7FFFFFF0) {
        // Room for a terminator after the data: then the text below is taken
        // where it lies, and never copied out of a buffer that is replaced.
        DWORD reserved = size;
        data = text.Reserve(static_cast<LONG>(size) + 1);
        result = data ? QueryValue(name, &type, data, &size) : ERROR_OUTOFMEMORY;
        if (size > reserved)
            result = ERROR_MORE_DATA;
    }
    if (result == ERROR_SUCCESS && IsText(type) && text.AssignCounted(data, TextLength(data, size)))
        return true;
    text.Release();
    return false;
}

bool RegKey::ReadDword(const char* name, DWORD* value)
{
    DWORD data = 0;
    DWORD type = 0;
    DWORD size = sizeof(data);
    if (QueryValue(name, &type, &data, &size) != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(data))
        return false;
    *value = data;
    return true;
}

bool RegKey::HasValue(const char* name)
{
    return QueryValue(name, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void RegKey::WriteString(const char* name, const char* text)
{
    if (!text)
        text = "";
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(lstrlenA(text) + 1));
}

void RegKey::WriteDword(const char* name, DWORD value)
{
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void RegKey::DeleteValue(const char* name)
{
    RegDeleteValueA(key, name);
}

void ApplicationSubKeyPath(const char* subKey, char (&path)[64])
{
    lstrcpyA(path, ApplicationKeyName);
    lstrcpyA(path + ApplicationKeyNameLength, subKey);
}

bool OpenDialogSettings(RegKey& key, const char* dialogName)
{
    char path[64];
    ApplicationSubKeyPath(dialogName, path);
    return key.Open(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS);
}

// The platform creates every missing key on the path, the application key
// included.
bool CreateDialogSettings(RegKey& key, const char* dialogName)
{
    char path[64];
    ApplicationSubKeyPath(dialogName, path);
    return key.Create(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS);
}
