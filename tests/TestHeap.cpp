// The tests' heap: counts the blocks and fails on request.
#include "tests/TestHeap.h"

LONG g_liveBlocks;
LONG g_allocatedBlocks;
LONG g_allocationsBeforeFailure = -1;

void* AllocateBlock(SIZE_T bytes)
{
    if (g_allocationsBeforeFailure == 0)
        return nullptr;
    if (g_allocationsBeforeFailure > 0)
        --g_allocationsBeforeFailure;
    void* block = HeapAlloc(GetProcessHeap(), 0, bytes);
    if (block) {
        ++g_liveBlocks;
        ++g_allocatedBlocks;
    }
    return block;
}

void FreeBlock(void* block)
{
    if (!block)
        return;
    HeapFree(GetProcessHeap(), 0, block);
    --g_liveBlocks;
}
