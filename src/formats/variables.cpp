// Script variables and the replacement primitive.
//
// replaceAll streams the text through an output buffer: characters are taken one by one, and
// whenever the output ends with `find` those characters are dropped and the replacement is fed
// back in front of the rest of the input. The first occurrence found that way is always the
// leftmost one of the whole current text, so the result is that of replacing the leftmost
// occurrence and searching again from the beginning, without rescanning the finished part.
#include "formats/variables.h"

#include <climits>
#include <cstddef>
#include <cstring>

#include "formats/setup_state.h"
#include "runtime/heap.h"
#include "runtime/heap_string.h"
#include "runtime/string_list.h"
#include "runtime/text_utils.h"

namespace kelvara {
namespace {

// A growable heap text that always stays NUL-terminated.
class TextBuffer {
  public:
    TextBuffer() = default;
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    ~TextBuffer() { heapFree(data_); }

    std::size_t length() const { return length_; }
    const char* data() const { return data_; }

    // Room for `extra` more characters and the terminator. False when the heap is exhausted.
    bool reserve(std::size_t extra) {
        if (extra > static_cast<std::size_t>(-1) / 2 - length_) return false;
        std::size_t needed = length_ + extra + 1;
        if (needed <= capacity_) return true;
        std::size_t grown = capacity_ < 64 ? 64 : capacity_;
        while (grown < needed) grown *= 2;
        auto* bigger = static_cast<char*>(heapResize(data_, grown));
        if (!bigger) return false;
        data_ = bigger;
        capacity_ = grown;
        return true;
    }

    bool push(char c) {
        if (!reserve(1)) return false;
        data_[length_++] = c;
        data_[length_] = '\0';
        return true;
    }

    bool append(const char* text, std::size_t length) {
        if (!reserve(length)) return false;
        std::memcpy(data_ + length_, text, length);
        length_ += length;
        data_[length_] = '\0';
        return true;
    }

    // Removes and returns the last character; the buffer must not be empty.
    char pop() {
        char c = data_[--length_];
        data_[length_] = '\0';
        return c;
    }

    void truncate(std::size_t length) {
        length_ = length;
        data_[length_] = '\0';
    }

    // Hands the text to the caller (an empty heap string when nothing was ever stored).
    char* release() {
        if (!data_ && !reserve(0)) return nullptr;
        char* text = data_;
        data_ = nullptr;
        length_ = capacity_ = 0;
        return text;
    }

  private:
    char* data_ = nullptr;
    std::size_t length_ = 0;
    std::size_t capacity_ = 0;
};

// Pushes text so that popping yields it in reading order.
bool pushReversed(TextBuffer& stack, const char* text, std::size_t length) {
    if (!stack.reserve(length)) return false;
    for (std::size_t i = length; i > 0; --i) stack.push(text[i - 1]);
    return true;
}

int findEntry(const char* name) {
    return setupState.variableNames.find(name, 0, 0);
}

}  // namespace

bool defineVariable(const char* name, const char* value) {
    SetupState& s = setupState;
    int index = s.variableNames.append(name);
    if (index < 0) return false;
    if (s.variableValues.append(value) < 0) {
        // A name without its value would pair every later name with the wrong value.
        s.variableNames.removeAt(index);
        return false;
    }
    return true;
}

const char* lookupVariable(const char* name) {
    int index = findEntry(name);
    return index < 0 ? nullptr : setupState.variableValues.get(index);
}

bool setVariable(const char* name, const char* value) {
    int index = findEntry(name);
    if (index < 0) return defineVariable(name, value);
    return setupState.variableValues.set(index, value);
}

char* expandVariables(const char* text) {
    const SetupState& s = setupState;
    HeapString result(strDupExtra(text, 0));
    for (int i = 0; result && i < s.variableNames.count(); ++i) {
        result.reset(
            replaceAll(result.get(), s.variableNames.get(i), s.variableValues.get(i), false));
    }
    return result.release();
}

char* replaceAll(const char* text, const char* find, const char* replacement, bool caseSensitive) {
    if (!text) text = "";
    if (!replacement) replacement = "";
    std::size_t findLength = find ? std::strlen(find) : 0;
    if (findLength == 0 || findLength > INT_MAX) return strDupExtra(text, 0);
    std::size_t replacementLength = std::strlen(replacement);
    // Such a replacement would be found again in its own text forever.
    bool continueAfterInsert = findText(replacement, find, -1, caseSensitive) != nullptr;

    TextBuffer out;
    TextBuffer pending;  // replacement text still to be read, last character on top
    if (!out.reserve(std::strlen(text))) return nullptr;
    std::size_t searchStart = 0;  // an occurrence must begin here or later
    std::size_t inserted = 0;
    bool replacing = true;
    const char* input = text;
    for (;;) {
        char c;
        if (pending.length()) {
            c = pending.pop();
        } else if (*input) {
            c = *input++;
        } else {
            break;
        }
        if (!out.push(c)) return nullptr;
        if (!replacing || out.length() < searchStart + findLength) continue;
        const char* tail = out.data() + out.length() - findLength;
        if (!findText(tail, find, static_cast<int>(findLength), caseSensitive)) continue;
        if (replacementLength > static_cast<std::size_t>(kMaxInsertedChars) - inserted) {
            replacing = false;  // budget spent: the rest is kept as it stands
            continue;
        }
        inserted += replacementLength;
        out.truncate(out.length() - findLength);
        if (continueAfterInsert) {
            if (!out.append(replacement, replacementLength)) return nullptr;
            searchStart = out.length();
        } else if (!pushReversed(pending, replacement, replacementLength)) {
            return nullptr;
        }
    }
    return out.release();
}

}  // namespace kelvara
