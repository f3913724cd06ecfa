#include "model/KeyNames.h"

// Searched front to back; no name is a single character, so a one-character
// name always means a character key.
const KeyNameRow KeyNameTable[KeyNameCount] = {
    {"Break", VK_PAUSE}, {"Backspace", VK_BACK}, {"Tab", VK_TAB},
    {"Return", VK_RETURN}, {"Escape", VK_ESCAPE}, {"Space", VK_SPACE},
    {"Page Up", VK_PRIOR}, {"Page Down", VK_NEXT}, {"End", VK_END},
    {"Home", VK_HOME}, {"Left", VK_LEFT}, {"Up", VK_UP}, {"Right", VK_RIGHT},
    {"Down", VK_DOWN}, {"Print", VK_SNAPSHOT}, {"Insert", VK_INSERT},
    {"Delete", VK_DELETE},
    {"Num 0", VK_NUMPAD0}, {"Num 1", VK_NUMPAD1}, {"Num 2", VK_NUMPAD2},
    {"Num 3", VK_NUMPAD3}, {"Num 4", VK_NUMPAD4}, {"Num 5", VK_NUMPAD5},
    {"Num 6", VK_NUMPAD6}, {"Num 7", VK_NUMPAD7}, {"Num 8", VK_NUMPAD8},
    {"Num 9", VK_NUMPAD9}, {"Num *", VK_MULTIPLY}, {"Num +", VK_ADD},
    {"Num -", VK_SUBTRACT}, {"Num .", VK_DECIMAL}, {"Num /", VK_DIVIDE},
    {"F1", VK_F1}, {"F2", VK_F2}, {"F3", VK_F3}, {"F4", VK_F4},
    {"F5", VK_F5}, {"F6", VK_F6}, {"F7", VK_F7}, {"F8", VK_F8},
    {"F9", VK_F9}, {"F10", VK_F10}, {"F11", VK_F11}, {"F12", VK_F12},
    {"F13", VK_F13}, {"F14", VK_F14}, {"F15", VK_F15}, {"F16", VK_F16},
    {"F17", VK_F17}, {"F18", VK_F18}, {"F19", VK_F19}, {"F20", VK_F20},
    {"F21", VK_F21}, {"F22", VK_F22}, {"F23", VK_F23}, {"F24", VK_F24},
    {"Num Lock", VK_NUMLOCK}, {"Scroll", VK_SCROLL},
};

static char g_keyNameChar[2];
// "#" and up to three digits: the stored form of a key that has lost its name.
static char g_keyCodeName[5];

static const char* SingleCharacterName(UINT character)
{
    g_keyNameChar[0] = static_cast<char>(character);
    g_keyNameChar[1] = '\0';
    return g_keyNameChar;
}

const char* KeyName(UINT code)
{
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        return SingleCharacterName(code);
    if (code < 186) {
        for (const KeyNameRow& row : KeyNameTable) {
            if (row.code == code)
                return row.name;
        }
        return nullptr;
    }
    UINT character = MapVirtualKeyA(code, MAPVK_VK_TO_CHAR) & 0xFF;
    return character ? SingleCharacterName(character) : nullptr;
}

// Written from its end, so the name starts wherever its digits begin.
static const char* CodeName(UINT code)
{
    code &= 0xFF;
    char* p = g_keyCodeName + sizeof(g_keyCodeName) - 1;
    *p = '\0';
    do {
        *--p = static_cast<char>('0' + code % 10);
        code /= 10;
    } while (code);
    *--p = '#';
    return p;
}

const char* KeyNameOrCode(UINT code)
{
    const char* name = KeyName(code);
    return name ? name : CodeName(code);
}

// "#" followed by one to three digits naming a code from 1 to 255.
static bool KeyFromCodeName(const char* name, UINT* code)
{
    if (name[0] != '#' || !name[1])
        return false;
    UINT value = 0;
    int digits = 0;
    for (const char* p = name + 1; *p; ++p) {
        if (*p < '0' || *p > '9' || ++digits > 3)
            return false;
        value = value * 10 + static_cast<UINT>(*p - '0');
    }
    if (value < 1 || value > 255)
        return false;
    *code = value;
    return true;
}

bool KeyFromName(const char* name, UINT* code)
{
    if (!name || !name[0])
        return false;
    if (!name[1]) {
        SHORT scan = VkKeyScanA(name[0]);
        UINT key = static_cast<UINT>(scan) & 0xFF;
        if (key != 0xFF) {
            *code = key;
            return true;
        }
    }
    for (const KeyNameRow& row : KeyNameTable) {
        if (lstrcmpiA(row.name, name) == 0) {
            *code = row.code;
            return true;
        }
    }
    return KeyFromCodeName(name, code);
}

const char* StoredKeyName(UINT code)
{
    const char* name = KeyName(code);
    UINT back;
    if (name && KeyFromName(name, &back) && back == code)
        return name;
    return CodeName(code);
}

// In display order, which is not the order of the bits.
static const struct {
    UINT bit;
    const char* text;
} ModifierTexts[] = {
    {HotKeyShift, "Shift + "}, {HotKeyCtrl, "Ctrl + "}, {HotKeyWin, "Win + "}, {HotKeyAlt, "Alt + "},
};

SharedString HotKeyText(const HotKey& hotKey)
{
    SharedString text;
    for (const auto& modifier : ModifierTexts) {
        if (hotKey.modifiers & modifier.bit)
            text.Append(modifier.text);
    }
    text.Append(KeyNameOrCode(hotKey.key));
    return text;
}
