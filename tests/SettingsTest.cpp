// The settings: the registry key and its values, and loading and saving the table.
#include "settings/Settings.h"
#include "tests/TestHeap.h"
#include "TestRegistry.h"
#include "tests/ImportSlot.h"
#include "tests/TestEntry.h"
#include "tests/e2e/Driver.h"
#include <gtest/gtest.h>
#include <cstring>
#include <initializer_list>
#include <string>

using namespace testreg;

namespace {

const std::string Keys = std::string(AppKey) + "\\Keys";

// A test that fails halfway must not leave the heap failing for the next.
class Settings : public ::testing::Test {
protected:
    void SetUp() override { DeleteSettings(); }
    void TearDown() override
    {
        g_allocationsBeforeFailure = -1;
        DeleteSettings();
    }
};

// A table as the dialog hands it over.
struct Table : HotKeyList {
    Table(std::initializer_list<HotKey> entries = {})
    {
        for (const HotKey& entry : entries)
            Append(entry);
    }
};

// The table as loading finds it now.
struct Loaded : HotKeyList {
    Loaded() { LoadHotKeys(*this); }
};

// A companion program beside the test program while the object lives.
class Companion {
public:
    explicit Companion(const char* name) : path(e2e::ProgramFolder() + name)
    {
        CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    ~Companion() { DeleteFileA(path.c_str()); }

private:
    const std::string path;
};

// Volatile keys: one named with characters that the system code page cannot
// give cannot be opened by an ANSI name, so its parent cannot be deleted.
const std::wstring WideKeys = L"Software\\Orvane\\Zindral\\Keys";
const std::wstring Undeletable = L"\\\u4E2D\u6587";

bool CreateVolatileKey(const std::wstring& path)
{
    HKEY key;
    return RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           &key, nullptr) == ERROR_SUCCESS
           && RegCloseKey(key) == ERROR_SUCCESS;
}

TEST(FormatEntryIndex, ThreeDigitsOfTheIndex)
{
    char text[4];
    FormatEntryIndex(0, text);
    EXPECT_STREQ("000", text);
    FormatEntryIndex(7, text);
    EXPECT_STREQ("007", text);
    FormatEntryIndex(12, text);
    EXPECT_STREQ("012", text);
    FormatEntryIndex(999, text);
    EXPECT_STREQ("999", text);
    FormatEntryIndex(1234, text);
    EXPECT_STREQ("234", text);
}

TEST(FileExists, FilesAndDirectoriesCount)
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_TRUE(FileExists(windows));
    EXPECT_TRUE(FileExists((std::string(windows) + "\\notepad.exe").c_str()));
    EXPECT_FALSE(FileExists((std::string(windows) + "\\no-such-file.exe").c_str()));
}

TEST(CompanionPath, ReplacesTheFileNameAndNeverOverflows)
{
    char path[MAX_PATH];
    ASSERT_TRUE(CompanionPath("C:\\Tools\\zindral.exe", "dravik.exe", path));
    EXPECT_STREQ("C:\\Tools\\dravik.exe", path);
    ASSERT_TRUE(CompanionPath("zindral.exe", "pellin.exe", path));
    EXPECT_STREQ("pellin.exe", path);

    // Exactly fitting: directory + name + zero == MAX_PATH.
    std::string directory = "C:\\" + std::string(MAX_PATH - 1 - 10 - 4, 'd') + "\\";
    ASSERT_TRUE(CompanionPath((directory + "z.exe").c_str(), "dravik.exe", path));
    EXPECT_EQ(MAX_PATH - 1, lstrlenA(path));
    std::string longer = "C:\\" + std::string(MAX_PATH - 1 - 10 - 3, 'd') + "\\";
    lstrcpyA(path, "untouched");
    EXPECT_FALSE(CompanionPath((longer + "z.exe").c_str(), "dravik.exe", path));
    EXPECT_STREQ("untouched", path);
}

TEST_F(Settings, DeleteKeyTreeRemovesNestedKeys)
{
    CreateKey(std::string(AppKey) + "\\Tree\\a\\b\\c");
    CreateKey(std::string(AppKey) + "\\Tree\\a\\d");
    CreateKey(std::string(AppKey) + "\\Tree\\e");
    SetString(std::string(AppKey) + "\\Tree\\a\\b", "v", "x");
    RegKey app;
    ASSERT_TRUE(app.Open(HKEY_CURRENT_USER, ApplicationKeyName, KEY_ALL_ACCESS));
    EXPECT_TRUE(app.DeleteKeyTree("Tree"));
    EXPECT_FALSE(Exists(std::string(AppKey) + "\\Tree"));
    EXPECT_TRUE(Exists(AppKey));
    EXPECT_FALSE(app.DeleteKeyTree("Tree"));
}

TEST_F(Settings, RegKeyOpenFailuresKeepOrEmptyTheObjectAndASubKeyReplacesIt)
{
    RegKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, ApplicationKeyName, KEY_READ));
    EXPECT_EQ(nullptr, key.Handle());
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, ApplicationKeyName, KEY_ALL_ACCESS));
    HKEY parent = key.Handle();
    EXPECT_FALSE(key.OpenSubKey("Missing", KEY_READ));
    EXPECT_EQ(parent, key.Handle());
    DWORD value = 7;
    EXPECT_FALSE(key.ReadDword("Missing", &value));
    EXPECT_EQ(7u, value);

    SetDword(std::string(AppKey) + "\\Child", "Number", 42);
    ASSERT_TRUE(key.OpenSubKey("Child", KEY_READ));
    EXPECT_TRUE(key.ReadDword("Number", &value));
    EXPECT_EQ(42u, value);
}

TEST_F(Settings, ReadStringTakesExactlyTheStoredData)
{
    SetRaw(AppKey, "Unterminated", REG_SZ, "abcdef", 3);
    SetRaw(AppKey, "Empty", REG_SZ, "", 0);
    SetRaw(AppKey, "Expand", REG_EXPAND_SZ, "x", 2);
    std::string big(65536, 'q');
    std::string bigSource = big + 'x';   // a zero after the data would be stored too
    SetRaw(AppKey, "Big", REG_SZ, bigSource.data(), static_cast<DWORD>(big.size()));
    SetRaw(AppKey, "Short", REG_DWORD, "\x01\x02", 2);
    SetDword(AppKey, "Dword", 42);

    RegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, ApplicationKeyName, KEY_READ));
    SharedString text;
    ASSERT_TRUE(key.ReadString("Unterminated", text));
    EXPECT_STREQ("abc", text.Text());
    ASSERT_TRUE(key.ReadString("Empty", text));
    EXPECT_STREQ("", text.Text());
    ASSERT_TRUE(key.ReadString("Big", text));
    EXPECT_EQ(65536, text.Length());
    EXPECT_EQ(big, text.Text());
    ASSERT_TRUE(key.ReadString("Expand", text));   // unexpanded: the shell expands it
    EXPECT_STREQ("x", text.Text());
    text.Assign("earlier");
    EXPECT_FALSE(key.ReadString("Missing", text));
    EXPECT_EQ(nullptr, text.Text());

    DWORD value = 5;
    EXPECT_FALSE(key.ReadDword("Short", &value));   // fewer than 4 bytes
    EXPECT_EQ(5u, value);
    EXPECT_FALSE(key.ReadDword("Empty", &value));
    EXPECT_TRUE(key.ReadDword("Dword", &value));
    EXPECT_EQ(42u, value);
}

// A text that owns its buffer is read into it in place; data that fills the
// buffer exactly and lacks its terminator must not be copied out of a block
// that the copy itself frees. A copy the heap refuses is a failed read.
TEST_F(Settings, ReadStringIntoATextThatOwnsItsBuffer)
{
    // The writer adds a terminator when the byte after the data is zero, as
    // Windows does: a character there keeps the data unterminated.
    std::string full(384, 'r');
    std::string source = full + 'x';
    SetRaw(AppKey, "Full", REG_SZ, source.data(), 384);
    SetString(AppKey, "Short", std::string(200, 's'));
    RegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, ApplicationKeyName, KEY_READ));

    SharedString text;
    text.Assign(std::string(300, 'o').c_str());   // capacity 384, its own
    ASSERT_EQ(384, BufferOf(text)->capacity);
    ASSERT_TRUE(key.ReadString("Full", text));
    EXPECT_EQ(full, text.Text());

    SharedString small;
    small.Assign("old");   // capacity 128: the text needs a new buffer
    g_allocationsBeforeFailure = 0;
    EXPECT_FALSE(key.ReadString("Short", small));
    g_allocationsBeforeFailure = -1;
    EXPECT_EQ(nullptr, small.Text());

    // The same through an entry, into a record reused from the entry before.
    SeedEntry(0, "A", 8, "a.exe");
    SetRaw(EntryPath(0), "CommandLine", REG_SZ, source.data(), 384);
    SeedEntry(1, "B", 8, std::string(200, 'b').c_str());
    HotKey record;
    record.commandLine.Assign(std::string(300, 'o').c_str());
    ASSERT_TRUE(LoadHotKey(0, record));
    EXPECT_EQ(full, record.commandLine.Text());
    record.commandLine.Release();
    record.commandLine.Assign("old");
    g_allocationsBeforeFailure = 1;   // the key name's text, not the command line's
    EXPECT_FALSE(LoadHotKey(1, record));
}

TEST_F(Settings, FirstRunOffersDefaultsForCompanionsBesideTheProgram)
{
    std::string dir = e2e::ProgramFolder();
    EXPECT_EQ(0, Loaded().count);   // neither companion beside the test program
    Companion dravik("dravik.exe");
    HotKeyList list;
    {
        Companion pellin("pellin.exe");
        LoadHotKeys(list);
    }
    ASSERT_EQ(4, list.count);
    struct { UINT key; UINT modifiers; const char* file; const char* parameters; } expected[] = {
        {VK_SPACE, 10, "pellin.exe", nullptr}, {'1', 8, "dravik.exe", "1024 768"},
        {'6', 8, "dravik.exe", "640 480"}, {'8', 8, "dravik.exe", "800 600"},
    };
    for (int i = 0; i < 4; ++i) {
        const HotKey& h = list.items[i];
        EXPECT_EQ(expected[i].key, h.key);
        EXPECT_EQ(expected[i].modifiers, h.modifiers);
        EXPECT_EQ(dir + expected[i].file, h.commandLine.Text());
        EXPECT_STREQ(expected[i].parameters, h.parameters.Text());   // two nulls are equal
        EXPECT_EQ(nullptr, h.workingDirectory.Text());
        EXPECT_EQ(nullptr, h.verb.Text());
    }
    EXPECT_EQ(BufferOf(list.items[1].commandLine), BufferOf(list.items[3].commandLine));
    EXPECT_FALSE(Exists(AppKey));   // defaults live only in memory

    // Only dravik: three entries; a path too long for the companion: none.
    HotKeyList only;
    AddDefaultHotKeysFor(only, (dir + "zindral.exe").c_str());
    AddDefaultHotKeysFor(only, (dir + std::string(MAX_PATH, 'x') + "\\zindral.exe").c_str());
    EXPECT_EQ(3, only.count);
}

TEST_F(Settings, ApplicationKeyWithoutTableMeansNoDefaults)
{
    CreateKey(AppKey);
    Companion dravik("dravik.exe");
    EXPECT_EQ(0, Loaded().count);
}

TEST_F(Settings, LoadingStopsAtTheFirstMissingEntry)
{
    SeedEntry(0, "A", 8, "a.exe", "pa", "C:\\a");
    SeedEntry(1, "F5", 3, "b.exe");
    SeedEntry(3, "C", 8, "c.exe");
    Loaded list;
    ASSERT_EQ(2, list.count);
    EXPECT_EQ(UINT('A'), list.items[0].key);
    EXPECT_STREQ("pa", list.items[0].parameters.Text());
    EXPECT_STREQ("C:\\a", list.items[0].workingDirectory.Text());
    EXPECT_EQ(UINT(VK_F5), list.items[1].key);
    EXPECT_EQ(3u, list.items[1].modifiers);
    // Nothing of the entry before survives in a record read after it.
    EXPECT_EQ(nullptr, list.items[1].parameters.Text());
    EXPECT_EQ(nullptr, list.items[1].workingDirectory.Text());
}

// An entry that cannot be read costs only itself; an entry key without a
// "Key" value is what a save leaves of an entry it could not delete, and
// ends the table like a missing number.
TEST_F(Settings, LoadingSkipsUnreadableEntriesUpToTheFirstMissingOne)
{
    SeedEntry(0, "A", 8, "a.exe");
    SeedEntry(1, "NoSuchKey", 8, "b.exe");
    SeedEntry(2, "F5", 3, "c.exe");
    SeedEntry(3, "B", 8, "d.exe");
    SetString(EntryPath(3), "Modifier", "8");
    SeedEntry(4, "C", 8, "e.exe");
    SetRaw(EntryPath(4), "CommandLine", REG_EXPAND_SZ, "%WINDIR%\\e.exe", 15);
    SetRaw(EntryPath(4), "Parameters", REG_EXPAND_SZ, "%TEMP%", 7);
    SetRaw(EntryPath(4), "WorkingDirectory", REG_EXPAND_SZ, "%TEMP%\\", 8);
    SeedEntry(6, "D", 8, "beyond the gap.exe");
    Loaded list;
    ASSERT_EQ(3, list.count);
    EXPECT_STREQ("a.exe", list.items[0].commandLine.Text());
    EXPECT_STREQ("c.exe", list.items[1].commandLine.Text());
    EXPECT_STREQ("%WINDIR%\\e.exe", list.items[2].commandLine.Text());
    EXPECT_STREQ("%TEMP%", list.items[2].parameters.Text());
    EXPECT_STREQ("%TEMP%\\", list.items[2].workingDirectory.Text());

    RegDeleteKeyValueA(HKEY_CURRENT_USER, EntryPath(2).c_str(), "Key");
    EXPECT_EQ(1, Loaded().count);
}

TEST_F(Settings, KeyNameIsTheTextUpToItsFirstZero)
{
    SeedEntry(0, "A", 8, "a.exe");
    SeedEntry(1, "B", 8, "b.exe");
    char padded[32] = "F5";   // as registry tools write it, zeros after the name
    SetRaw(EntryPath(0), "Key", REG_SZ, padded, sizeof(padded));
    Loaded list;
    ASSERT_EQ(2, list.count);
    EXPECT_EQ(UINT(VK_F5), list.items[0].key);
}

TEST_F(Settings, SaveWritesTheLayoutAndLoadsBack)
{
    CreateKey(AppKey);
    Table list{MakeEntry(VK_SPACE, 10, "C:\\pellin.exe"), MakeEntry('1', 8, "C:\\dravik.exe", "1024 768"),
               MakeEntry(VK_F12, 15, "%WINDIR%\\notepad.exe", "", ""),
               MakeEntry(VK_SEPARATOR, 1, "x.exe", nullptr, "C:\\")};   // the last key has no name
    SaveHotKeys(list);

    EXPECT_EQ("Space", GetString(EntryPath(0), "Key"));
    DWORD type = 0;
    EXPECT_EQ(10u, GetDword(EntryPath(0), "Modifier", &type));
    EXPECT_EQ(DWORD(REG_DWORD), type);
    EXPECT_EQ("1", GetString(EntryPath(1), "Key"));
    EXPECT_EQ("1024 768", GetString(EntryPath(1), "Parameters"));
    EXPECT_FALSE(HasValue(EntryPath(1), "WorkingDirectory"));
    EXPECT_FALSE(HasValue(EntryPath(2), "Parameters"));
    EXPECT_FALSE(HasValue(EntryPath(2), "WorkingDirectory"));
    EXPECT_EQ("#108", GetString(EntryPath(3), "Key"));

    Loaded loaded;
    ASSERT_EQ(4, loaded.count);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(list.items[i].key, loaded.items[i].key);
        EXPECT_EQ(list.items[i].modifiers, loaded.items[i].modifiers);
        EXPECT_STREQ(list.items[i].commandLine.Text(), loaded.items[i].commandLine.Text());
    }
    EXPECT_EQ(nullptr, loaded.items[2].parameters.Text());   // empty text is not stored
    EXPECT_STREQ("C:\\", loaded.items[3].workingDirectory.Text());
}

TEST_F(Settings, SavingAShorterTableLeavesExactlyItsEntries)
{
    for (int i = 0; i < 5; ++i)
        SeedEntry(i, "A", 8, "old.exe", "old parameters", "C:\\old");
    SaveHotKeys(Table{MakeEntry('B', 8, "new.exe"), MakeEntry('C', 8, "new.exe")});
    EXPECT_EQ((std::vector<std::string>{"000", "001"}), SubKeys(Keys));
    EXPECT_FALSE(HasValue(EntryPath(0), "Parameters"));
}

TEST_F(Settings, SaveWithoutApplicationKeyChangesNothing)
{
    SaveHotKeys(Table{MakeEntry('B', 8, "new.exe")});
    EXPECT_FALSE(Exists(AppKey));
}

TEST_F(Settings, ATableBeyondAThousandEntriesIsCutNotWrapped)
{
    CreateKey(AppKey);
    Table list;
    for (int i = 0; i < 1005; ++i)
        list.Append(MakeEntry('A' + i % 26, 8, std::to_string(i).c_str()));
    SaveHotKeys(list);
    EXPECT_EQ(1000u, SubKeys(Keys).size());
    EXPECT_EQ("0", GetString(EntryPath(0), "CommandLine"));
    EXPECT_EQ("999", GetString(EntryPath(999), "CommandLine"));
    EXPECT_EQ(1000, Loaded().count);
}

// When the old table cannot be deleted, saving must still leave exactly the
// new table to load.
TEST_F(Settings, SavingOverAnUndeletableTableLeavesOnlyTheNewEntries)
{
    for (int i = 0; i < 5; ++i)
        SeedEntry(i, "A", 8, "old.exe", "old parameters", "C:\\old");
    ASSERT_TRUE(CreateVolatileKey(WideKeys + L"\\000" + Undeletable));
    SaveHotKeys(Table{MakeEntry('B', 8, "new.exe"), MakeEntry('C', 8, "new.exe", nullptr, "C:\\new")});
    Loaded loaded;
    ASSERT_EQ(2, loaded.count);
    EXPECT_EQ(UINT('B'), loaded.items[0].key);
    EXPECT_EQ(nullptr, loaded.items[0].parameters.Text());
    EXPECT_EQ(nullptr, loaded.items[0].workingDirectory.Text());
    EXPECT_STREQ("C:\\new", loaded.items[1].workingDirectory.Text());
    EXPECT_EQ((std::vector<std::string>{"000", "001"}), SubKeys(Keys));
}

TEST_F(Settings, AnUndeletableEntryBeyondTheNewTableNeverLoadsAgain)
{
    for (int i = 0; i < 5; ++i)
        SeedEntry(i, "A", 8, "old.exe");
    ASSERT_TRUE(CreateVolatileKey(WideKeys + L"\\002" + Undeletable));
    SaveHotKeys(Table{MakeEntry('B', 8, "new.exe"), MakeEntry('C', 8, "new.exe")});
    EXPECT_EQ(2, Loaded().count);
}

TEST_F(Settings, AnEntryThatCannotBeCreatedLeavesNoGap)
{
    // A volatile table accepts no new non-volatile entry keys, only existing
    // ones: 000 can be written, 001 cannot, 002 exists.
    ASSERT_TRUE(CreateVolatileKey(WideKeys));
    ASSERT_TRUE(CreateVolatileKey(WideKeys + L"\\000" + Undeletable));
    ASSERT_TRUE(CreateVolatileKey(WideKeys + L"\\002"));

    SaveHotKeys(Table{MakeEntry('A', 8, "a.exe"), MakeEntry('B', 8, "b.exe"), MakeEntry('C', 8, "c.exe")});
    // Entry C must not land at 002 behind a gap, where it would never load.
    EXPECT_EQ((std::vector<std::string>{"000"}), SubKeys(Keys));
    Loaded loaded;
    ASSERT_EQ(1, loaded.count);
    EXPECT_STREQ("a.exe", loaded.items[0].commandLine.Text());
}

// The registry writes that the code under test makes, counted through the
// program's own import slots while an object of this class lives. Deleting
// what is not there changes nothing, and does not count.
IMPORT_SLOT(RegSetValueExA, 24);
IMPORT_SLOT(RegDeleteValueA, 8);
IMPORT_SLOT(RegDeleteKeyA, 8);

class CountedWrites {
public:
    CountedWrites() { count = 0; }
    static inline int count;

private:
    static LONG WINAPI CountedSetValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
    {
        ++count;
        return Intercept<RegSetValueExASlot>::original(key, name, reserved, type, data, size);
    }
    static LONG WINAPI CountedDeleteValue(HKEY key, LPCSTR name)
    {
        return Deleted(Intercept<RegDeleteValueASlot>::original(key, name));
    }
    static LONG WINAPI CountedDeleteKey(HKEY key, LPCSTR name)
    {
        return Deleted(Intercept<RegDeleteKeyASlot>::original(key, name));
    }
    static LONG Deleted(LONG result)
    {
        count += result == ERROR_SUCCESS;
        return result;
    }
    Intercept<RegSetValueExASlot> setValue{CountedSetValue};
    Intercept<RegDeleteValueASlot> deleteValue{CountedDeleteValue};
    Intercept<RegDeleteKeyASlot> deleteKey{CountedDeleteKey};
};

int WritesOfSaving(const HotKeyList& list)
{
    CountedWrites writes;
    SaveHotKeys(list);
    return CountedWrites::count;
}

TEST_F(Settings, SaveWritesOnlyWhatDiffers)
{
    CreateKey(AppKey);
    Table list;
    for (int i = 0; i < 6; ++i)
        list.Append(MakeEntry(VK_F1 + i, 8, "x.exe", i % 2 ? "parameters" : nullptr, i % 3 ? nullptr : "C:\\"));
    SaveHotKeys(list);
    EXPECT_EQ(0, WritesOfSaving(list));

    list.items[2].commandLine.Assign("y.exe");
    EXPECT_EQ(1, WritesOfSaving(list));
    list.items[3].parameters.Release();
    list.items[4].modifiers = 9;
    EXPECT_EQ(2, WritesOfSaving(list));
    list.count = 5;
    EXPECT_EQ(1, WritesOfSaving(list));   // the sixth entry's key goes
    EXPECT_EQ((std::vector<std::string>{"000", "001", "002", "003", "004"}), SubKeys(Keys));

    Loaded loaded;
    ASSERT_EQ(5, loaded.count);
    EXPECT_STREQ("y.exe", loaded.items[2].commandLine.Text());
    EXPECT_EQ(nullptr, loaded.items[3].parameters.Text());
    EXPECT_EQ(9u, loaded.items[4].modifiers);
    EXPECT_EQ(0, WritesOfSaving(loaded));
}

// Another program, or a Unicode .reg file, may store what the code page
// cannot hold; an entry that the user left alone must keep it exactly.
TEST_F(Settings, AnEntryLeftAloneKeepsItsStoredData)
{
    for (int i = 0; i < 3; ++i)
        SeedEntry(i, "A", 8, "a.exe");
    const wchar_t command[] = L"C:\\Micha\u0142\\tool.exe";
    HKEY entry;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, EntryPath(1).c_str(), 0, KEY_ALL_ACCESS, &entry));
    RegSetValueExW(entry, L"CommandLine", 0, REG_SZ, reinterpret_cast<const BYTE*>(command), sizeof(command));
    RegSetValueExA(entry, "Parameters", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("%TEMP%"), 7);
    Loaded list;
    ASSERT_EQ(3, list.count);
    list.items[2].commandLine.Assign("edited.exe");
    SaveHotKeys(list);

    wchar_t stored[64] = {};
    DWORD type = 0, size = sizeof(stored);
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(entry, L"CommandLine", nullptr, &type, reinterpret_cast<BYTE*>(stored), &size));
    EXPECT_EQ(sizeof(command), size);
    EXPECT_EQ(0, memcmp(command, stored, sizeof(command)));
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(entry, "Parameters", nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(DWORD(REG_EXPAND_SZ), type);
    RegCloseKey(entry);
    EXPECT_EQ("edited.exe", GetString(EntryPath(2), "CommandLine"));
}

TEST_F(Settings, HeapFailureWhileLoadingLosesNothingAlreadyRead)
{
    SeedEntry(0, "A", 8, "a.exe");
    SeedEntry(1, "B", 8, "b.exe");
    g_allocationsBeforeFailure = 3;   // the first key name, command line, and the array
    Loaded list;
    ASSERT_EQ(1, list.count);
    EXPECT_STREQ("a.exe", list.items[0].commandLine.Text());
}

} // namespace
