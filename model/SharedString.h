#pragma once
// Reference-counted texts shared by the copies of an entry.
#include <windows.h>

// One heap block: the header and then capacity + 4 bytes of text, so that a
// text of exactly capacity characters still has room for its terminator.
struct SharedStringBuffer {
    LONG refs;
    LONG capacity;
    LONG length;
    char text[4];
};

// Handle to a reference-counted text. Copies share the buffer; writing through
// a shared handle gives it a fresh buffer, so other handles never see a change.
// An empty handle (no buffer) stands for "no text" and yields a null Text().
class SharedString {
public:
    SharedString() : buffer(nullptr) {}
    SharedString(const SharedString& other);
    SharedString& operator=(const SharedString& other);
    ~SharedString() { Release(); }

    void Release();
    // Makes the buffer the handle's own with room for n characters and returns
    // its writable text; null if the heap fails, and the handle then holds
    // just what it held before, so that a failed write never loses a text.
    char* Reserve(LONG n);
    SharedString& Assign(const char* source);   // null source empties the handle
    // Assigns exactly `count` characters of `source`, which need not be
    // terminated; false (and the old text kept) if the heap fails. The source
    // may be the handle's own text when its buffer is its own and has room
    // for count + 1 characters.
    bool AssignCounted(const char* source, LONG count);
    // False, with the old text kept, when the heap cannot hold the new one.
    bool AssignFromWindow(HWND window);
    // Precondition: the handle is empty or the only one of its buffer.
    SharedString& Append(const char* text);

    const char* Text() const { return buffer ? buffer->text : nullptr; }
    // For controls, which show no text and an empty text alike.
    const char* TextOrEmpty() const { return buffer ? buffer->text : ""; }
    LONG Length() const { return buffer ? buffer->length : 0; }

private:
    SharedStringBuffer* buffer;
};
