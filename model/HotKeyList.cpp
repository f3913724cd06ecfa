// The hot-key entry's copies and the growable table, with the live one.
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

// Sharing the texts of a record is the same whether this one starts empty
// or not, so the copy is an assignment to an empty record.
HotKey::HotKey(const HotKey& other)
{
    *this = other;
}

HotKey& HotKey::operator=(const HotKey&) = default;
HotKey::~HotKey() = default;

static HotKey* NewItems(LONG capacity)
{
    HotKey* items = static_cast<HotKey*>(AllocateBlock(sizeof(HotKey) * static_cast<SIZE_T>(capacity)));
    if (items) {
        for (LONG i = 0; i < capacity; ++i)
            new (&items[i]) HotKey;
    }
    return items;
}

// Shared by growing and freeing; one copy is enough.
__attribute__((noinline)) static void DeleteItems(HotKey* items, LONG capacity)
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

// Moves the records in use into a new array of the given capacity; false
// (and the list as it was) if the heap fails.
bool HotKeyList::Reallocate(LONG newCapacity)
{
    HotKey* fresh = NewItems(newCapacity);
    if (!fresh)
        return false;
    for (LONG i = 0; i < count; ++i)
        fresh[i] = items[i];
    DeleteItems(items, capacity);
    items = fresh;
    capacity = newCapacity;
    return true;
}

HotKey* HotKeyList::Append(const HotKey& record)
{
    if (count == capacity && !Reallocate(capacity + 20))
        return nullptr;
    HotKey* stored = &items[count];
    *stored = record;
    ++count;
    return stored;
}

HotKeyList& HotKeyList::operator=(const HotKeyList& other)
{
    if (this == &other)
        return *this;
    // Exactly the other's count, no step of 20; the records moved over are
    // overwritten below.
    if (capacity < other.count && !Reallocate(other.count))
        return *this;
    for (LONG i = 0; i < other.count; ++i)
        items[i] = other.items[i];
    count = other.count;
    return *this;
}
