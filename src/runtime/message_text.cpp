// The text of a formatted message box.
#include "runtime/message_text.h"

#include "runtime/text_encoding.h"

namespace kelvara {
namespace {

// Appends text to the buffer as far as it fits, keeping room for the terminator.
class BoundedWriter {
  public:
    BoundedWriter(char* buffer, std::size_t size) : buffer_(buffer), size_(size) {}
    void put(char c) {
        if (length_ + 1 < size_) {
            buffer_[length_++] = c;
        } else {
            cut_ = true;
        }
    }
    void put(const char* text) {
        while (text && *text) put(*text++);
    }
    // A text cut to fit ends with whole characters.
    std::size_t finish() {
        if (cut_) length_ = wholeCharactersLength(buffer_, length_);
        if (size_) buffer_[length_] = '\0';
        return length_;
    }

  private:
    char* buffer_;
    std::size_t size_;
    std::size_t length_ = 0;
    bool cut_ = false;
};

}  // namespace

std::size_t formatMessageText(char* buffer, std::size_t bufferSize, const char* format,
                              const char* a1, const char* a2, const char* a3) {
    if (!buffer) return 0;
    BoundedWriter out(buffer, bufferSize);
    if (!format) return out.finish();
    if (!a1) {
        out.put(format);
        return out.finish();
    }
    const char* arguments[] = {a1, a2, a3};
    int next = 0;
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            if (next < 3) out.put(arguments[next++]);
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            out.put('%');
            ++p;
        } else {
            out.put(*p);
        }
    }
    return out.finish();
}

}  // namespace kelvara
