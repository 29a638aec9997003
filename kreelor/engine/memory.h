// Memory allocation with its fatal error, and the runtime's random generator.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kreelor {

// The block, or 0 after memoryerror ("Out of Memory") ran.
void* getmemory(size_t bytes);
void freememory(void* block);
// Largest block getmemory grants (0: no limit); tests use it to reach the error.
extern size_t memorylimit;

// state = state * 1103515245 + 12345; result (state >> 16) & 0x7FFF.
int32_t rand();
void srand(uint32_t seed);
extern uint32_t randstate;

}  // namespace kreelor
