#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "runtime/heap.h"
#include "runtime/heap_string.h"

using namespace kelvara;

namespace {

bool allBytes(const void* block, std::size_t from, std::size_t to, unsigned char value) {
    const auto* bytes = static_cast<const unsigned char*>(block);
    for (std::size_t i = from; i < to; ++i) {
        if (bytes[i] != value) return false;
    }
    return true;
}

}  // namespace

TEST(Heap, BlocksAreZeroFilledAndResizedWithZeroedTails) {
    auto* block = static_cast<unsigned char*>(heapAlloc(64));
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(allBytes(block, 0, 64, 0)) << "a new block is zero-filled";

    std::memset(block, 0xAB, 64);
    auto* grown = static_cast<unsigned char*>(heapResize(block, 8192));
    ASSERT_NE(grown, nullptr);
    EXPECT_TRUE(allBytes(grown, 0, 64, 0xAB)) << "resizing keeps the old content";
    EXPECT_TRUE(allBytes(grown, 64, 8192, 0)) << "the grown part is zero-filled";

    EXPECT_EQ(heapResize(grown, 0), nullptr) << "size 0 frees the block";
    void* fresh = heapResize(nullptr, 16);
    ASSERT_NE(fresh, nullptr) << "a null block is allocated fresh";
    EXPECT_TRUE(allBytes(fresh, 0, 16, 0));
    heapFree(fresh);
    EXPECT_EQ(heapResize(nullptr, 0), nullptr);
}

TEST(Heap, ForeignPointersAreNeitherFreedNorResized) {
    heapFree(nullptr);

    // A block of another allocator: heapFree must leave it alone (the sanitizer build would
    // report the double free below if it did not).
    auto* foreign = static_cast<char*>(std::malloc(32));
    ASSERT_NE(foreign, nullptr);
    std::strcpy(foreign, "not ours");
    heapFree(foreign);
    EXPECT_EQ(heapResize(foreign, 64), nullptr) << "a foreign block is refused";
    EXPECT_STREQ(foreign, "not ours");
    std::free(foreign);

    char onStack[16] = "stack";
    heapFree(onStack);
    EXPECT_STREQ(onStack, "stack");

    // A pointer into the middle of one of our blocks is not a block either.
    auto* own = static_cast<char*>(heapAlloc(64));
    ASSERT_NE(own, nullptr);
    heapFree(own + 16);
    std::strcpy(own, "still usable");
    EXPECT_STREQ(own, "still usable");
    heapFree(own);
}

TEST(Heap, KnowsEachOfManyBlocksThroughFreesInAnyOrder) {
    constexpr int kBlocks = 1000;
    static void* blocks[kBlocks];
    for (int i = 0; i < kBlocks; ++i) {
        blocks[i] = heapAlloc(8 + i % 24);
        ASSERT_NE(blocks[i], nullptr);
        std::memcpy(blocks[i], &i, sizeof i);
    }
    // Free a scattered third, then every remaining block must still count as one of ours.
    for (int k = 0; k < kBlocks; ++k) {
        int i = (k * 617) % kBlocks;
        if (i % 3 == 0) {
            heapFree(blocks[i]);
            blocks[i] = nullptr;
        }
    }
    for (int i = 0; i < kBlocks; ++i) {
        if (!blocks[i]) continue;
        void* moved = heapResize(blocks[i], 64);
        ASSERT_NE(moved, nullptr) << "block " << i << " was forgotten";
        int id = -1;
        std::memcpy(&id, moved, sizeof id);
        EXPECT_EQ(id, i);
        heapFree(moved);
    }
}

TEST(Heap, DestroyReleasesEverythingAndTheHeapComesBack) {
    void* before = heapAlloc(100);
    ASSERT_NE(before, nullptr);
    heapDestroy();
    heapFree(before);  // belongs to no heap any more: ignored
    void* after = heapAlloc(100);
    ASSERT_NE(after, nullptr) << "heapAlloc makes the heap again when it is gone";
    EXPECT_TRUE(allBytes(after, 0, 100, 0));
    heapFree(after);
    EXPECT_TRUE(heapCreate());
    EXPECT_TRUE(heapCreate()) << "making an existing heap is not an error";
}

TEST(Heap, MemMoveHandlesOverlapBothWays) {
    char forward[] = "0123456789";
    memMove(forward, forward + 2, 6);
    EXPECT_STREQ(forward, "2345676789") << "destination below source";

    char backward[] = "0123456789";
    memMove(backward + 2, backward, 6);
    EXPECT_STREQ(backward, "0101234589") << "destination above source";

    char untouched[] = "abc";
    memMove(untouched, "xyz", 0);
    EXPECT_STREQ(untouched, "abc");
}

TEST(HeapString, CopiesConcatenationsAndOwnership) {
    char* copy = strDupExtra("abc", 5);
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "abc");
    EXPECT_TRUE(allBytes(copy, 3, 9, 0)) << "room for 5 more characters and the terminator";
    std::strcat(copy, "defgh");
    EXPECT_STREQ(copy, "abcdefgh");
    heapFree(copy);

    HeapString empty(strDupExtra(nullptr, 0));
    ASSERT_TRUE(empty);
    EXPECT_STREQ(empty.get(), "") << "a null text copies as empty";

    HeapString joined(strConcat5("C:", nullptr, "\\", "Apps", nullptr));
    ASSERT_TRUE(joined);
    EXPECT_STREQ(joined.get(), "C:\\Apps");
    HeapString none(strConcat5(nullptr));
    ASSERT_TRUE(none);
    EXPECT_STREQ(none.get(), "");

    HeapString moved(std::move(joined));
    EXPECT_FALSE(joined);
    EXPECT_STREQ(moved.get(), "C:\\Apps");
    char* released = moved.release();
    EXPECT_FALSE(moved);
    moved.reset(released);
    moved.reset(moved.get());  // resetting to the same string must not free it
    EXPECT_STREQ(moved.get(), "C:\\Apps");
}
