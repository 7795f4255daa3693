// Heap strings: NUL-terminated ANSI text owned by whoever holds the pointer.
#pragma once

namespace kelvara {

// Heap copy of `text` with room for `extra` more characters and the terminator, zero-filled.
// A null text counts as empty. Null when the heap is exhausted; the caller frees the result.
char* strDupExtra(const char* text, int extra);

// New heap string: a, b, c, d and e concatenated, null arguments skipped. Null when the heap
// is exhausted; the caller frees the result.
char* strConcat5(const char* a, const char* b = nullptr, const char* c = nullptr,
                 const char* d = nullptr, const char* e = nullptr);

// Owns one heap string and frees it when it goes out of scope.
class HeapString {
  public:
    HeapString() = default;
    explicit HeapString(char* owned) : text_(owned) {}
    HeapString(const HeapString&) = delete;
    HeapString& operator=(const HeapString&) = delete;
    HeapString(HeapString&& other) noexcept : text_(other.release()) {}
    HeapString& operator=(HeapString&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~HeapString() { reset(); }

    char* get() const { return text_; }
    explicit operator bool() const { return text_ != nullptr; }
    // Hands the string to the caller, who frees it from then on.
    char* release() {
        char* t = text_;
        text_ = nullptr;
        return t;
    }
    void reset(char* owned = nullptr);

  private:
    char* text_ = nullptr;
};

}  // namespace kelvara
