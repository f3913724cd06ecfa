// Loads a few hundred randomly malformed tables and checks that loading never
// crashes and yields exactly the readable entries before the first missing
// one; then saves another table over each and checks what is stored.
#include "settings/Settings.h"
#include "TestRegistry.h"
#include "tests/TestEntry.h"
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace testreg;

namespace {

// An entry as loading must yield it; an optional text without a value is
// one that loading must leave empty.
struct Expected {
    UINT key;
    DWORD modifiers;
    std::string commandLine;
    std::optional<std::string> parameters;
    std::optional<std::string> directory;
};

class TableWriter {
public:
    explicit TableWriter(unsigned seed) : random(seed) {}

    int Pick(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

    // A text as it may be stored: usually plain, sometimes empty, very long or
    // without terminator. Returns the text that loading must yield.
    std::string WriteText(const std::string& path, const char* name)
    {
        std::string text = "t" + std::to_string(random() % 100000);
        switch (Pick(8)) {
        case 0:
            SetRaw(path, name, REG_SZ, "", 0);
            return "";
        case 1:
            SetString(path, name, "");
            return "";
        case 2: {
            std::string big(65536, static_cast<char>('a' + Pick(26)));
            SetRaw(path, name, REG_SZ, big.data(), static_cast<DWORD>(big.size()));
            return big;
        }
        case 3:
            SetRaw(path, name, REG_SZ, text.data(), static_cast<DWORD>(text.size()));   // unterminated
            return text;
        default:
            SetString(path, name, text);
            return text;
        }
    }

    enum Outcome { Readable, Unreadable, Removed };

    // Writes entry `index`; returns what loading must make of it.
    Outcome WriteEntry(int index, Expected* out)
    {
        static const char* const names[] = {"A", "z", "5", "F7", "page up", "Num *", "Break", ";"};
        static const UINT codes[] = {'A', 'Z', '5', VK_F7, VK_PRIOR, VK_MULTIPLY, VK_PAUSE, 186};
        std::string path = EntryPath(index);
        CreateKey(path);
        Outcome outcome = Readable;
        int fault = Pick(4) == 0 ? Pick(10) : -1;

        int name = Pick(8);
        out->key = codes[name];
        if (fault == 0)
            SetDword(path, "Key", 65), outcome = Unreadable;
        else if (fault == 1)
            SetString(path, "Key", "NotAKey"), outcome = Unreadable;
        else if (fault == 2)
            outcome = Removed;   // no "Key" at all
        else if (fault == 3)
            SetRaw(path, "Key", REG_SZ, "", 0), outcome = Unreadable;
        else
            SetString(path, "Key", names[name]);

        out->modifiers = static_cast<DWORD>(Pick(16));
        if (fault == 4)
            SetString(path, "Modifier", "8"), outcome = Unreadable;
        else if (fault == 5)
            SetRaw(path, "Modifier", REG_DWORD, "\x08", 1), outcome = Unreadable;
        else if (fault == 6)
            outcome = Unreadable;
        else
            SetDword(path, "Modifier", out->modifiers);

        if (fault == 7)
            SetRaw(path, "CommandLine", REG_EXPAND_SZ, "%x%.exe", 8), out->commandLine = "%x%.exe";
        else if (fault == 8)
            outcome = Unreadable;
        else
            out->commandLine = WriteText(path, "CommandLine");

        if (Pick(2) == 0)
            out->parameters = WriteText(path, "Parameters");
        else if (Pick(3) == 0)
            SetDword(path, "Parameters", 2);   // another type: absent
        if (Pick(2) == 0)
            out->directory = WriteText(path, "WorkingDirectory");
        else if (Pick(3) == 0)
            SetDword(path, "WorkingDirectory", 1);
        if (out->directory && Pick(4) == 0)
            SetRaw(path, "WorkingDirectory", REG_EXPAND_SZ, out->directory->c_str(),
                   static_cast<DWORD>(out->directory->size() + 1));
        return outcome;
    }

private:
    std::mt19937 random;
};

void ExpectLoaded(const std::vector<Expected>& expected, int table)
{
    HotKeyList list;
    LoadHotKeys(list);
    ASSERT_EQ(static_cast<LONG>(expected.size()), list.count) << "table " << table;
    for (size_t i = 0; i < expected.size(); ++i) {
        const HotKey& h = list.items[i];
        const Expected& e = expected[i];
        ASSERT_EQ(e.key, h.key) << "table " << table << " entry " << i;
        ASSERT_EQ(e.modifiers, h.modifiers);
        ASSERT_EQ(e.commandLine, h.commandLine.Text());
        if (e.parameters)
            ASSERT_EQ(*e.parameters, h.parameters.Text());
        else
            ASSERT_EQ(nullptr, h.parameters.Text());
        if (e.directory)
            ASSERT_EQ(*e.directory, h.workingDirectory.Text());
        else
            ASSERT_EQ(nullptr, h.workingDirectory.Text());
    }
}

// A random table as the dialog would hand it over, saved over what is stored.
void SaveRandomTable(TableWriter& writer, std::vector<Expected>& expected, int table)
{
    static const UINT codes[] = {'A', 'Z', '5', VK_F7, VK_PRIOR, VK_MULTIPLY, VK_PAUSE, 186, VK_SEPARATOR};
    HotKeyList list;
    expected.clear();
    for (int i = writer.Pick(9); i > 0; --i) {
        Expected e = {codes[writer.Pick(9)], static_cast<DWORD>(writer.Pick(16)),
                      writer.Pick(5) ? "c" + std::to_string(writer.Pick(4)) : ""};
        HotKey h = MakeEntry(e.key, e.modifiers, e.commandLine.c_str());
        if (writer.Pick(2)) {
            std::string parameters = writer.Pick(4) ? "p" + std::to_string(writer.Pick(3)) : "";
            h.parameters.Assign(parameters.c_str());
            if (!parameters.empty())   // an empty text is not stored
                e.parameters = parameters;
        }
        if (writer.Pick(2)) {
            e.directory = "d" + std::to_string(writer.Pick(3));
            h.workingDirectory.Assign(e.directory->c_str());
        }
        list.Append(h);
        expected.push_back(e);
    }
    SaveHotKeys(list);
    std::vector<std::string> names;
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::string path = EntryPath(static_cast<int>(i));
        names.push_back(path.substr(path.size() - 3));
        ASSERT_EQ(expected[i].parameters.has_value(), HasValue(path, "Parameters")) << "table " << table << " entry " << i;
        ASSERT_EQ(expected[i].directory.has_value(), HasValue(path, "WorkingDirectory")) << "table " << table;
    }
    ASSERT_EQ(names, SubKeys(std::string(AppKey) + "\\Keys")) << "table " << table;
}

TEST(SettingsFuzz, MalformedTablesLoadEveryReadableEntryAndSaveOverThem)
{
    TableWriter writer(20261208);
    for (int table = 0; table < 400; ++table) {
        DeleteSettings();
        CreateKey(AppKey);
        std::vector<Expected> expected;
        bool ended = false;
        int entries = writer.Pick(9);
        int gapAt = writer.Pick(4) == 0 ? writer.Pick(entries + 1) : -1;
        for (int i = 0; i < entries; ++i) {
            if (i == gapAt) {
                ended = true;   // a missing number ends the table
                continue;
            }
            Expected e;
            TableWriter::Outcome outcome = writer.WriteEntry(i, &e);
            ended = ended || outcome == TableWriter::Removed;
            if (!ended && outcome == TableWriter::Readable)
                expected.push_back(e);
        }
        ExpectLoaded(expected, table);
        SaveRandomTable(writer, expected, table);
        ExpectLoaded(expected, table);
        if (HasFailure())
            break;
    }
    DeleteSettings();
}

TEST(SettingsFuzz, NoMoreThanAThousandEntriesLoad)
{
    DeleteSettings();
    for (int i = 0; i < 1003; ++i)
        SeedEntry(i, "A", 8, "x");
    // Entries 1000 to 1002 would be named like 000 to 002 again; 1000 and up
    // cannot exist, so only the count tells.
    HotKeyList list;
    LoadHotKeys(list);
    EXPECT_EQ(1000, list.count);
    DeleteSettings();
}

} // namespace
