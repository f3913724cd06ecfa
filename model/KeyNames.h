#pragma once
// Names of keys and hot keys, as shown and as stored.
#include "model/HotKey.h"

// Name of a virtual-key code, or null when the key has none. Single-character
// names live in one static buffer that the next call overwrites.
const char* KeyName(UINT code);
// The key code for a name; false if no key has it.
bool KeyFromName(const char* name, UINT* code);
// The key of a one-character name, given what the keyboard layouts say of
// the character: VkKeyScanExA's answer for the active layout first, then
// one for each installed layout (an answer's low byte is 0xFF when no key
// types the character, its high byte the modifiers that it needs).
bool KeyOfCharacter(char character, const SHORT* answers, int layouts, UINT* code);
// Display text of a hot key: modifiers first ("Shift + Ctrl + Win + Alt + ").
SharedString HotKeyText(const HotKey& hotKey);

// A key above 185 can lose its name when the keyboard layout changes. Such a
// key is shown and stored as '#' and its decimal code ("#226"), a form that no
// real name takes and that KeyFromName reads back under any layout.
// Returns KeyName(code) when there is one, else that form (in a static buffer).
const char* KeyNameOrCode(UINT code);
// The name under which a key is stored: its name when KeyFromName reads that
// back to the same code, else the '#' form. Some layouts give a key a
// character that no key types (or that another key types first); storing
// that name would lose the entry, and every later one, at the next start.
const char* StoredKeyName(UINT code);
