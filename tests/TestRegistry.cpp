// Seeding and reading the test prefix's settings.
#include "TestRegistry.h"
#include <cstdio>

namespace testreg {

void DeleteTree(const char* path)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, path);
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

void DeleteSettings() { DeleteTree("Software\\Orvane"); }

void CreateKey(const std::string& path)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
}

// The key is created when it is missing.
void SetRaw(const std::string& path, const char* name, DWORD type, const void* data, DWORD size)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), name, type, data, size);
}

void SetString(const std::string& path, const char* name, const std::string& value)
{
    SetRaw(path, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void SetDword(const std::string& path, const char* name, DWORD value)
{
    SetRaw(path, name, REG_DWORD, &value, sizeof(value));
}

bool Exists(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool HasValue(const std::string& path, const char* name)
{
    return RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::vector<std::string> SubKeys(const std::string& path)
{
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

std::string GetString(const std::string& path, const char* name)
{
    char data[70000];
    DWORD size = sizeof(data);
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "<missing>";
    return data;
}

DWORD GetDword(const std::string& path, const char* name, DWORD* type)
{
    DWORD value = 0xDEADBEEF, size = sizeof(value), t = 0;
    RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_ANY, &t, &value, &size);
    if (type)
        *type = t;
    return value;
}

std::string EntryPath(int index)
{
    char name[64];
    std::snprintf(name, sizeof(name), "%s\\Keys\\%03d", AppKey, index);
    return name;
}

void SeedEntry(int index, const char* key, DWORD modifiers, const char* commandLine,
               const char* parameters, const char* workingDirectory)
{
    std::string path = EntryPath(index);
    SetString(path, "Key", key);
    SetDword(path, "Modifier", modifiers);
    SetString(path, "CommandLine", commandLine);
    if (parameters)
        SetString(path, "Parameters", parameters);
    if (workingDirectory)
        SetString(path, "WorkingDirectory", workingDirectory);
}

} // namespace testreg
