#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "runtime/heap.h"
#include "runtime/percent.h"
#include "runtime/string_list.h"
#include "runtime/text_utils.h"

using namespace kelvara;

namespace {

std::string fieldsOf(const StringList& fields) {
    std::string text;
    for (int i = 0; i < fields.count(); ++i) {
        if (i) text += '|';
        text += fields.get(i) ? fields.get(i) : "<hole>";
    }
    return text;
}

// n empty fields after a leading "|", as fieldsOf shows them.
std::string emptyFields(int n) {
    return std::string(n, '|');
}

}  // namespace

TEST(ParseNumber, ThreeNotationsWrapAndStopEarly) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"0x1F", 31},
        {"0X1f", 31},
        {"017", 15},
        {"-12", -12},
        {"12ab", 12},
        {"0", 0},
        {"08", 8},
        {"09", 9},
        {"-0x10", 0},
        {"", 0},
        {"0778", 63},
        {"0x", 0},
        {"0xFFFFFFFF", -1},
        {"4294967297", 1},
        {"-2147483648", -2147483647 - 1},
        {" 5", 0},
        {"+5", 0},
        {"-", 0},
        {"0x7fffffff", 2147483647},
    };
    for (const Case& c : cases) EXPECT_EQ(parseNumber(c.text), c.value) << "\"" << c.text << "\"";
    EXPECT_EQ(parseNumber(nullptr), 0);
}

TEST(TextSearch, FindTextHonoursCaseAndLimit) {
    const char* text = "Path=%SHORTCUTSGROUP%\\App";
    EXPECT_EQ(findText(text, "%shortcutsgroup%", -1, false), text + 5);
    EXPECT_EQ(findText(text, "%shortcutsgroup%", -1, true), nullptr);
    EXPECT_EQ(findText(text, "%SHORTCUTSGROUP%", -1, true), text + 5);

    EXPECT_EQ(findText("abc", "abcd", -1, true), nullptr) << "pattern longer than the text";
    const char* whole = "abc";
    EXPECT_EQ(findText(whole, "abc", -1, true), whole) << "a pattern equal to the text";
    EXPECT_EQ(findText(whole, "", -1, true), nullptr);
    EXPECT_EQ(findText(nullptr, "a", -1, true), nullptr);
    EXPECT_EQ(findText(whole, nullptr, -1, true), nullptr);

    const char* digits = "abcdef";
    EXPECT_EQ(findText(digits, "def", 5, true), nullptr) << "a match must end within the limit";
    EXPECT_EQ(findText(digits, "def", 6, true), digits + 3);
    EXPECT_EQ(findText(digits, "def", 600, true), digits + 3) << "a limit past the end";
    EXPECT_EQ(findText(digits, "a", 0, true), nullptr);
}

TEST(TextSearch, CharactersForwardAndBackward) {
    const char* path = "C:\\Program Files\\Tool\\x.exe";
    EXPECT_EQ(findChar(path, '\\', -1, true), path + 2);
    EXPECT_EQ(findChar(path, 'p', -1, true), nullptr);
    EXPECT_EQ(findChar(path, 'p', -1, false), path + 3);
    EXPECT_EQ(findChar(path, 'F', 5, true), nullptr) << "the limit bounds the scan";
    EXPECT_EQ(findChar(nullptr, 'a', -1, true), nullptr);

    EXPECT_EQ(findLastChar(path, '\\', -1, true), path + 21);
    EXPECT_EQ(findLastChar(path, '\\', 21, true), path + 16) << "only the first 21 characters";
    EXPECT_EQ(findLastChar(path, 'X', -1, false), path + 25);
    EXPECT_EQ(findLastChar(path, 'X', -1, true), nullptr);
    EXPECT_EQ(findLastChar("no separator", '\\', -1, true), nullptr);
    EXPECT_EQ(findLastChar(path, 'C', 0, true), nullptr);

    // A limit past the terminator must not make the scan start beyond the text.
    char buffer[8] = "a\\b";
    std::memset(buffer + 4, '\\', 4);
    EXPECT_EQ(findLastChar(buffer, '\\', 8, true), buffer + 1);
}

TEST(TextSearch, ExtractDelimited) {
    const char* text = "Run %AppDir%\\x.exe";
    char* piece = nullptr;
    EXPECT_EQ(extractDelimited(&piece, text, "%", -1, true), text + 4);
    ASSERT_NE(piece, nullptr);
    EXPECT_STREQ(piece, "%AppDir%");
    heapFree(piece);

    const char* mixed = "xx<TAG>body<tag>yy";
    EXPECT_EQ(extractDelimited(&piece, mixed, "<tag>", -1, false), mixed + 2);
    EXPECT_STREQ(piece, "<TAG>body<tag>");
    heapFree(piece);
    EXPECT_EQ(extractDelimited(&piece, mixed, "<tag>", 14, false), nullptr)
        << "the second delimiter lies beyond the limit";
    EXPECT_EQ(piece, nullptr);

    piece = reinterpret_cast<char*>(1);
    EXPECT_EQ(extractDelimited(&piece, "only %one", "%", -1, true), nullptr);
    EXPECT_EQ(piece, nullptr) << "out is cleared when a delimiter is missing";
    EXPECT_NE(extractDelimited(&piece, "%%", "%", -1, true), nullptr);
    EXPECT_STREQ(piece, "%%");
    heapFree(piece);
}

TEST(TextSearch, NextTokenAndContainsAny) {
    char text[] = "4.0::5.5::::6";
    EXPECT_STREQ(nextToken(text, "::"), "4.0");
    EXPECT_STREQ(nextToken(nullptr, "::"), "5.5");
    EXPECT_STREQ(nextToken(nullptr, "::"), "") << "two separators in a row give an empty token";
    EXPECT_STREQ(nextToken(nullptr, "::"), "6");
    EXPECT_EQ(nextToken(nullptr, "::"), nullptr);
    EXPECT_EQ(nextToken(nullptr, "::"), nullptr);

    char again[] = "a,b";
    EXPECT_STREQ(nextToken(again, ","), "a") << "a new text restarts the tokenizer";
    char empty[] = "";
    EXPECT_STREQ(nextToken(empty, ","), "b") << "an empty text continues";

    StringList list;
    EXPECT_FALSE(containsAny("anything", list));
    ASSERT_TRUE(list.create(5));
    list.append(nullptr);
    list.append("");
    EXPECT_FALSE(containsAny("anything", list)) << "holes and empty items match nothing";
    list.append("NT");
    EXPECT_TRUE(containsAny("Windows NT 4.0", list));
    EXPECT_FALSE(containsAny("Windows nt 4.0", list)) << "exact case";
    EXPECT_FALSE(containsAny(nullptr, list));
}

TEST(SplitFields, CommaSeparatedPieces) {
    StringList fields;  // not created: the splitter makes it ready
    splitFields("a,,b", false, fields);
    EXPECT_EQ(fieldsOf(fields), "a||b" + emptyFields(12));

    splitFields("", false, fields);
    EXPECT_EQ(fieldsOf(fields), emptyFields(14)) << "fifteen empty items, no holes";
    splitFields(nullptr, false, fields);
    EXPECT_EQ(fieldsOf(fields), emptyFields(14));

    splitFields(" x , y", false, fields);
    EXPECT_STREQ(fields.get(0), " x ") << "blanks are kept";
    EXPECT_STREQ(fields.get(1), " y");

    splitFields("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16", false, fields);
    EXPECT_EQ(fieldsOf(fields), "0|1|2|3|4|5|6|7|8|9|10|11|12|13|14")
        << "the text after the 15th comma is dropped";

    const char* source = "keep,me";
    splitFields(source, false, fields);
    EXPECT_STREQ(source, "keep,me") << "the caller's text is not cut";
    EXPECT_NE(fields.get(0), source);
}

TEST(SplitFields, QuotedFirstField) {
    StringList fields;
    ASSERT_TRUE(fields.create(kFieldCount));
    splitFields("\"C:\\Art, Big\\b.bmp\",1,2", true, fields);
    EXPECT_EQ(fieldsOf(fields), "C:\\Art, Big\\b.bmp|1|2" + emptyFields(12))
        << "the comma inside the quotes stays in item 0";

    splitFields("no quotes, at all", true, fields);
    EXPECT_EQ(fieldsOf(fields), emptyFields(14));

    splitFields("lead \"name\" tail ,a,b", true, fields);
    EXPECT_EQ(fieldsOf(fields), "name|a|b" + emptyFields(12))
        << "the pieces start after the first comma behind the closing quote";

    splitFields("\"name\" no comma", true, fields);
    EXPECT_EQ(fieldsOf(fields), "name" + emptyFields(14));

    splitFields("\"open, never closed", true, fields);
    EXPECT_EQ(fieldsOf(fields), "open, never closed" + emptyFields(14));

    splitFields("\"q\",1,2,3,4,5,6,7,8,9,10,11,12,13,14,15", true, fields);
    EXPECT_EQ(fieldsOf(fields), "q|1|2|3|4|5|6|7|8|9|10|11|12|13|14");
}

// The bars' share is the 64-bit quotient taken to 32 bits, for every pair, found with 32-bit
// steps only: the edges of both operands, parts past the total, and a spread of values between.
TEST(Percent, MatchesTheWideQuotientEverywhere) {
    const std::uint32_t edges[] = {1u,          2u,          3u,         99u,         100u,
                                   101u,        42949672u,   42949673u,  0x7FFFFFFFu, 0x80000000u,
                                   0x80000001u, 0xFFFFFFFEu, 0xFFFFFFFFu};
    auto wide = [](std::uint32_t part, std::uint32_t total) {
        return static_cast<std::uint32_t>(std::uint64_t(part) * 100u / total);
    };
    std::uint32_t checked = 0;
    for (std::uint32_t total : edges) {
        for (std::uint32_t part : edges) {
            for (std::uint32_t near : {part - 1, part, part + 1}) {
                ASSERT_EQ(percentOf(near, total), wide(near, total)) << near << " of " << total;
                ++checked;
            }
        }
        ASSERT_EQ(percentOf(0, total), 0u);
        ASSERT_EQ(percentOf(total, total), 100u) << total;
    }
    std::uint32_t state = 12345;  // a fixed sequence, the same on every run
    for (int i = 0; i < 200000; ++i) {
        state = state * 1664525u + 1013904223u;
        const std::uint32_t total = (state >> (i % 31)) | 1u;
        state = state * 1664525u + 1013904223u;
        const std::uint32_t part = i % 2 ? state % (total + (total < 0xFFFFFFFFu)) : state;
        ASSERT_EQ(percentOf(part, total), wide(part, total)) << part << " of " << total;
        ++checked;
    }
    EXPECT_GT(checked, 200000u);
}
