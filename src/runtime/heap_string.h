// Heap strings: NUL-terminated ANSI text owned by whoever holds the pointer.
#pragma once
#include "runtime/heap.h"

namespace kelvara {

// Heap copy of `text` with room for `extra` more characters and the terminator, zero-filled.
// A null text counts as empty. Null when the heap is exhausted; the caller frees the result.
char* strDupExtra(const char* text, int extra);

// New heap string: a, b, c, d and e concatenated, null arguments skipped. Null when the heap
// is exhausted; the caller frees the result.
char* strConcat5(const char* a, const char* b = nullptr, const char* c = nullptr,
                 const char* d = nullptr, const char* e = nullptr);

// Owns one heap string and frees it when it goes out of scope.
using HeapString = HeapOwned<char>;

// Replaces `target` by a heap copy of `text` (a null text counts as empty). False when the heap
// is exhausted; `target` is null then.
bool copyText(HeapString& target, const char* text);

}  // namespace kelvara
