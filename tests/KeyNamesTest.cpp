#include "model/KeyNames.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// The test prefix answers with the US layout.
TEST(KeyName, CharacterKeysShareOneBuffer)
{
    const char* a = KeyName('A');
    EXPECT_STREQ("A", a);
    const char* one = KeyName('1');
    EXPECT_EQ(a, one);
    EXPECT_STREQ("1", a);
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

HotKey Key(UINT modifiers, UINT key)
{
    HotKey h;
    h.modifiers = modifiers;
    h.key = key;
    return h;
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
        SharedString text = HotKeyText(Key(c.modifiers, c.key));
        EXPECT_STREQ(c.text, text.Text());
        EXPECT_EQ(1, text.Buffer()->refs);
    }
}

} // namespace
