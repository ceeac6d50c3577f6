#include "runtime/RecordFile.h"

#include "engine/TestSupport.h"
#include "runtime/Errors.h"
#include "runtime/FileIO.h"

#include <gmock/gmock.h>

#include <cstring>
#include <sys/stat.h>

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace ra7 {
namespace {

using RecordFile = test::ScratchDirectoryTest;

std::string int32Bytes(std::int32_t value)
{
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

// Runs `read` and returns the FileError's message, or "" when nothing was thrown.
template <class Read>
std::string failureOf(Read read)
{
    try {
        read();
    } catch (const FileError& e) {
        return e.what();
    }
    return "";
}

TEST_F(RecordFile, RoundTripOfEveryElementType)
{
    {
        RecordWriter writer("Scene.kgf");
        writer.writeTag("geo");
        writer.writeInt32(-7);
        writer.writeUInt32(0xFFFFFFFFu);
        writer.writeSingle(0.1f);
        const float floats[3] = {1.5f, -2.25f, 1e-30f};
        writer.writeSingles(floats, 3);
        writer.writeShortString("Ящик");
        writer.writeShortString("");
        EXPECT_EQ(writer.offset(), 4u + 4 + 4 + 4 + 12 + 256 + 256);
        writer.commit();
    }
    const std::string bytes = test::readFile("Scene.kgf");
    ASSERT_EQ(bytes.size(), 540u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x03geo", 4));
    EXPECT_EQ(bytes.substr(28, 5), "\x04\xDF\xF9\xE8\xEA"); // length, then code page 1251

    RecordReader reader = RecordReader::openFile("scene.KGF"); // through the resolver
    EXPECT_EQ(reader.readTag(), "geo");
    EXPECT_EQ(reader.readInt32(), -7);
    EXPECT_EQ(reader.readUInt32(), 0xFFFFFFFFu);
    EXPECT_EQ(reader.readSingle(), 0.1f);
    float floats[3];
    reader.readSingles(floats, 3);
    EXPECT_EQ(floats[2], 1e-30f);
    EXPECT_EQ(reader.readShortString(), "Ящик");
    EXPECT_EQ(reader.readShortString(), "");
    EXPECT_TRUE(reader.atEnd());
}

TEST_F(RecordFile, ShortStringsAreCutTo255CodePageBytes)
{
    const std::string ascii(300, 'n');
    std::string cyrillic;
    for (int i = 0; i < 300; ++i)
        cyrillic += "ж"; // two bytes in UTF-8, one on disk
    const std::string ascii255 = toShortStringBytes(ascii);
    ASSERT_EQ(ascii255.size(), 256u);
    EXPECT_EQ(static_cast<unsigned char>(ascii255[0]), 255);

    RecordReader reader("memory", toShortStringBytes(ascii) + toShortStringBytes(cyrillic));
    EXPECT_EQ(reader.readShortString(), std::string(255, 'n'));
    const std::string back = reader.readShortString();
    EXPECT_EQ(back.size(), 510u);
    EXPECT_EQ(back.substr(0, 2), "ж");
}

TEST_F(RecordFile, TruncatedFilesNameTheFileAndOffset)
{
    test::writeFile("short.mes", int32Bytes(5) + "ab");
    RecordReader reader = RecordReader::openFile("short.mes");
    EXPECT_EQ(reader.readInt32(), 5);
    EXPECT_EQ(failureOf([&] { reader.readInt32(); }),
              "short.mes: offset 4: unexpected end of file: 4 bytes needed, 2 left");
    EXPECT_THAT(failureOf([&] { reader.readShortString(); }), HasSubstr("short.mes: offset 4:"));
}

TEST_F(RecordFile, LyingCountsAreRefusedBeforeAnyAllocation)
{
    RecordReader huge("scene.kgf", int32Bytes(2147483647) + std::string(16, '\0'));
    EXPECT_EQ(failureOf([&] { huge.readCount(256, "object count"); }),
              "scene.kgf: offset 0: object count 2147483647 is larger than the file");

    RecordReader negative("scene.kgf", std::string(8, '\0') + int32Bytes(-1));
    negative.skip(8);
    EXPECT_EQ(failureOf([&] { negative.readCount(4, "line count"); }),
              "scene.kgf: offset 8: line count -1 is negative");

    // Exactly as many items as the file holds is fine.
    RecordReader exact("mesh", int32Bytes(3) + std::string(12, '\0'));
    EXPECT_EQ(exact.readCount(4, "index count"), 3u);
    // Bulk reads check the size too (count × 4 must not wrap around).
    RecordReader bulk("mesh", std::string(8, '\0'));
    float out[2];
    EXPECT_THAT(failureOf([&] { bulk.readSingles(out, std::size_t(1) << 62); }), HasSubstr("unexpected end"));
}

TEST_F(RecordFile, TagsMustCarryLengthThree)
{
    RecordReader reader("level.kgf", std::string("\x04geo", 4));
    EXPECT_EQ(failureOf([&] { reader.readTag(); }),
              "level.kgf: offset 0: bad record tag (length byte 4, expected 3)");
}

TEST_F(RecordFile, LargeFilesReadAcrossTheBufferBoundary)
{
    // More than the reader's buffer, with values straddling its edges.
    std::vector<std::uint32_t> values(100000);
    for (std::uint32_t i = 0; i < values.size(); ++i)
        values[i] = i * 2654435761u;
    {
        RecordWriter writer("big.mes");
        writer.writeBytes("\x01\x02", 2); // puts every later value off the 4-byte grid
        writer.writeUInt32s(values.data(), values.size());
        writer.commit();
    }
    RecordReader reader = RecordReader::openFile("big.mes");
    reader.skip(2);
    std::vector<std::uint32_t> head(10);
    reader.readUInt32s(head.data(), head.size());
    for (std::size_t i = 10; i < 20000; ++i)
        ASSERT_EQ(reader.readUInt32(), values[i]) << i;
    std::vector<std::uint32_t> rest(values.size() - 20000);
    reader.readUInt32s(rest.data(), rest.size());
    EXPECT_EQ(head[9], values[9]);
    EXPECT_EQ(rest.back(), values.back());
    EXPECT_TRUE(reader.atEnd());
}

TEST_F(RecordFile, MissingFilesFoldersAndPipesAreReportedByName)
{
    EXPECT_THAT(failureOf([] { RecordReader::openFile("data\\none.kgf"); }),
                HasSubstr("data\\none.kgf: cannot open file"));
    fs::create_directory("folder.kgf");
    EXPECT_THAT(failureOf([] { RecordReader::openFile("folder.kgf"); }), HasSubstr("not a regular file"));
    // Nobody writes into the pipe: opening it as a file would wait for ever.
    ASSERT_EQ(::mkfifo("pipe.kgf", 0600), 0);
    EXPECT_THAT(failureOf([] { RecordReader::openFile("pipe.kgf"); }),
                HasSubstr("pipe.kgf: not a regular file"));
    EXPECT_THAT(failureOf([] { readFileBytes("pipe.kgf"); }), HasSubstr("pipe.kgf: not a regular file"));
}

TEST_F(RecordFile, AnUncommittedSaveLeavesThePreviousFile)
{
    test::writeFile("keep.kgf", "previous");
    {
        RecordWriter writer("keep.kgf");
        writer.writeInt32(1);
        // dropped without commit, as when a save fails half-way
    }
    EXPECT_EQ(test::readFile("keep.kgf"), "previous");
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}

TEST_F(RecordFile, ASaveIntoAMissingFolderFailsWithItsName)
{
    EXPECT_THAT(failureOf([] { RecordWriter writer("no\\such\\dir.kgf"); }),
                HasSubstr("no\\such\\dir.kgf: cannot create file"));
}

} // namespace
} // namespace ra7
