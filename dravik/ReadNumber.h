#pragma once

// Reads a decimal number after any spaces (code 32 only) and leaves position
// after its last digit. No digit gives 0. A number too large for a 32-bit
// signed value also gives 0: the caller treats 0 as "no number", so an absurd
// size is never handed on.
inline int ReadNumber(const char*& position)
{
    const char* p = position;
    while (*p == ' ')
        ++p;
    int value = 0;
    bool tooLarge = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        int digit = *p - '0';
        if (value > (0x7FFFFFFF - digit) / 10)
            tooLarge = true;
        else
            value = value * 10 + digit;
    }
    position = p;
    return tooLarge ? 0 : value;
}
