#include <gtest/gtest.h>

#include "formats/script_bytes.h"
#include "formats/script_format.h"

using namespace kelvara;

namespace {

std::vector<ScriptRecord> walk(const Bytes& script, std::size_t size, bool* endMet = nullptr) {
    RecordCursor cursor(script.data(), size);
    std::vector<ScriptRecord> records;
    ScriptRecord record;
    while (cursor.next(record)) records.push_back(record);
    EXPECT_FALSE(cursor.next(record)) << "a stopped walk stays stopped";
    if (endMet) *endMet = cursor.reachedEndRecord();
    return records;
}

}  // namespace

TEST(RecordCursor, YieldsRecordsInOrderAndStopsAtTheEndRecord) {
    ScriptBytes script;
    script.record(3, PayloadBytes().str("licence").bytes).record(42, Bytes{1, 2, 3});
    script.record(8, Bytes{}).end();
    // Bytes after the end record are never read as records.
    script.record(4, PayloadBytes().str("never").bytes);
    bool endMet = false;
    auto records = walk(script.bytes, script.bytes.size(), &endMet);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_TRUE(endMet);
    EXPECT_EQ(records[0].type, 3);
    EXPECT_EQ(records[0].length, 8u);
    EXPECT_STREQ(reinterpret_cast<const char*>(records[0].payload), "licence");
    EXPECT_EQ(records[1].type, 42);
    EXPECT_EQ(records[1].payload, script.bytes.data() + 8 + 8 + 8);
    EXPECT_EQ(records[1].payload[2], 3);
    EXPECT_EQ(records[2].type, 8);
    EXPECT_EQ(records[2].length, 0u);
}

TEST(RecordCursor, StopsAtRecordsThatRunPastTheBlock) {
    ScriptBytes good;
    good.record(3, PayloadBytes().str("a").bytes);
    const std::size_t goodSize = good.bytes.size();

    // Payload one byte longer than what is left.
    ScriptBytes longPayload = good;
    longPayload.record(4, Bytes{'x', 0});
    longPayload.bytes.pop_back();
    bool endMet = true;
    EXPECT_EQ(walk(longPayload.bytes, longPayload.bytes.size(), &endMet).size(), 1u);
    EXPECT_FALSE(endMet);

    // A length that would wrap an offset computation.
    ScriptBytes hugeLength = good;
    hugeLength.bytes.insert(hugeLength.bytes.end(), {4, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0});
    hugeLength.end();
    EXPECT_EQ(walk(hugeLength.bytes, hugeLength.bytes.size(), &endMet).size(), 1u);
    EXPECT_FALSE(endMet);

    // A header cut after its type, and a block cut inside a type field.
    ScriptBytes cutHeader = good;
    cutHeader.bytes.insert(cutHeader.bytes.end(), {4, 0, 0, 0, 1, 0});
    EXPECT_EQ(walk(cutHeader.bytes, cutHeader.bytes.size(), &endMet).size(), 1u);
    EXPECT_FALSE(endMet);
    EXPECT_EQ(walk(cutHeader.bytes, goodSize + 3, &endMet).size(), 1u);
    EXPECT_FALSE(endMet);

    // The block size bounds the walk, not the bytes behind it.
    ScriptBytes complete = good;
    complete.end();
    EXPECT_EQ(walk(complete.bytes, goodSize - 1, &endMet).size(), 0u);
    EXPECT_EQ(walk(complete.bytes, 0, &endMet).size(), 0u);
    RecordCursor none(nullptr, 100);
    ScriptRecord record;
    EXPECT_FALSE(none.next(record));
}

TEST(PayloadReader, ReadsLittleEndianFieldsWithinThePayloadOnly) {
    Bytes payload = PayloadBytes().u8(0xAB).u16(0x1234).u32(0x89ABCDEF).str("").str("hi").bytes;
    payload.push_back('x');  // a string without its terminator at the end
    PayloadReader reader(payload.data(), payload.size());
    std::uint8_t b = 0;
    std::uint16_t w = 0;
    std::uint32_t d = 0;
    const char* s = nullptr;
    ASSERT_TRUE(reader.readU8(b) && reader.readU16(w) && reader.readU32(d));
    EXPECT_EQ(b, 0xAB);
    EXPECT_EQ(w, 0x1234);
    EXPECT_EQ(d, 0x89ABCDEFu);
    ASSERT_TRUE(reader.readString(s));
    EXPECT_STREQ(s, "");
    ASSERT_TRUE(reader.readString(s));
    EXPECT_STREQ(s, "hi");
    EXPECT_EQ(reader.remaining(), 1u);
    s = nullptr;
    EXPECT_FALSE(reader.readString(s)) << "unterminated string";
    EXPECT_EQ(s, nullptr);
    EXPECT_FALSE(reader.readU16(w));
    EXPECT_EQ(w, 0x1234) << "a failed read leaves the output alone";
    EXPECT_EQ(reader.remaining(), 1u) << "a failed read consumes nothing";
    EXPECT_TRUE(reader.readU8(b));
    EXPECT_FALSE(reader.readU8(b));
    EXPECT_FALSE(reader.readString(s));

    PayloadReader three(payload.data() + 3, 3);
    EXPECT_FALSE(three.readU32(d));
    EXPECT_EQ(three.remaining(), 3u);
}

TEST(ScriptFormat, RgbNumbersExchangeTheirFirstAndThirdByte) {
    EXPECT_EQ(rgbNumberToColor(0xFF8000), 0x0080FFu);  // red 255, green 128, blue 0
    EXPECT_EQ(rgbNumberToColor(0x00008C), 0x8C0000u);
    EXPECT_EQ(rgbNumberToColor(0x12345678), 0x12785634u);  // the top byte stays
    EXPECT_EQ(rgbNumberToColor(rgbNumberToColor(0xA1B2C3)), 0xA1B2C3u);
}
