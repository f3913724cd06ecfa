// The process heap behind every block of Zindral's.
#include "model/Heap.h"

void* AllocateBlock(SIZE_T bytes)
{
    return HeapAlloc(GetProcessHeap(), 0, bytes);
}

void FreeBlock(void* block)
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}
