// Key names: the fixed table, the keyboard layouts' characters and codes.
#include "model/KeyNames.h"

// Row after row: the key's code in one byte, then its name and a zero; the
// text's own terminator ends the table. Searched front to back. One text
// rather than an array of records, so that the table holds no addresses that
// the loader would have to relocate. No name is a single character, so a
// one-character name always means a character key.
static const char KeyNameTable[] =
    "\x13" "Break\0" "\x08" "Backspace\0" "\x09" "Tab\0" "\x0D" "Return\0" "\x1B" "Escape\0"
    "\x20" "Space\0" "\x21" "Page Up\0" "\x22" "Page Down\0" "\x23" "End\0" "\x24" "Home\0"
    "\x25" "Left\0" "\x26" "Up\0" "\x27" "Right\0" "\x28" "Down\0" "\x2C" "Print\0"
    "\x2D" "Insert\0" "\x2E" "Delete\0" "\x60" "Num 0\0" "\x61" "Num 1\0" "\x62" "Num 2\0"
    "\x63" "Num 3\0" "\x64" "Num 4\0" "\x65" "Num 5\0" "\x66" "Num 6\0" "\x67" "Num 7\0"
    "\x68" "Num 8\0" "\x69" "Num 9\0" "\x6A" "Num *\0" "\x6B" "Num +\0" "\x6D" "Num -\0"
    "\x6E" "Num .\0" "\x6F" "Num /\0" "\x70" "F1\0" "\x71" "F2\0" "\x72" "F3\0"
    "\x73" "F4\0" "\x74" "F5\0" "\x75" "F6\0" "\x76" "F7\0" "\x77" "F8\0" "\x78" "F9\0"
    "\x79" "F10\0" "\x7A" "F11\0" "\x7B" "F12\0" "\x7C" "F13\0" "\x7D" "F14\0"
    "\x7E" "F15\0" "\x7F" "F16\0" "\x80" "F17\0" "\x81" "F18\0" "\x82" "F19\0"
    "\x83" "F20\0" "\x84" "F21\0" "\x85" "F22\0" "\x86" "F23\0" "\x87" "F24\0"
    "\x90" "Num Lock\0" "\x91" "Scroll\0";

static const char* NextKeyNameRow(const char* row)
{
    return row + 1 + lstrlenA(row + 1) + 1;
}

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
        for (const char* row = KeyNameTable; *row; row = NextKeyNameRow(row)) {
            if (static_cast<unsigned char>(*row) == code)
                return row + 1;
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

static bool IsLetterOrDigit(char character)
{
    return (character >= '0' && character <= '9') || (character >= 'A' && character <= 'Z');
}

// Low byte of an answer: the key; high byte: the Shift (1), Ctrl (2) and Alt
// (4) states, and more, that it needs.
static bool TypesWithout(SHORT answer, UINT allowedStates)
{
    UINT value = static_cast<USHORT>(answer);
    return (value & 0xFF) != 0xFF && ((value >> 8) & ~allowedStates) == 0;
}

bool KeyOfCharacter(char character, const SHORT* answers, int layouts, UINT* code)
{
    if (character >= 'a' && character <= 'z')
        character = static_cast<char>(character - 'a' + 'A');
    // A character names the key that types it without modifiers, in the
    // layout that was active when it was stored, which need not be the
    // active one now (a German layout's sharp s under an English one). Letters
    // and digits keep the active layout's answer.
    int unmodified = IsLetterOrDigit(character) ? 0 : layouts;
    for (int i = 0; i < unmodified; ++i) {
        if (TypesWithout(answers[i], 0)) {
            *code = static_cast<UINT>(answers[i]) & 0xFF;
            return true;
        }
    }
    // Else the active layout's key, whatever Shift does. An answer that needs
    // Ctrl or Alt would take that combination from every program ("[" is
    // AltGr+8 on a German layout).
    if (layouts > 0 && TypesWithout(answers[0], 1)) {
        *code = static_cast<UINT>(answers[0]) & 0xFF;
        return true;
    }
    // Letters and digits are stored as their keys' own codes; under a layout
    // that types no Latin letters (Russian, Greek, ...) they still name those
    // keys, or the entry would be lost.
    if (!IsLetterOrDigit(character))
        return false;
    *code = static_cast<UINT>(character);
    return true;
}

// The users' layouts rarely number more than a handful.
constexpr int MaxLayouts = 16;

static bool KeyOfCharacter(char character, UINT* code)
{
    SHORT answers[MaxLayouts + 1];
    HKL layouts[MaxLayouts];
    int count = GetKeyboardLayoutList(MaxLayouts, layouts);
    answers[0] = VkKeyScanA(character);
    for (int i = 0; i < count; ++i)
        answers[i + 1] = VkKeyScanExA(character, layouts[i]);
    return KeyOfCharacter(character, answers, count + 1, code);
}

bool KeyFromName(const char* name, UINT* code)
{
    if (!name || !name[0])
        return false;
    if (!name[1] && KeyOfCharacter(name[0], code))
        return true;
    for (const char* row = KeyNameTable; *row; row = NextKeyNameRow(row)) {
        if (lstrcmpiA(row + 1, name) == 0) {
            *code = static_cast<unsigned char>(*row);
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
