#pragma once
#include <windows.h>

// Every heap block of Zindral comes from the process heap through these two
// functions, so that a test can count live blocks and make an allocation fail.
void* AllocateBlock(SIZE_T bytes);   // null when the heap cannot satisfy it
void FreeBlock(void* block);         // null is allowed and ignored

// Blocks allocated through AllocateBlock and not yet freed.
extern LONG g_liveBlocks;
// Blocks allocated in all, for measuring how often an operation allocates.
extern LONG g_allocatedBlocks;
// Test seam: when not negative, this many allocations still succeed and every
// later one fails until a test sets it back to -1.
extern LONG g_allocationsBeforeFailure;
