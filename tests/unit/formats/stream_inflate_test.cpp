#include <gtest/gtest.h>

#include <zlib.h>

#include <vector>

#include "formats/stream_inflate.h"
#include "zlib_streams.h"

using namespace kelvara;
using kelvara::testing::sampleBytes;
using kelvara::testing::syncFlushedStream;

namespace {

struct Collector : ByteWriter {
    std::vector<unsigned char> bytes;
    std::vector<std::size_t> pieces;
    std::size_t refuseAfter = static_cast<std::size_t>(-1);  // pieces accepted before refusing
    bool write(const unsigned char* b, std::size_t n) override {
        if (pieces.size() >= refuseAfter) return false;
        bytes.insert(bytes.end(), b, b + n);
        pieces.push_back(n);
        return true;
    }
};

struct Bar : ProgressSink {
    int current = 0;
    std::vector<int> sent;
    int position() override { return current; }
    void setPosition(int p) override {
        current = p;
        sent.push_back(p);
    }
};

std::vector<unsigned char> run(const std::vector<unsigned char>& stream, std::uint32_t outLength,
                               std::size_t pieceSize, Collector& out, ProgressSink* bar = nullptr,
                               std::uint32_t total = 0, bool* ok = nullptr) {
    std::vector<unsigned char> buffer(pieceSize);
    PackageInMemory source(stream.data(), stream.size());
    bool result = inflateToWriter(source, 0, static_cast<std::uint32_t>(stream.size()), outLength,
                                  out, buffer.data(), buffer.size(), bar, total);
    if (ok) *ok = result;
    return out.bytes;
}

}  // namespace

TEST(StreamInflate, WritesExactlyTheFileInPiecesNoLargerThanTheBuffer) {
    auto data = sampleBytes(300000);
    auto stream = syncFlushedStream(data);
    for (std::size_t piece : {std::size_t(1) << 16, std::size_t(4093), std::size_t(1) << 20}) {
        Collector out;
        bool ok = false;
        EXPECT_EQ(run(stream, static_cast<std::uint32_t>(data.size()), piece, out, nullptr, 0, &ok),
                  data)
            << "piece size " << piece;
        EXPECT_TRUE(ok);
        for (std::size_t n : out.pieces) EXPECT_LE(n, piece);
    }
}

TEST(StreamInflate, TheRecordedSizeDecidesHowManyBytesAreWritten) {
    auto data = sampleBytes(10000);
    auto stream = syncFlushedStream(data);

    Collector shorter;
    EXPECT_EQ(run(stream, 6000, 4096, shorter),
              std::vector<unsigned char>(data.begin(), data.begin() + 6000));

    // A stream that ends before the recorded size: the tail is zero-filled.
    Collector longer;
    auto bytes = run(stream, 25000, 4096, longer);
    ASSERT_EQ(bytes.size(), 25000u);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), bytes.begin()));
    EXPECT_TRUE(
        std::all_of(bytes.begin() + 10000, bytes.end(), [](unsigned char b) { return !b; }));

    // A damaged stream still gives the recorded count, what was produced and then zeros.
    auto damaged = stream;
    damaged.resize(damaged.size() / 2);
    damaged.push_back(0xFF);
    Collector broken;
    EXPECT_EQ(run(damaged, 10000, 4096, broken).size(), 10000u);

    Collector empty;
    EXPECT_TRUE(run(syncFlushedStream({}), 0, 4096, empty).empty());
}

TEST(StreamInflate, ARefusedWriteStopsEverything) {
    auto data = sampleBytes(100000);
    auto stream = syncFlushedStream(data);
    Collector out;
    out.refuseAfter = 2;
    bool ok = true;
    run(stream, 100000, 4096, out, nullptr, 0, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(out.bytes.size(), 2u * 4096u) << "nothing after the refused piece";
}

TEST(StreamInflate, ProgressMovesByTheShareOfInputConsumedFromTheStartPosition) {
    auto data = sampleBytes(400000);
    auto stream = syncFlushedStream(data);
    Bar bar;
    bar.current = 10;
    // The total is four times the stream: the file takes a quarter of the bar.
    auto total = static_cast<std::uint32_t>(stream.size() * 4);
    Collector out;
    run(stream, static_cast<std::uint32_t>(data.size()), 8192, out, &bar, total);
    ASSERT_FALSE(bar.sent.empty());
    EXPECT_TRUE(std::is_sorted(bar.sent.begin(), bar.sent.end()));
    EXPECT_GT(bar.sent.front(), 10);
    EXPECT_EQ(bar.sent.back(), 10 + 25);

    Bar still;
    Collector again;
    run(stream, static_cast<std::uint32_t>(data.size()), 8192, again, &still, 0);
    EXPECT_TRUE(still.sent.empty()) << "a total of 0 moves nothing";
}
