#include "runtime/text_encoding_host.h"

#include "runtime/text_encoding.h"

namespace kelvara {
namespace {

bool utf8Texts = false;

}  // namespace

void useUtf8Texts(bool utf8) {
    utf8Texts = utf8;
}

bool textIsUtf8() {
    return utf8Texts;
}

}  // namespace kelvara
