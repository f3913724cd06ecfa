// Load and save of a 999-entry table, each against a baseline that makes only
// the raw registry calls for the same values, in the same run.
#include "tests/TestHeap.h"
#include "settings/Settings.h"
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Entries = 999;
constexpr int Rounds = 7;
const char* const KeysPath = "Software\\Orvane\\Zindral\\Keys";

double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename F> double Median(F operation)
{
    std::vector<double> times;
    for (int i = 0; i < Rounds; ++i) {
        double start = Now();
        operation();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[Rounds / 2];
}

// The table from entry `first` on, as the dialog hands it over after the
// first rows were deleted: every entry moves, so every entry is written.
void MakeTable(HotKeyList& list, int first = 0)
{
    for (int i = first; i < Entries; ++i) {
        char command[64], parameters[32];
        std::snprintf(command, sizeof(command), "C:\\Program Files\\Tools\\tool%03d.exe", i);
        std::snprintf(parameters, sizeof(parameters), "%d %d", 640 + i, 480 + i);
        HotKey h;
        h.key = 'A' + i % 26;
        h.modifiers = HotKeyWin | (i % 4);
        h.commandLine.Assign(command);
        if (i % 2)
            h.parameters.Assign(parameters);
        if (i % 3 == 0)
            h.workingDirectory.Assign("C:\\Program Files\\Tools\\");
        list.Append(h);
    }
}

// What loading must at least do: open each entry and read its five values.
void RawLoad()
{
    char path[64], text[300];
    for (int i = 0; i < Entries; ++i) {
        std::snprintf(path, sizeof(path), "%s\\%03d", KeysPath, i);
        HKEY entry;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &entry) != ERROR_SUCCESS)
            break;
        static const char* const names[] = {"Key", "Modifier", "CommandLine", "WorkingDirectory", "Parameters"};
        for (const char* name : names) {
            DWORD type, size = sizeof(text);
            RegQueryValueExA(entry, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
        }
        RegCloseKey(entry);
    }
}

// What saving must at least do: replace the table and write every value.
void RawSave(const HotKeyList& list)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, KeysPath);
    RegDeleteKeyA(HKEY_CURRENT_USER, KeysPath);
    HKEY keys;
    RegCreateKeyExA(HKEY_CURRENT_USER, KeysPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &keys, nullptr);
    for (int i = 0; i < list.count; ++i) {
        const HotKey& h = list.items[i];
        char name[4];
        std::snprintf(name, sizeof(name), "%03d", i);
        HKEY entry;
        RegCreateKeyExA(keys, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &entry, nullptr);
        char key[2] = {static_cast<char>(h.key), 0};
        RegSetValueExA(entry, "Key", 0, REG_SZ, reinterpret_cast<BYTE*>(key), 2);
        RegSetValueExA(entry, "Modifier", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&h.modifiers), 4);
        RegSetValueExA(entry, "CommandLine", 0, REG_SZ, reinterpret_cast<const BYTE*>(h.commandLine.Text()),
                       h.commandLine.Length() + 1);
        if (h.parameters.Length())
            RegSetValueExA(entry, "Parameters", 0, REG_SZ, reinterpret_cast<const BYTE*>(h.parameters.Text()),
                           h.parameters.Length() + 1);
        if (h.workingDirectory.Length())
            RegSetValueExA(entry, "WorkingDirectory", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(h.workingDirectory.Text()), h.workingDirectory.Length() + 1);
        RegCloseKey(entry);
    }
    RegCloseKey(keys);
}

} // namespace

int main()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvane");
    HKEY app;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvane\\Zindral", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &app, nullptr);
    RegCloseKey(app);

    HotKeyList table;
    MakeTable(table);
    SaveHotKeys(table);

    LONG before = g_allocatedBlocks;
    {
        HotKeyList loaded;
        LoadHotKeys(loaded);
        if (loaded.count != Entries) {
            std::printf("table bench: loaded %ld entries, expected %d\n", static_cast<long>(loaded.count), Entries);
            return 1;
        }
    }
    double blocksPerEntry = static_cast<double>(g_allocatedBlocks - before) / Entries;

    double rawLoad = Median(RawLoad);
    double load = Median([] { HotKeyList loaded; LoadHotKeys(loaded); });
    double rawSave = Median([&] { RawSave(table); });
    double save = Median([&] { SaveHotKeys(table); });
    HotKeyList moved;
    MakeTable(moved, 1);
    // Each round writes the moved table over the whole one, and back.
    double changed = Median([&] { SaveHotKeys(moved); SaveHotKeys(table); }) / 2;

    std::printf("table of %d entries, median of %d rounds\n", Entries, Rounds);
    std::printf("load:  %8.1f ms, raw registry calls %8.1f ms, ratio %.2fx (goal <= 2x)\n",
                load * 1000, rawLoad * 1000, load / rawLoad);
    std::printf("save:  %8.1f ms, raw registry calls %8.1f ms, ratio %.2fx (goal <= 1.5x)\n",
                save * 1000, rawSave * 1000, save / rawSave);
    std::printf("save of a table whose every entry moved: %8.1f ms, ratio %.2fx\n", changed * 1000,
                changed / rawSave);
    std::printf("heap blocks allocated per loaded entry: %.2f\n", blocksPerEntry);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Orvane");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Orvane");
    return 0;
}
