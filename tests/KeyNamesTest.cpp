// Key names: the table, the layouts' characters and the stored forms.
#include "model/KeyNames.h"
#include "tests/TestHeap.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <string>
#include "tests/ImportSlot.h"
IMPORT_SLOT(GetKeyboardLayoutList, 8);
IMPORT_SLOT(VkKeyScanExA, 8);

namespace {

// The test prefix answers with the US layout.
TEST(KeyName, CharacterKeysShareOneBuffer)
{
    const char* a = KeyName('A');
    EXPECT_STREQ("A", a);
    const char* one = KeyName('1');
    EXPECT_EQ(a, one);
    EXPECT_STREQ("1", a);
    // The ends of both ranges: the codes beside them are table keys or none.
    EXPECT_STREQ("0", KeyName('0'));
    EXPECT_STREQ("9", KeyName('9'));
    EXPECT_STREQ("Z", KeyName('Z'));
    EXPECT_STREQ(";", KeyName(186));
    EXPECT_STREQ("/", KeyName(VK_OEM_2));
}

TEST(KeyName, TableKeysAndKeysWithoutName)
{
    EXPECT_STREQ("Space", KeyName(VK_SPACE));
    EXPECT_STREQ("Scroll", KeyName(VK_SCROLL));
    EXPECT_STREQ("Page Down", KeyName(VK_NEXT));
    EXPECT_STREQ("F24", KeyName(VK_F24));
    EXPECT_EQ(nullptr, KeyName(VK_SEPARATOR));
    EXPECT_EQ(nullptr, KeyName(VK_SHIFT));
    EXPECT_EQ(nullptr, KeyName(VK_LWIN));
    EXPECT_EQ(nullptr, KeyName(VK_CAPITAL));
    EXPECT_EQ(nullptr, KeyName(0xFF));   // produces no character
}

// The whole table against the platform's constants: the table is packed
// text, where a wrong byte would silently rename or renumber a key.
TEST(KeyName, TableRowsWithThePlatformCodes)
{
    static const struct {
        const char* name;
        UINT code;
    } expected[] = {
        {"Break", VK_PAUSE}, {"Backspace", VK_BACK}, {"Tab", VK_TAB}, {"Return", VK_RETURN},
        {"Escape", VK_ESCAPE}, {"Space", VK_SPACE}, {"Page Up", VK_PRIOR}, {"Page Down", VK_NEXT},
        {"End", VK_END}, {"Home", VK_HOME}, {"Left", VK_LEFT}, {"Up", VK_UP}, {"Right", VK_RIGHT},
        {"Down", VK_DOWN}, {"Print", VK_SNAPSHOT}, {"Insert", VK_INSERT}, {"Delete", VK_DELETE},
        {"Num 0", VK_NUMPAD0}, {"Num 1", VK_NUMPAD1}, {"Num 2", VK_NUMPAD2}, {"Num 3", VK_NUMPAD3},
        {"Num 4", VK_NUMPAD4}, {"Num 5", VK_NUMPAD5}, {"Num 6", VK_NUMPAD6}, {"Num 7", VK_NUMPAD7},
        {"Num 8", VK_NUMPAD8}, {"Num 9", VK_NUMPAD9}, {"Num *", VK_MULTIPLY}, {"Num +", VK_ADD},
        {"Num -", VK_SUBTRACT}, {"Num .", VK_DECIMAL}, {"Num /", VK_DIVIDE},
        {"F1", VK_F1}, {"F2", VK_F2}, {"F3", VK_F3}, {"F4", VK_F4}, {"F5", VK_F5}, {"F6", VK_F6},
        {"F7", VK_F7}, {"F8", VK_F8}, {"F9", VK_F9}, {"F10", VK_F10}, {"F11", VK_F11},
        {"F12", VK_F12}, {"F13", VK_F13}, {"F14", VK_F14}, {"F15", VK_F15}, {"F16", VK_F16},
        {"F17", VK_F17}, {"F18", VK_F18}, {"F19", VK_F19}, {"F20", VK_F20}, {"F21", VK_F21},
        {"F22", VK_F22}, {"F23", VK_F23}, {"F24", VK_F24}, {"Num Lock", VK_NUMLOCK},
        {"Scroll", VK_SCROLL},
    };
    // Every other code below the layout's range names no key.
    for (UINT code = 1; code < 186; ++code) {
        bool character = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z');
        bool listed = std::any_of(std::begin(expected), std::end(expected), [&](const auto& key) { return key.code == code; });
        if (!character && !listed) {
            EXPECT_EQ(nullptr, KeyName(code)) << code;
        }
    }
    for (const auto& key : expected) {
        ASSERT_NE(nullptr, KeyName(key.code)) << key.name;
        EXPECT_STREQ(key.name, KeyName(key.code));
        UINT code = 0;
        EXPECT_TRUE(KeyFromName(key.name, &code));
        EXPECT_EQ(key.code, code) << key.name;
    }
}

TEST(KeyName, EveryStoredNameReadsBackToItsCode)
{
    int named = 0;
    for (UINT code = 1; code < 256; ++code) {
        if (KeyName(code))
            ++named;
        std::string kept = StoredKeyName(code);
        UINT back = 0;
        ASSERT_TRUE(KeyFromName(kept.c_str(), &back)) << "code " << code << " name " << int(kept[0]);
        EXPECT_EQ(code, back) << "code " << code << " name " << int(kept[0]);
        if (KeyName(code) && kept[0] != '#') {
            EXPECT_STREQ(KeyName(code), kept.c_str());   // named keys are stored by name
        }
    }
    EXPECT_GT(named, 58 + 36);
}

TEST(KeyFromName, NamesInAnyCaseAndShiftedCharacters)
{
    UINT code = 0;
    EXPECT_FALSE(KeyFromName("", &code));
    EXPECT_TRUE(KeyFromName("Page Down", &code));
    EXPECT_EQ(34u, code);
    EXPECT_TRUE(KeyFromName("page down", &code));
    EXPECT_EQ(34u, code);
    EXPECT_TRUE(KeyFromName("nUM lOCK", &code));
    EXPECT_EQ(144u, code);
    EXPECT_FALSE(KeyFromName("PageDown", &code));
    EXPECT_TRUE(KeyFromName("1", &code));
    EXPECT_EQ(49u, code);
    EXPECT_TRUE(KeyFromName("a", &code));
    EXPECT_EQ(65u, code);
    EXPECT_TRUE(KeyFromName("!", &code));   // Shift+1 on this layout
    EXPECT_EQ(49u, code);
    EXPECT_FALSE(KeyFromName("\xE9", &code));   // no key of the layout types it
    EXPECT_FALSE(KeyFromName("Ctrl", &code));
}

// Wine answers every layout alike, so two are made up: US, then French,
// whose 2 key types e with acute unshifted.
const HKL FrenchLayout = reinterpret_cast<HKL>(0x040C040C);
int WINAPI TwoLayouts(int, HKL* layouts)
{
    layouts[0] = reinterpret_cast<HKL>(0x04090409);
    layouts[1] = FrenchLayout;
    return 2;
}
SHORT WINAPI ScanInLayout(CHAR character, HKL layout)
{
    return layout == FrenchLayout && character == '\xE9' ? '2' : -1;
}

TEST(KeyFromName, AsksEveryInstalledLayout)
{
    Intercept<GetKeyboardLayoutListSlot> list(TwoLayouts);
    Intercept<VkKeyScanExASlot> scan(ScanInLayout);
    UINT code = 0;
    EXPECT_TRUE(KeyFromName("\xE9", &code) && code == '2') << "the second layout's answer was not read";
}

// Wine's keyboard functions follow the X server's key map, not the thread's
// layouts, so each layout is given as VkKeyScanExA's answer, the active
// layout's first.
bool KeyOf(char character, std::initializer_list<SHORT> answers, UINT* code)
{
    return KeyOfCharacter(character, answers.begin(), static_cast<int>(answers.size()), code);
}

const SHORT NoKey = -1;

TEST(KeyFromName, LettersAndDigitsNameTheirKeysUnderALayoutThatCannotTypeThem)
{
    UINT code = 0;
    EXPECT_TRUE(KeyOf('A', {NoKey}, &code));
    EXPECT_EQ(65u, code);
    EXPECT_TRUE(KeyOf('q', {NoKey, 0x0051}, &code));
    EXPECT_EQ(81u, code);
    EXPECT_TRUE(KeyOf('7', {NoKey}, &code));
    EXPECT_EQ(55u, code);
    EXPECT_FALSE(KeyOf(';', {NoKey}, &code));
    EXPECT_FALSE(KeyOf('\xE9', {NoKey}, &code));
    // A key of the active layout that types the character comes first, as it
    // does for a French layout's A on the Q key, even where another layout
    // types it unmodified.
    EXPECT_TRUE(KeyOf('a', {0x0051, 0x0041}, &code));
    EXPECT_EQ(81u, code);
    EXPECT_TRUE(KeyOf('Q', {0x0651, 0x0151}, &code));   // not the Ctrl+Alt answer
    EXPECT_EQ(81u, code);
}

// "[" under a German layout is AltGr+8: taking that answer would hold
// Ctrl+Alt+8 system-wide, and "[" could no longer be typed anywhere.
TEST(KeyFromName, AnAnswerThatNeedsCtrlOrAltNamesNoKey)
{
    UINT code = 0;
    EXPECT_FALSE(KeyOf('[', {0x0638}, &code));
    EXPECT_FALSE(KeyOf('~', {0x0238}, &code));
    EXPECT_FALSE(KeyOf('|', {0x0438, 0x01DC}, &code));   // shifted in another layout only
    EXPECT_TRUE(KeyOf('!', {0x0131}, &code));   // Shift alone is ignored
    EXPECT_EQ(49u, code);
}

// A name stored under one layout names the same key under another that the
// user has installed: the key that types it unmodified comes first.
TEST(KeyFromName, ACharacterNamesTheKeyThatTypesItUnmodifiedInAnyLayout)
{
    const SHORT germanSharpS = 0x00DB, englishBracket = 0x00DB, englishSemicolon = 0x00BA;
    UINT code = 0;
    EXPECT_TRUE(KeyOf('\xDF', {NoKey, NoKey, germanSharpS}, &code));   // English active
    EXPECT_EQ(0xDBu, code);
    EXPECT_TRUE(KeyOf('[', {0x0638, englishBracket}, &code));   // German active: AltGr+8
    EXPECT_EQ(0xDBu, code);
    EXPECT_TRUE(KeyOf(';', {0x01BC, englishSemicolon}, &code));   // German: Shift+comma
    EXPECT_EQ(0xBAu, code);
    EXPECT_TRUE(KeyOf(';', {0x01BC, 0x0638}, &code));   // no layout types it unmodified
    EXPECT_EQ(0xBCu, code);
    EXPECT_FALSE(KeyOf('\xDF', {NoKey, 0x0131}, &code));
    EXPECT_FALSE(KeyOf('[', {}, &code));
}

TEST(KeyFromName, KeyThatLostItsNameKeepsItsCode)
{
    // VK_OEM_102 etc. may give no character under some layouts; its stored
    // form must read back to the same code whatever the layout.
    UINT code = 0;
    EXPECT_STREQ("#255", KeyNameOrCode(0xFF));
    EXPECT_STREQ("#108", KeyNameOrCode(VK_SEPARATOR));
    EXPECT_STREQ("Space", KeyNameOrCode(VK_SPACE));
    EXPECT_STREQ(";", KeyNameOrCode(186));
    EXPECT_TRUE(KeyFromName("#226", &code));
    EXPECT_EQ(226u, code);
    EXPECT_TRUE(KeyFromName("#9", &code));
    EXPECT_EQ(9u, code);
    EXPECT_TRUE(KeyFromName("#", &code));   // a real character: Shift+3 here
    EXPECT_EQ(UINT('3'), code);
    EXPECT_FALSE(KeyFromName("#0", &code));
    EXPECT_TRUE(KeyFromName("#255", &code));
    EXPECT_EQ(255u, code);
    EXPECT_FALSE(KeyFromName("#256", &code));
    EXPECT_FALSE(KeyFromName("#1234", &code));
    EXPECT_FALSE(KeyFromName("#12a", &code));
}

TEST(HotKeyText, ModifiersInFixedOrderThenName)
{
    struct { UINT modifiers; UINT key; const char* text; } cases[] = {
        {10, VK_SPACE, "Ctrl + Win + Space"},
        {8, '1', "Win + 1"},
        {8, '6', "Win + 6"},
        {7, VK_F5, "Shift + Ctrl + Alt + F5"},
        {0, 'A', "A"},
        {15, VK_F1, "Shift + Ctrl + Win + Alt + F1"},
        {1, VK_RETURN, "Alt + Return"},
        {4 | 8, 'Z', "Shift + Win + Z"},
        {2 | 1, 186, "Ctrl + Alt + ;"},
        {8, VK_SEPARATOR, "Win + #108"},
    };
    for (auto c : cases) {
        HotKey hotKey;
        hotKey.modifiers = c.modifiers;
        hotKey.key = c.key;
        SharedString text = HotKeyText(hotKey);
        EXPECT_STREQ(c.text, text.Text());
        EXPECT_EQ(1, BufferOf(text)->refs);
    }
}

} // namespace
