#pragma once
// The heap beneath the product's code in the tests and the bench: the
// product's AllocateBlock and FreeBlock (model/Heap.h), counted, and able to
// fail on request.
#include <stddef.h>
#include "model/Heap.h"
#include "model/SharedString.h"

// Blocks allocated through AllocateBlock and not yet freed.
extern LONG g_liveBlocks;
// Blocks allocated in all, for measuring how often an operation allocates.
extern LONG g_allocatedBlocks;
// When not negative, this many allocations still succeed and every later one
// fails until a test sets it back to -1.
extern LONG g_allocationsBeforeFailure;

// The heap block behind a text, found from the text it holds; null for an
// empty handle.
inline const SharedStringBuffer* BufferOf(const SharedString& text)
{
    const char* characters = text.Text();
    return characters ? reinterpret_cast<const SharedStringBuffer*>(characters - offsetof(SharedStringBuffer, text))
                      : nullptr;
}
