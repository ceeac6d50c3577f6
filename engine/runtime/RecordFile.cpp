#include "runtime/RecordFile.h"

#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "runtime/PathResolver.h"
#include "runtime/TextCodec.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

static_assert(std::endian::native == std::endian::little,
              "record files are little-endian and read by direct copies");

namespace ra7 {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
}

RecordReader::RecordReader(std::string displayName, std::string_view bytes)
    : displayName_(std::move(displayName)), buffer_(bytes.begin(), bytes.end()), size_(bytes.size())
{
    window_ = std::string_view(buffer_.data(), buffer_.size());
}

RecordReader::RecordReader(std::string displayName, std::FILE* file, std::uint64_t size)
    : displayName_(std::move(displayName)), file_(file), buffer_(kBufferSize), size_(size)
{
}

RecordReader::RecordReader(RecordReader&&) noexcept = default;
RecordReader& RecordReader::operator=(RecordReader&&) noexcept = default;
RecordReader::~RecordReader() = default;

RecordReader RecordReader::openFile(std::string_view storedName)
{
    const std::string name(storedName);
    std::FILE* file = openRegularFile(resolvePath(storedName), name);
    struct stat info {};
    ::fstat(::fileno(file), &info);
    return RecordReader(name, file, static_cast<std::uint64_t>(info.st_size));
}

void RecordReader::fail(std::string_view what) const
{
    failAt(offset_, what);
}

void RecordReader::failAt(std::uint64_t offset, std::string_view what) const
{
    throw FileError(displayName_, FilePlace::offset(offset), std::string(what));
}

bool RecordReader::refill()
{
    if (!file_)
        return false;
    const std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
    window_ = std::string_view(buffer_.data(), got);
    return got > 0;
}

void RecordReader::readBytes(void* out, std::size_t size)
{
    if (size > remaining())
        fail("unexpected end of file: " + std::to_string(size) + " bytes needed, " +
             std::to_string(remaining()) + " left");
    auto* dest = static_cast<char*>(out);
    while (size > 0) {
        if (window_.empty()) {
            // Large reads go straight into the destination.
            if (file_ && size >= buffer_.size()) {
                const std::size_t got = std::fread(dest, 1, size, file_.get());
                offset_ += got;
                if (got != size)
                    fail("cannot read: the file changed or a read error occurred");
                return;
            }
            if (!refill())
                fail("cannot read: the file changed or a read error occurred");
        }
        const std::size_t part = std::min(size, window_.size());
        std::memcpy(dest, window_.data(), part);
        window_.remove_prefix(part);
        dest += part;
        size -= part;
        offset_ += part;
    }
}

void RecordReader::skip(std::uint64_t size)
{
    if (size > remaining())
        fail("unexpected end of file: " + std::to_string(size) + " bytes needed, " +
             std::to_string(remaining()) + " left");
    const std::uint64_t inWindow = std::min<std::uint64_t>(size, window_.size());
    window_.remove_prefix(static_cast<std::size_t>(inWindow));
    offset_ += inWindow;
    size -= inWindow;
    if (size > 0) {
        if (std::fseek(file_.get(), static_cast<long>(size), SEEK_CUR) != 0)
            fail("cannot seek in the file");
        offset_ += size;
    }
}

std::int32_t RecordReader::readInt32()
{
    std::int32_t value = 0;
    readBytes(&value, sizeof value);
    return value;
}

std::uint32_t RecordReader::readUInt32()
{
    std::uint32_t value = 0;
    readBytes(&value, sizeof value);
    return value;
}

float RecordReader::readSingle()
{
    float value = 0;
    readBytes(&value, sizeof value);
    return value;
}

void RecordReader::readSingles(float* out, std::size_t count)
{
    if (count > remaining() / sizeof(float))
        fail("unexpected end of file: " + std::to_string(count) + " numbers needed");
    readBytes(out, count * sizeof(float));
}

void RecordReader::readUInt32s(std::uint32_t* out, std::size_t count)
{
    if (count > remaining() / sizeof(std::uint32_t))
        fail("unexpected end of file: " + std::to_string(count) + " numbers needed");
    readBytes(out, count * sizeof(std::uint32_t));
}

std::string RecordReader::readTag()
{
    const std::uint64_t start = offset_;
    char bytes[kTagSize];
    readBytes(bytes, sizeof bytes);
    if (bytes[0] != 3)
        failAt(start, "bad record tag (length byte " + std::to_string(static_cast<unsigned char>(bytes[0])) +
                          ", expected 3)");
    return std::string(bytes + 1, 3);
}

std::string RecordReader::readShortString()
{
    char bytes[kShortStringSize];
    readBytes(bytes, sizeof bytes);
    const auto length = static_cast<unsigned char>(bytes[0]);
    return cp1251ToUtf8(std::string_view(bytes + 1, length));
}

std::size_t RecordReader::readCount(std::size_t itemBytes, std::string_view what)
{
    const std::uint64_t start = offset_;
    const std::int32_t count = readInt32();
    if (count < 0)
        failAt(start, std::string(what) + " " + std::to_string(count) + " is negative");
    if (itemBytes > 0 && static_cast<std::uint64_t>(count) > remaining() / itemBytes)
        failAt(start, std::string(what) + " " + std::to_string(count) + " is larger than the file");
    return static_cast<std::size_t>(count);
}

std::string toShortStringBytes(std::string_view text)
{
    std::string bytes(kShortStringSize, '\0');
    const std::string encoded = utf8ToCp1251(text);
    const std::size_t length = std::min(encoded.size(), kShortStringMaxChars);
    bytes[0] = static_cast<char>(length);
    std::memcpy(bytes.data() + 1, encoded.data(), length);
    return bytes;
}

RecordWriter::RecordWriter(std::string_view storedName)
    : file_(std::make_unique<AtomicFileWriter>(resolvePath(storedName), std::string(storedName)))
{
}

RecordWriter::~RecordWriter() = default;

void RecordWriter::writeBytes(const void* data, std::size_t size)
{
    file_->write(data, size);
}

void RecordWriter::writeInt32(std::int32_t value)
{
    writeBytes(&value, sizeof value);
}

void RecordWriter::writeUInt32(std::uint32_t value)
{
    writeBytes(&value, sizeof value);
}

void RecordWriter::writeSingle(float value)
{
    writeBytes(&value, sizeof value);
}

void RecordWriter::writeSingles(const float* values, std::size_t count)
{
    writeBytes(values, count * sizeof(float));
}

void RecordWriter::writeUInt32s(const std::uint32_t* values, std::size_t count)
{
    writeBytes(values, count * sizeof(std::uint32_t));
}

void RecordWriter::writeTag(std::string_view tag)
{
    assert(tag.size() == 3);
    char bytes[kTagSize] = {3, 0, 0, 0};
    std::memcpy(bytes + 1, tag.data(), std::min<std::size_t>(tag.size(), 3));
    writeBytes(bytes, sizeof bytes);
}

void RecordWriter::writeShortString(std::string_view text)
{
    writeBytes(toShortStringBytes(text).data(), kShortStringSize);
}

std::uint64_t RecordWriter::offset() const
{
    return file_->bytesWritten();
}

void RecordWriter::commit()
{
    file_->commit();
}

} // namespace ra7
