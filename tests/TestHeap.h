#pragma once
// The heap beneath the product's code in the tests and the bench: the
// product's AllocateBlock and FreeBlock (model/Heap.h), counted, and able to
// fail on request.
#include "model/Heap.h"

// Blocks allocated through AllocateBlock and not yet freed.
extern LONG g_liveBlocks;
// Blocks allocated in all, for measuring how often an operation allocates.
extern LONG g_allocatedBlocks;
// When not negative, this many allocations still succeed and every later one
// fails until a test sets it back to -1.
extern LONG g_allocationsBeforeFailure;

