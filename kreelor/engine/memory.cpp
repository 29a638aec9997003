// Memory allocation and the runtime random generator.
#include "kreelor/engine/memory.h"

#include <cstdlib>

#include "kreelor/engine/directx.h"

namespace kreelor {

size_t memorylimit = 0;
uint32_t randstate = 1;

void* getmemory(size_t bytes) {
  void* p = nullptr;
  if (!memorylimit || bytes <= memorylimit) p = std::malloc(bytes ? bytes : 1);
  if (!p) {
    memoryerror();
    return nullptr;
  }
  return p;
}

void freememory(void* block) { std::free(block); }

int32_t rand() {
  randstate = randstate * 1103515245u + 12345u;
  return (int32_t)((randstate >> 16) & 0x7FFF);
}

void srand(uint32_t seed) { randstate = seed; }

}  // namespace kreelor
