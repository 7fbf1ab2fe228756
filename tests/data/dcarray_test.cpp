#include "data/dcarray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

namespace pigmora {
namespace {

int compareInts(const void *key, const void *element)
{
    const auto a = *static_cast<const std::int32_t *>(key);
    const auto b = *static_cast<const std::int32_t *>(element);
    return a < b ? -1 : (a > b ? 1 : 0);
}

std::vector<std::int32_t> contents(const DCArray &array)
{
    std::vector<std::int32_t> out(static_cast<std::size_t>(array.count()));
    array.copyAll(out.data());
    return out;
}

TEST(DCArray, NewArrayIsEmptyWithoutBlock)
{
    DCArray array(4, compareInts);
    EXPECT_EQ(array.count(), 0);
    EXPECT_EQ(array.capacity(), 0);
    EXPECT_EQ(array.byteSize(), 0);
    std::int32_t key = 5;
    EXPECT_EQ(array.find(&key), -1);
    EXPECT_EQ(array.insertionPoint(&key), 0);
}

TEST(DCArray, SortedInsertionKeepsOrderAndUniqueness)
{
    DCArray array(4, compareInts);
    for (std::int32_t v : {5, 1, 9, 3, 7}) {
        EXPECT_GE(array.insertSorted(&v), 0);
    }
    std::int32_t dup = 3;
    EXPECT_EQ(array.insertSorted(&dup), -1);
    EXPECT_EQ(array.count(), 5);
    EXPECT_EQ(contents(array), (std::vector<std::int32_t>{1, 3, 5, 7, 9}));

    std::int32_t big = 100;
    EXPECT_EQ(array.insertionPoint(&big), 5);
    std::int32_t small = -1;
    EXPECT_EQ(array.insertionPoint(&small), 0);
    std::int32_t mid = 4;
    EXPECT_EQ(array.insertionPoint(&mid), 2);
    EXPECT_EQ(array.insertionPoint(&dup), -1);
}

TEST(DCArray, AnyInsertionOrderGivesTheSameArray)
{
    std::vector<std::int32_t> values(200);
    std::iota(values.begin(), values.end(), -50);
    std::mt19937 rng(7);
    std::vector<std::int32_t> expected = values;
    for (int round = 0; round < 20; ++round) {
        std::shuffle(values.begin(), values.end(), rng);
        DCArray array(4, compareInts);
        for (std::int32_t v : values)
            ASSERT_GE(array.insertSorted(&v), 0);
        for (std::int32_t v : values) // every second insertion is refused
            ASSERT_EQ(array.insertSorted(&v), -1);
        EXPECT_EQ(contents(array), expected);
        for (std::int32_t v : values)
            EXPECT_EQ(array.at<std::int32_t>(array.find(&v)), v);
    }
}

TEST(DCArray, GrowsAndShrinksBySixteen)
{
    DCArray array(4, compareInts);
    for (std::int32_t v = 0; v < 17; ++v) {
        array.insertSorted(&v);
        EXPECT_EQ(array.capacity(), v < 16 ? 16 : 32) << "after " << v + 1 << " records";
    }
    EXPECT_TRUE(array.removeAt(0));
    EXPECT_EQ(array.count(), 16);
    EXPECT_EQ(array.capacity(), 32); // 16 + 16 is not less than 32
    EXPECT_TRUE(array.removeAt(0));
    EXPECT_EQ(array.count(), 15);
    EXPECT_EQ(array.capacity(), 31);
    EXPECT_EQ(contents(array).front(), 2);
    EXPECT_EQ(contents(array).back(), 16);
}

TEST(DCArray, ClearLeavesSixteenSlots)
{
    DCArray array(4, compareInts);
    for (std::int32_t v = 0; v < 40; ++v)
        array.insertSorted(&v);
    EXPECT_EQ(array.capacity(), 48);
    array.clear();
    EXPECT_EQ(array.count(), 0);
    EXPECT_EQ(array.capacity(), 16);
}

TEST(DCArray, RefusesOutOfRangeIndexesAndNullBuffers)
{
    DCArray array(4, compareInts);
    std::int32_t v = 1;
    std::int32_t out = 0;
    EXPECT_FALSE(array.insertAt(1, &v));
    EXPECT_FALSE(array.insertAt(-1, &v));
    EXPECT_FALSE(array.insertAt(0, nullptr));
    EXPECT_TRUE(array.insertAt(0, &v));
    EXPECT_FALSE(array.get(1, &out));
    EXPECT_FALSE(array.get(-1, &out));
    EXPECT_FALSE(array.get(0, nullptr));
    EXPECT_TRUE(array.get(0, &out));
    EXPECT_EQ(out, 1);
    EXPECT_FALSE(array.setAt(1, &v));
    EXPECT_FALSE(array.removeAt(1));
    EXPECT_TRUE(array.removeByKey(&out)); // 1 is present
    EXPECT_FALSE(array.removeByKey(&v)); // and now gone
}

TEST(DCArray, PositionalOperationsCopyWhateverTheyAreGiven)
{
    DCArray array(4, compareInts);
    const std::int32_t data[] = {9, 2, 7};
    EXPECT_TRUE(array.assign(3, data));
    EXPECT_EQ(contents(array), (std::vector<std::int32_t>{9, 2, 7}));
    EXPECT_GE(array.capacity(), 16);
    std::int32_t five = 5;
    EXPECT_TRUE(array.setAt(1, &five));
    EXPECT_TRUE(array.insertAt(3, &five)); // duplicates are not checked positionally
    EXPECT_EQ(contents(array), (std::vector<std::int32_t>{9, 5, 7, 5}));
    EXPECT_EQ(array.byteSize(), 16);
}

TEST(DCArray, InsertionPointWalksFromTheLastExaminedRecord)
{
    // On an unsorted array the walk decides the answer: from the last mid the
    // search examined it moves to the first record sorting after the key.
    DCArray array(4, compareInts);
    const std::int32_t data[] = {1, 10, 2, 3, 20};
    array.assign(5, data);
    std::int32_t key = 5;
    // mid 2 (2 < 5) -> lo 3; mid 3 (3 < 5) -> lo 4; mid 4 (20 > 5): c < 0, walk
    // back while the record before sorts after the key: 3 does not.
    EXPECT_EQ(array.insertionPoint(&key), 4);
    std::int32_t key2 = 0;
    EXPECT_EQ(array.insertionPoint(&key2), 0);
}

TEST(DCArray, ARecordAfterTheLastAppendsOnlyWhileTheArrayIsInOrder)
{
    // A key equal to a middle record but after the last one: a search finds
    // the equal record, the append shortcut must not be taken.
    const std::int32_t five = 5;
    const std::int32_t nine = 9;
    DCArray assigned(4, compareInts);
    const std::int32_t data[] = {1, 5, 2};
    assigned.assign(3, data);
    EXPECT_EQ(assigned.insertionPoint(&five), -1);

    DCArray sorted(4, compareInts);
    for (std::int32_t value : {1, 2, 3})
        sorted.insertSorted(&value);
    EXPECT_EQ(sorted.insertionPoint(&five), 3);
    sorted.setAt(1, &nine); // 1 9 3: out of order
    EXPECT_EQ(sorted.insertionPoint(&nine), -1);
    sorted.clear();
    for (std::int32_t value : {1, 2, 3})
        EXPECT_EQ(sorted.insertSorted(&value), value - 1);
    EXPECT_EQ(sorted.insertSorted(&nine), 3);
}

} // namespace
} // namespace pigmora
