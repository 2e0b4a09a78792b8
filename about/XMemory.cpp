#include "about/XMemory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace about {

namespace {
const int kPrefix = 4;
}

void AllocBlock(void*& block, int size) {
  if (size == 0) {
    block = nullptr;
    return;
  }
  if (size < 0) throw std::bad_alloc();
  auto* start = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size) + kPrefix));
  if (!start) throw std::bad_alloc();
  const std::int32_t stored = size;
  std::memcpy(start, &stored, kPrefix);
  block = start + kPrefix;
}

void FreeBlock(void*& block) {
  if (!block) return;
  std::free(static_cast<unsigned char*>(block) - kPrefix);
  block = nullptr;
}

}  // namespace about
