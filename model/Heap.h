#pragma once
// Heap blocks, with a stand-in for the tests.
#include <windows.h>

// Every heap block of Zindral comes from the process heap through these two
// functions. The tests link a heap of their own with the same interface,
// which counts the blocks and can be told to fail.
void* AllocateBlock(SIZE_T bytes);   // null when the heap cannot satisfy it
void FreeBlock(void* block);         // null is allowed and ignored
