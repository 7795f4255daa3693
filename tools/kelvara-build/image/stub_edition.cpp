#include "kelvara-build/image/stub_edition.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace kelvara::build {
namespace {

constexpr std::string_view kUtf8CodePageElement =
    "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8"
    "</activeCodePage>";

}  // namespace

const char* stubFileName(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? "kelvara-unicode.exe" : "kelvara.exe";
}

TextEncoding stubEncoding(const unsigned char* bytes, std::size_t size) {
    const std::boyer_moore_horspool_searcher searcher(kUtf8CodePageElement.begin(),
                                                      kUtf8CodePageElement.end());
    const char* begin = reinterpret_cast<const char*>(bytes);
    const char* end = begin + size;
    return std::search(begin, end, searcher) != end ? TextEncoding::Utf8
                                                    : TextEncoding::Windows1252;
}

const char* editionName(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? "unicode" : "classic";
}

std::string editionMismatch(TextEncoding encoding, TextEncoding stubText,
                            const std::string& stubName) {
    if (encoding == stubText) return {};
    const char* const kEditions[] = {"classic edition", "Unicode edition"};
    auto edition = [&](TextEncoding e) { return kEditions[e == TextEncoding::Utf8 ? 1 : 0]; };
    return "the stub '" + stubName + "' is the " + edition(stubText) + ", whose texts are " +
           encodingName(stubText) + "; a project with encoding = \"" + encodingKeyword(encoding) +
           "\" needs the " + edition(encoding) + ", " + stubFileName(encoding);
}

}  // namespace kelvara::build
