#include "model/HotKey.h"
#include "model/Heap.h"
#include <new>

// Storage for the live table; the start-up constructs and destroys it
// explicitly, since there is no runtime to run static constructors.
alignas(HotKeyList) static unsigned char g_hotKeysStorage[sizeof(HotKeyList)];
HotKeyList& g_hotKeys = *reinterpret_cast<HotKeyList*>(g_hotKeysStorage);

void ConstructHotKeys()
{
    new (g_hotKeysStorage) HotKeyList;
}

void DestroyHotKeys()
{
    g_hotKeys.~HotKeyList();
}

static HotKey* NewItems(LONG capacity)
{
    HotKey* items = static_cast<HotKey*>(AllocateBlock(sizeof(HotKey) * static_cast<SIZE_T>(capacity)));
    if (items) {
        for (LONG i = 0; i < capacity; ++i)
            new (&items[i]) HotKey;
    }
    return items;
}

static void DeleteItems(HotKey* items, LONG capacity)
{
    if (!items)
        return;
    for (LONG i = 0; i < capacity; ++i)
        items[i].~HotKey();
    FreeBlock(items);
}

void HotKeyList::FreeItems()
{
    DeleteItems(items, capacity);
    items = nullptr;
    capacity = 0;
    count = 0;
}

HotKey* HotKeyList::Append(const HotKey& record)
{
    if (count == capacity) {
        HotKey* grown = NewItems(capacity + 20);
        if (!grown)
            return nullptr;
        for (LONG i = 0; i < count; ++i)
            grown[i] = items[i];
        DeleteItems(items, capacity);
        items = grown;
        capacity += 20;
    }
    HotKey* stored = &items[count];
    *stored = record;
    ++count;
    return stored;
}

HotKeyList& HotKeyList::operator=(const HotKeyList& other)
{
    if (this == &other)
        return *this;
    if (capacity < other.count) {
        HotKey* fresh = NewItems(other.count);
        if (!fresh)
            return *this;
        DeleteItems(items, capacity);
        items = fresh;
        capacity = other.count;
    }
    for (LONG i = 0; i < other.count; ++i)
        items[i] = other.items[i];
    count = other.count;
    return *this;
}
