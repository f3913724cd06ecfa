#pragma once
// Direct registry access for tests: seeding and inspecting what Zindral stores,
// without going through the code under test.
#include <windows.h>
#include <string>
#include <vector>

namespace testreg {

constexpr const char* AppKey = "Software\\Orvane\\Zindral";

void DeleteTree(const char* path);                  // below HKCU; missing is fine
void DeleteSettings();                              // HKCU\Software\Orvane
void CreateKey(const std::string& path);
void SetString(const std::string& path, const char* name, const std::string& value);
void SetRaw(const std::string& path, const char* name, DWORD type, const void* data, DWORD size);
void SetDword(const std::string& path, const char* name, DWORD value);
bool Exists(const std::string& path);
bool HasValue(const std::string& path, const char* name);
std::vector<std::string> SubKeys(const std::string& path);
std::string GetString(const std::string& path, const char* name);
DWORD GetDword(const std::string& path, const char* name, DWORD* type = nullptr);
std::string EntryPath(int index);                   // AppKey\Keys\NNN
// Writes one complete entry as Zindral stores it.
void SeedEntry(int index, const char* key, DWORD modifiers, const char* commandLine,
               const char* parameters = nullptr, const char* workingDirectory = nullptr);

} // namespace testreg
