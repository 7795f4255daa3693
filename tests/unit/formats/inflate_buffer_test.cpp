#include <gtest/gtest.h>

#include <zlib.h>

#include <vector>

#include "formats/inflate_buffer.h"
#include "formats/script_format.h"
#include "zlib_streams.h"

using namespace kelvara;
using kelvara::testing::sampleBytes;
using kelvara::testing::syncFlushedStream;

namespace {

struct RecordingSink : ProgressSink {
    int current = 0;
    std::vector<int> sent;
    int position() override { return current; }
    void setPosition(int p) override {
        current = p;
        sent.push_back(p);
    }
};

}  // namespace

TEST(InflateBuffer, SyncFlushedStreamsAndTrailingZerosYieldEveryByte) {
    auto data = sampleBytes(50000);
    auto stream = syncFlushedStream(data);
    ASSERT_EQ(stream[stream.size() - 1], 0xFF) << "the stream ends in 00 00 FF FF";

    std::vector<unsigned char> out(data.size());
    EXPECT_EQ(inflateBuffer(stream.data(), stream.size(), out.data(), out.size(), nullptr, 0),
              static_cast<long>(data.size()));
    EXPECT_EQ(out, data);

    // More bytes read than the stream has: the zeros after it stop the inflater, nothing is lost.
    auto padded = stream;
    padded.resize(stream.size() + 10000, 0);
    std::vector<unsigned char> out2(data.size());
    EXPECT_EQ(inflateBuffer(padded.data(), padded.size(), out2.data(), out2.size(), nullptr, 0),
              static_cast<long>(data.size()));
    EXPECT_EQ(out2, data);
}

TEST(InflateBuffer, CorruptOrTruncatedStreamsKeepWhatWasProduced) {
    auto data = sampleBytes(30000);
    auto stream = syncFlushedStream(data);
    std::vector<unsigned char> out(data.size(), 0);
    long half = inflateBuffer(stream.data(), stream.size() / 2, out.data(), out.size(), nullptr, 0);
    EXPECT_GT(half, 0);
    EXPECT_LT(half, static_cast<long>(data.size()));
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + half, data.begin()));

    std::vector<unsigned char> garbage(5000, 0xA5);
    std::vector<unsigned char> sink(1000, 0);
    EXPECT_EQ(inflateBuffer(garbage.data(), garbage.size(), sink.data(), sink.size(), nullptr, 0),
              0);

    // Output space smaller than the stream: it is filled and nothing is written past it.
    std::vector<unsigned char> small(1000 + 16, 0x5A);
    EXPECT_EQ(inflateBuffer(stream.data(), stream.size(), small.data(), 1000, nullptr, 0), 1000);
    for (int i = 1000; i < 1016; ++i) EXPECT_EQ(small[i], 0x5A) << "guard byte " << i;
}

TEST(InflateBuffer, ProgressAddsPercentOfInputToTheStartingPosition) {
    auto data = sampleBytes(400000);
    auto stream = syncFlushedStream(data);
    std::vector<unsigned char> out(data.size());

    RecordingSink bar;
    bar.current = 40;
    inflateBuffer(stream.data(), stream.size(), out.data(), out.size(), &bar,
                  static_cast<std::uint32_t>(stream.size()) * 2);
    ASSERT_FALSE(bar.sent.empty());
    EXPECT_EQ(bar.sent.back(), 40 + 50) << "all input of a total twice its size is 50%";
    for (std::size_t i = 1; i < bar.sent.size(); ++i) {
        EXPECT_GT(bar.sent[i], bar.sent[i - 1]) << "a position is sent only when it changes";
    }

    RecordingSink none;
    inflateBuffer(stream.data(), stream.size(), out.data(), out.size(), &none, 0);
    EXPECT_TRUE(none.sent.empty()) << "a total of 0 sends nothing";

    // Past 42 MB of input the percentage must not wrap around in 32 bits.
    std::vector<unsigned char> zeros(45u << 20, 0);
    auto stored = syncFlushedStream(zeros, 0);  // stored: as long as the data
    RecordingSink big;
    std::vector<unsigned char> out3(zeros.size());
    inflateBuffer(stored.data(), stored.size(), out3.data(), out3.size(), &big,
                  static_cast<std::uint32_t>(stored.size()) * 2);
    ASSERT_FALSE(big.sent.empty());
    EXPECT_EQ(big.sent.back(), 50);
    for (std::size_t i = 1; i < big.sent.size(); ++i) EXPECT_GT(big.sent[i], big.sent[i - 1]);
}

// The loader refuses a script size that no stream of the compressed bytes could inflate to;
// the most compressible script there is, deflated as hard as zlib can, stays within the bound.
TEST(InflateBuffer, NoStreamInflatesPastTheScriptSizeBound) {
    const std::vector<unsigned char> zeros(8u << 20);
    uLongf size = compressBound(static_cast<uLong>(zeros.size()));
    std::vector<unsigned char> stream(size);
    ASSERT_EQ(compress2(stream.data(), &size, zeros.data(), static_cast<uLong>(zeros.size()), 9),
              Z_OK);
    const auto inflated = static_cast<std::uint32_t>(zeros.size());
    EXPECT_TRUE(scriptSizeIsPossible(inflated, size)) << size << " compressed bytes";
    EXPECT_FALSE(scriptSizeIsPossible(inflated, size / 2)) << "half the stream cannot hold it";
    EXPECT_FALSE(scriptSizeIsPossible(0xFFFFFFF0u, 1000));
    EXPECT_TRUE(scriptSizeIsPossible(0, 0));
}
