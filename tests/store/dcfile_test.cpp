#include "store/dcfile.h"
#include "store/dcfilebuffer.h"

#include "faultinjection.h"
#include "storetestsupport.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <numeric>

namespace pigmora {
namespace {

using test::readFileBytes;
using test::writeFileBytes;
using Bytes = std::vector<unsigned char>;

// 0, 1, 2, ... wrapping at 251 so that a shifted block never matches by chance.
Bytes pattern(std::size_t n)
{
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<unsigned char>(i % 251);
    return bytes;
}

class DCFileTest : public ::testing::Test
{
protected:
    std::filesystem::path withBytes(const Bytes &bytes)
    {
        writeFileBytes(path, bytes);
        EXPECT_TRUE(file.open(path));
        return path;
    }

    test::TempDir dir;
    std::filesystem::path path = dir / "file.bin";
    DCFile file;
};

TEST_F(DCFileTest, ClosedFileReportsFailureEverywhere)
{
    char buffer[4] = {};
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.length(), -1);
    EXPECT_EQ(file.read(buffer, 4), -1);
    EXPECT_EQ(file.write(buffer, 4), -1);
    EXPECT_EQ(file.readAt(0, buffer, 4), -1);
    EXPECT_EQ(file.writeAt(0, buffer, 4), -1);
    EXPECT_FALSE(file.appendZeros(4));
    EXPECT_FALSE(file.moveBlock(0, 0, 0));
    EXPECT_FALSE(file.insertBytes(0, buffer, 4));
    EXPECT_FALSE(file.deleteBytes(0, 1));
    EXPECT_FALSE(file.truncate(0));
    EXPECT_FALSE(file.open(dir / "missing.bin"));
    EXPECT_FALSE(DCFile::exists(dir / "missing.bin"));
}

TEST_F(DCFileTest, CreateTruncatesAndLengthKeepsThePosition)
{
    writeFileBytes(path, pattern(100));
    ASSERT_TRUE(file.create(path));
    EXPECT_EQ(file.length(), 0);
    EXPECT_EQ(file.write("abcdef", 6), 6);
    EXPECT_EQ(file.seek(2, SeekOrigin::Start), 2);
    EXPECT_EQ(file.length(), 6);
    char c = 0;
    EXPECT_EQ(file.read(&c, 1), 1);
    EXPECT_EQ(c, 'c');
    EXPECT_TRUE(file.truncate(10));
    EXPECT_EQ(file.seek(0, SeekOrigin::Current), 3);
    EXPECT_EQ(readFileBytes(path), (Bytes{'a', 'b', 'c', 'd', 'e', 'f', 0, 0, 0, 0}));
}

TEST_F(DCFileTest, TwoHandlesSeeEachOthersWrites)
{
    withBytes(pattern(10));
    DCFile second;
    ASSERT_TRUE(second.open(path));
    ASSERT_TRUE(second.appendFill(7, 5));
    EXPECT_EQ(file.length(), 15);
    unsigned char tail[5] = {};
    EXPECT_EQ(file.readAt(10, tail, 5), 5);
    EXPECT_EQ(tail[4], 7);
}

TEST_F(DCFileTest, AppendFillCrossesTheChunkSize)
{
    withBytes({1});
    ASSERT_TRUE(file.appendFill(0xAB, 64000 * 2 + 17));
    const Bytes bytes = readFileBytes(path);
    ASSERT_EQ(bytes.size(), 1u + 64000 * 2 + 17);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(std::count(bytes.begin() + 1, bytes.end(), 0xAB), 64000 * 2 + 17);
    EXPECT_FALSE(file.appendZeros(0));
}

struct MoveCase {
    const char *name;
    int length;
    int destination;
    int source;
    int count;
};

class MoveBlock : public DCFileTest, public ::testing::WithParamInterface<MoveCase>
{ };

TEST_P(MoveBlock, DestinationHoldsTheSourceAsItWas)
{
    const MoveCase &c = GetParam();
    const Bytes before = pattern(static_cast<std::size_t>(c.length));
    withBytes(before);
    ASSERT_TRUE(file.moveBlock(c.destination, c.source, c.count));
    Bytes expected = before;
    std::copy_n(before.begin() + c.source, c.count, expected.begin() + c.destination);
    EXPECT_EQ(readFileBytes(path), expected);
}

INSTANTIATE_TEST_SUITE_P(DCFile, MoveBlock,
                         ::testing::Values(MoveCase{"ForwardOverlapping", 100, 10, 30, 50},
                                           MoveCase{"BackwardOverlapping", 100, 30, 10, 50},
                                           MoveCase{"Disjoint", 100, 80, 0, 20}, MoveCase{"SameOffset", 100, 5, 5, 50},
                                           MoveCase{"Empty", 100, 0, 50, 0},
                                           MoveCase{"LargeForwardOverlapping", 200000, 1000, 4333, 150001},
                                           MoveCase{"LargeBackwardOverlapping", 200000, 4333, 1000, 150001},
                                           MoveCase{"ExactlyTwoChunksBackward", 130000, 2000, 0, 128000}),
                         test::CaseName());

TEST_F(DCFileTest, MoveBlockRefusesRangesOutsideTheFile)
{
    withBytes(pattern(100));
    EXPECT_FALSE(file.moveBlock(60, 0, 41));
    EXPECT_FALSE(file.moveBlock(0, 60, 41));
    EXPECT_FALSE(file.moveBlock(-1, 0, 10));
    EXPECT_FALSE(file.moveBlock(0, 0, -1));
    EXPECT_EQ(readFileBytes(path), pattern(100));
}

TEST_F(DCFileTest, InsertBytesOpensAGapAndAtTheEndAppends)
{
    withBytes({1, 2, 3});
    const unsigned char gap[] = {9, 8};
    ASSERT_TRUE(file.insertBytes(1, gap, 2));
    EXPECT_EQ(readFileBytes(path), (Bytes{1, 9, 8, 2, 3}));
    ASSERT_TRUE(file.insertBytes(5, gap, 2));
    EXPECT_EQ(readFileBytes(path), (Bytes{1, 9, 8, 2, 3, 9, 8}));
    EXPECT_FALSE(file.insertBytes(8, gap, 2));
    EXPECT_FALSE(file.insertBytes(0, gap, 0));
}

TEST_F(DCFileTest, DeleteBytesMovesTheTailDownOrTruncates)
{
    withBytes({1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(file.deleteBytes(1, 2));
    EXPECT_EQ(readFileBytes(path), (Bytes{1, 4, 5, 6}));
    ASSERT_TRUE(file.deleteBytes(2, 100));
    EXPECT_EQ(readFileBytes(path), (Bytes{1, 4}));
    EXPECT_FALSE(file.deleteBytes(2, 1));
    EXPECT_FALSE(file.deleteBytes(0, 0));
    EXPECT_EQ(readFileBytes(path), (Bytes{1, 4}));
}

// A short write or read inside a move fails the move and the edit built on it.
TEST_F(DCFileTest, ShortWritesAndReadsFailTheEdit)
{
    withBytes(pattern(1000));
    const unsigned char data[4] = {1, 2, 3, 4};
    {
        test::FaultInjection faults;
        faults.failWritesFrom(0);
        EXPECT_FALSE(file.moveBlock(0, 10, 100));
        EXPECT_FALSE(file.appendZeros(10));
        EXPECT_FALSE(file.deleteBytes(0, 10));
    }
    {
        test::FaultInjection faults;
        faults.failWritesFrom(1); // the zeros are appended, the move's write fails
        EXPECT_FALSE(file.insertBytes(0, data, 4));
    }
    {
        test::FaultInjection faults;
        faults.failReadsFrom(0);
        EXPECT_FALSE(file.moveBlock(10, 0, 100));
        EXPECT_FALSE(file.deleteBytes(0, 10));
    }
}

TEST(DCFileBufferTest, ReadsAcrossBufferBoundariesAndSeeks)
{
    test::TempDir dir;
    const Bytes bytes = pattern(150000);
    writeFileBytes(dir / "b.bin", bytes);
    DCFileBuffer reader;
    EXPECT_EQ(reader.read(nullptr, 0), -1);
    ASSERT_TRUE(reader.open(dir / "b.bin"));
    Bytes got(63990);
    ASSERT_EQ(reader.read(got.data(), 63990), 63990);
    Bytes across(20);
    ASSERT_EQ(reader.read(across.data(), 20), 20);
    EXPECT_TRUE(std::equal(across.begin(), across.end(), bytes.begin() + 63990));
    EXPECT_EQ(reader.seek(149990, SeekOrigin::Start), 149990);
    ASSERT_EQ(reader.read(across.data(), 20), 10); // short at the end
    EXPECT_TRUE(std::equal(across.begin(), across.begin() + 10, bytes.begin() + 149990));
    EXPECT_EQ(reader.seek(5, SeekOrigin::Start), 5);
    ASSERT_EQ(reader.read(across.data(), 1), 1);
    EXPECT_EQ(across[0], bytes[5]);
    EXPECT_EQ(reader.seek(0, SeekOrigin::End), 150000);
    reader.close();
    EXPECT_EQ(reader.read(across.data(), 1), -1);
}

// Reading never needs write access: a read-only file is read.
TEST(DCFileBufferTest, RefusesMissingFilesAndReadsReadOnlyOnes)
{
    test::TempDir dir;
    DCFileBuffer reader;
    EXPECT_FALSE(reader.open(dir / "missing.bin"));
    writeFileBytes(dir / "ro.bin", {1});
    std::filesystem::permissions(dir / "ro.bin", std::filesystem::perms::owner_read);
    ASSERT_TRUE(reader.open(dir / "ro.bin"));
    unsigned char byte = 0;
    EXPECT_EQ(reader.read(&byte, 1), 1);
    EXPECT_EQ(byte, 1);
}

} // namespace
} // namespace pigmora
