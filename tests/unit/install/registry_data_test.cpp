#include "install/registry_data.h"

#include <gtest/gtest.h>

#include <string>

using namespace kelvara;

namespace {

// The bytes a conversion gives, or "<unknown>" / "<out of memory>".
std::string convert(std::uint32_t type, const char* text) {
    RegistryData data;
    switch (data.convert(type, text)) {
        case DataResult::unknownType:
            EXPECT_EQ(data.bytes(), nullptr) << "nothing is held for an unknown type";
            return "<unknown>";
        case DataResult::outOfMemory:
            return "<out of memory>";
        case DataResult::converted:
            break;
    }
    EXPECT_NE(data.bytes(), nullptr)
        << "type " << type << " \"" << (text ? text : "null") << "\": a buffer even for no bytes";
    return std::string(reinterpret_cast<const char*>(data.bytes()), data.size());
}

std::string bytes(std::initializer_list<unsigned char> list) {
    return std::string(list.begin(), list.end());
}

}  // namespace

TEST(RegistryData, StringsKeepTheirTextAndOneTerminator) {
    for (std::uint32_t type : {kRegString, kRegExpandString}) {
        EXPECT_EQ(convert(type, "C:\\App|x"), std::string("C:\\App|x", 8) + '\0')
            << "type " << type << ": bars stay in plain strings";
        EXPECT_EQ(convert(type, ""), std::string(1, '\0')) << "type " << type;
        EXPECT_EQ(convert(type, nullptr), std::string(1, '\0')) << "type " << type << ", null";
    }
}

TEST(RegistryData, MultiStringsSplitAtBarsAndEndInTwoTerminators) {
    EXPECT_EQ(convert(kRegMultiString, "one|two"), std::string("one\0two\0\0", 9));
    EXPECT_EQ(convert(kRegMultiString, "single"), std::string("single\0\0", 8));
    EXPECT_EQ(convert(kRegMultiString, "a||b"), std::string("a\0\0b\0\0", 6))
        << "an empty item is kept as written";
    EXPECT_EQ(convert(kRegMultiString, ""), std::string("\0\0", 2));
}

TEST(RegistryData, BinaryReadsHexPairsUpToTheFirstOtherCharacter) {
    EXPECT_EQ(convert(kRegBinary, "0aFf"), bytes({0x0A, 0xFF})) << "either case";
    EXPECT_EQ(convert(kRegBinary, "ABC"), bytes({0xAB, 0xC0})) << "a final single digit";
    EXPECT_EQ(convert(kRegBinary, "1"), bytes({0x10}));
    EXPECT_EQ(convert(kRegBinary, "12G4"), bytes({0x12})) << "stops at G";
    EXPECT_EQ(convert(kRegBinary, "1G34"), bytes({0x10})) << "a broken pair still gives a byte";
    EXPECT_EQ(convert(kRegBinary, "12 34"), bytes({0x12})) << "a blank ends the data";
    EXPECT_EQ(convert(kRegBinary, "x12"), "") << "no digit first: no bytes";
    EXPECT_EQ(convert(kRegBinary, ""), "");
    EXPECT_EQ(convert(kRegBinary, "00000000"), bytes({0, 0, 0, 0})) << "zero bytes count";
    EXPECT_EQ(convert(kRegBinary, "DeadBeef01"), bytes({0xDE, 0xAD, 0xBE, 0xEF, 0x01}));
}

TEST(RegistryData, DwordsFollowTheNumberRuleLittleEndian) {
    EXPECT_EQ(convert(kRegDword, "305419896"), bytes({0x78, 0x56, 0x34, 0x12})) << "decimal";
    EXPECT_EQ(convert(kRegDword, "0x12AbCdEf"), bytes({0xEF, 0xCD, 0xAB, 0x12})) << "hex";
    EXPECT_EQ(convert(kRegDword, "0755"), bytes({0xED, 0x01, 0, 0})) << "octal 0755 = 493";
    EXPECT_EQ(convert(kRegDword, "-1"), bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(convert(kRegDword, "4294967295"), bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(convert(kRegDword, "12abc"), bytes({12, 0, 0, 0})) << "stops at the first letter";
    EXPECT_EQ(convert(kRegDword, ""), bytes({0, 0, 0, 0}));
    EXPECT_EQ(convert(kRegDword, "words"), bytes({0, 0, 0, 0}));
}

TEST(RegistryData, OtherTypesAreSkipped) {
    for (std::uint32_t type : {0u, 5u, 6u, 8u, 11u, 0x80000001u})
        EXPECT_EQ(convert(type, "01"), "<unknown>") << "type " << type;
}

TEST(RegistryData, ConvertingAgainReplacesTheOldBytes) {
    RegistryData data;
    ASSERT_EQ(data.convert(kRegString, "a long text to be replaced"), DataResult::converted);
    ASSERT_EQ(data.convert(kRegBinary, "7f"), DataResult::converted);
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data.bytes()[0], 0x7F);
    EXPECT_EQ(data.convert(99, "7f"), DataResult::unknownType);
    EXPECT_EQ(data.size(), 0u) << "a skipped type holds nothing";
}
