// The process's ANSI code page on Windows: the Unicode edition's manifest makes it UTF-8.
#include <windows.h>

#include "runtime/text_encoding.h"

namespace kelvara {

bool textIsUtf8() {
    return ::GetACP() == CP_UTF8;
}

}  // namespace kelvara
