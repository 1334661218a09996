#pragma once

// Counts the heap allocations the whole process makes between
// StartCountingAllocations() and StopCountingAllocations(): every operator new,
// and where MallocIsCounted(), every malloc, calloc and realloc as well, so
// that allocations inside C libraries count too. Link allocation_counter.cpp
// into a test executable to use it; it replaces the global allocators.

bool MallocIsCounted();
void StartCountingAllocations();
// The allocations since the matching start.
int StopCountingAllocations();
