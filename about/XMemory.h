// A memory block that carries its payload size in the four bytes in front of the payload.
#pragma once

namespace about {

// Points block at a new payload of size bytes, or sets it to null for size 0. Raises
// std::bad_alloc when the memory cannot be had (and for a negative size); no block is held then.
void AllocBlock(void*& block, int size);

// Releases a block from AllocBlock and sets the pointer to null; a null pointer does nothing.
void FreeBlock(void*& block);

// Frees its block when the scope ends, also when an exception passes.
class TBlockGuard {
 public:
  explicit TBlockGuard(void*& block) : block_(block) {}
  TBlockGuard(const TBlockGuard&) = delete;
  TBlockGuard& operator=(const TBlockGuard&) = delete;
  ~TBlockGuard() { FreeBlock(block_); }

 private:
  void*& block_;
};

}  // namespace about
