// The few functions that the compiler itself may call (to clear or copy large
// records); without a C runtime the programs must bring their own. This file
// is built with -fno-tree-loop-distribute-patterns, or GCC would turn these
// loops back into calls to themselves.
#include <stddef.h>

extern "C" {

void* memset(void* destination, int value, size_t size)
{
    unsigned char* d = static_cast<unsigned char*>(destination);
    while (size--)
        *d++ = static_cast<unsigned char>(value);
    return destination;
}

void* memcpy(void* destination, const void* source, size_t size)
{
    unsigned char* d = static_cast<unsigned char*>(destination);
    const unsigned char* s = static_cast<const unsigned char*>(source);
    while (size--)
        *d++ = *s++;
    return destination;
}

void* memmove(void* destination, const void* source, size_t size)
{
    unsigned char* d = static_cast<unsigned char*>(destination);
    const unsigned char* s = static_cast<const unsigned char*>(source);
    if (d < s) {
        while (size--)
            *d++ = *s++;
    } else {
        d += size;
        s += size;
        while (size--)
            *--d = *--s;
    }
    return destination;
}

int memcmp(const void* first, const void* second, size_t size)
{
    const unsigned char* a = static_cast<const unsigned char*>(first);
    const unsigned char* b = static_cast<const unsigned char*>(second);
    for (; size; --size, ++a, ++b) {
        if (*a != *b)
            return *a < *b ? -1 : 1;
    }
    return 0;
}

}
