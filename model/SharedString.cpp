// Reference-counted texts on the heap.
#include "model/SharedString.h"
#include "model/Heap.h"
#include <stddef.h>

static SharedStringBuffer* NewBuffer(LONG capacity)
{
    SIZE_T bytes = offsetof(SharedStringBuffer, text) + static_cast<SIZE_T>(capacity) + 4;
    SharedStringBuffer* buffer = static_cast<SharedStringBuffer*>(AllocateBlock(bytes));
    if (buffer) {
        buffer->refs = 1;
        buffer->capacity = capacity;
        buffer->length = 0;
        buffer->text[0] = '\0';
    }
    return buffer;
}

// Texts grow in steps of 128 characters: the smallest multiple above n.
static LONG RoundedCapacity(LONG n)
{
    if (n < 0)
        n = 0;
    return (n / 128 + 1) * 128;
}

SharedString::SharedString(const SharedString& other) : buffer(other.buffer)
{
    if (buffer)
        ++buffer->refs;
}

SharedString& SharedString::operator=(const SharedString& other)
{
    // Taking the reference first keeps self-assignment from freeing the text.
    SharedStringBuffer* source = other.buffer;
    if (source)
        ++source->refs;
    Release();
    buffer = source;
    return *this;
}

void SharedString::Release()
{
    if (buffer && --buffer->refs == 0)
        FreeBlock(buffer);
    buffer = nullptr;
}

char* SharedString::Reserve(LONG n)
{
    SharedStringBuffer* old = buffer;
    bool owned = old && old->refs == 1;
    if (owned && old->capacity >= n)
        return old->text;
    // The new buffer first: if the heap fails, the handle keeps its text,
    // shared or not.
    SharedStringBuffer* fresh = NewBuffer(RoundedCapacity(n));
    if (!fresh)
        return nullptr;
    if (owned) {
        // A sole owner that grows keeps its text.
        lstrcpyA(fresh->text, old->text);
        fresh->length = old->length;
        FreeBlock(old);
    } else {
        // A shared text is left to its other handles; the writer starts afresh.
        Release();
    }
    buffer = fresh;
    return fresh->text;
}

SharedString& SharedString::Assign(const char* source)
{
    if (!source) {
        Release();
        return *this;
    }
    AssignCounted(source, lstrlenA(source));
    return *this;
}

bool SharedString::AssignCounted(const char* source, LONG count)
{
    if (count < 0)
        count = 0;
    char* text = Reserve(count + 1);
    if (!text)
        return false;
    for (LONG i = 0; i < count; ++i)
        text[i] = source[i];
    text[count] = '\0';
    buffer->length = count;
    return true;
}

bool SharedString::AssignFromWindow(HWND window)
{
    LONG n = GetWindowTextLengthA(window);
    char* text = Reserve(n);
    if (!text)
        return false;
    text[0] = '\0';
    buffer->length = GetWindowTextA(window, text, n + 1);
    return true;
}

SharedString& SharedString::Append(const char* added)
{
    LONG add = lstrlenA(added);
    // The 4 spare bytes of the text area hold the terminator at full capacity.
    char* text = Reserve(Length() + add);
    if (!text)
        return *this;
    // Read the length only now: a shared buffer (against the precondition)
    // has been replaced by an empty one, and the text must not have a gap.
    LONG length = buffer->length;
    lstrcpyA(text + length, added);
    buffer->length = length + add;
    return *this;
}
