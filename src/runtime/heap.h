// The private heap: every string and block the engine makes comes from it, zero-filled.
#pragma once
#include <cstddef>

namespace kelvara {

// Creates the private heap unless it exists. False when the system refuses; the last-error
// value then says why.
bool heapCreate();

// Destroys the private heap and with it everything still allocated. Called last at clean-up.
void heapDestroy();

// Zero-filled block of `size` bytes, or null (heap exhausted). Creates the heap on first use.
void* heapAlloc(std::size_t size);

// Frees a block. Null, and a pointer that is not a block of the private heap, are ignored.
void heapFree(void* block);

// Size 0 frees the block and returns null; a null block is allocated fresh; otherwise the
// block is resized and the new part zero-filled. Null on failure (the old block stays valid).
void* heapResize(void* block, std::size_t size);

// A zero-filled block of the private heap, freed when it goes out of scope. get() is null when
// the heap was exhausted.
class HeapBlock {
  public:
    explicit HeapBlock(std::size_t size) : data_(heapAlloc(size)) {}
    HeapBlock(const HeapBlock&) = delete;
    HeapBlock& operator=(const HeapBlock&) = delete;
    ~HeapBlock() { heapFree(data_); }
    void* get() const { return data_; }

  private:
    void* data_;
};

// Byte copy that is correct for overlapping ranges.
void memMove(void* dst, const void* src, std::size_t n);

}  // namespace kelvara
