// The private heap: every string and block the engine makes comes from it, zero-filled.
#pragma once
#include <cstddef>
#include <utility>

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

// Owns one block of the private heap (a string, a buffer) and frees it when it goes out of
// scope or is reset. Moving transfers ownership; get() is explicit. Empty is null, so a record
// of owners starts as zero bytes.
template <typename T>
class HeapOwned {
  public:
    constexpr HeapOwned() = default;
    explicit HeapOwned(T* owned) : block_(owned) {}
    HeapOwned(const HeapOwned&) = delete;
    HeapOwned& operator=(const HeapOwned&) = delete;
    HeapOwned(HeapOwned&& other) noexcept : block_(other.release()) {}
    HeapOwned& operator=(HeapOwned&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~HeapOwned() { reset(); }

    T* get() const { return block_; }
    explicit operator bool() const { return block_ != nullptr; }
    // Hands the block to the caller, who frees it from then on.
    T* release() { return std::exchange(block_, nullptr); }
    // Takes `owned` and frees the block held before (unless it is the same one).
    void reset(T* owned = nullptr) {
        T* old = std::exchange(block_, owned);
        if (old != owned) heapFree(old);
    }

  private:
    T* block_ = nullptr;
};

// Byte copy that is correct for overlapping ranges.
void memMove(void* dst, const void* src, std::size_t n);

}  // namespace kelvara
