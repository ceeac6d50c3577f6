#pragma once
// Reading and writing the engine's record files (scenes, meshes, materials,
// lens flares, bounding volumes). They are written in units of 4 bytes,
// little-endian: int32 and single values, record tags (a length byte 3 and
// three lower-case letters) and short strings (a 256-byte field: a length
// byte, then up to 255 code-page-1251 characters).
//
// Every read is bounds-checked. A count read from a file is checked against
// the bytes that remain before anything is allocated for it, and every
// failure names the file and the offset where it happened.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

class AtomicFileWriter;

inline constexpr std::size_t kShortStringSize = 256;
inline constexpr std::size_t kShortStringMaxChars = 255;
inline constexpr std::size_t kTagSize = 4;

class RecordReader {
public:
    // Opens a file named as stored (through the path resolver); the stored
    // name appears in error messages.
    static RecordReader openFile(std::string_view storedName);
    // Reads from a copy of bytes in memory (fuzzing, tests, embedded data).
    RecordReader(std::string displayName, std::string_view bytes);

    RecordReader(RecordReader&&) noexcept;
    RecordReader& operator=(RecordReader&&) noexcept;
    ~RecordReader();

    std::int32_t readInt32();
    std::uint32_t readUInt32();
    float readSingle();
    void readSingles(float* out, std::size_t count);
    void readUInt32s(std::uint32_t* out, std::size_t count);
    void readBytes(void* out, std::size_t size);
    void skip(std::uint64_t size);

    // A record tag; throws when the length byte is not 3.
    std::string readTag();
    // A short string, converted to UTF-8.
    std::string readShortString();

    // A signed count of items of `itemBytes` bytes each that follow in the
    // file: refused when negative or when the items could not fit in what
    // remains. `what` names the count in the message ("object count").
    std::size_t readCount(std::size_t itemBytes, std::string_view what);

    std::uint64_t offset() const { return offset_; }
    std::uint64_t size() const { return size_; }
    std::uint64_t remaining() const { return size_ - offset_; }
    bool atEnd() const { return offset_ == size_; }
    const std::string& displayName() const { return displayName_; }

    // Throws a FileError at the current offset (or the given one).
    [[noreturn]] void fail(std::string_view what) const;
    [[noreturn]] void failAt(std::uint64_t offset, std::string_view what) const;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    RecordReader(std::string displayName, std::FILE* file, std::uint64_t size);
    bool refill();

    std::string displayName_;
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::vector<char> buffer_;
    std::string_view window_; // bytes read ahead and not yet consumed
    std::uint64_t offset_ = 0;
    std::uint64_t size_ = 0;
};

class RecordWriter {
public:
    // Creates the file named as stored; nothing replaces the target until
    // `commit`, and a writer dropped without committing leaves it untouched.
    explicit RecordWriter(std::string_view storedName);
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    void writeInt32(std::int32_t value);
    void writeUInt32(std::uint32_t value);
    void writeSingle(float value);
    void writeSingles(const float* values, std::size_t count);
    void writeUInt32s(const std::uint32_t* values, std::size_t count);
    void writeBytes(const void* data, std::size_t size);
    // `tag` must be three characters.
    void writeTag(std::string_view tag);
    // UTF-8 text, stored in code page 1251 and cut to 255 bytes.
    void writeShortString(std::string_view text);

    std::uint64_t offset() const;
    void commit();

private:
    std::unique_ptr<AtomicFileWriter> file_;
};

// The code-page form of a short string: what a record stores for `text`.
std::string toShortStringBytes(std::string_view text);

} // namespace ra7
