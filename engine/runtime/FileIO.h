#pragma once
// Whole-file helpers: reading a file the engine names, reading text files of
// code page 1251 as UTF-8 lines, and saving files so that a failed save never
// destroys the previous file.

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

// Writes a new file beside the target and renames it over the target when
// `commit` succeeds. Dropping the writer without committing removes the
// temporary file and leaves the target as it was.
class AtomicFileWriter {
public:
    // `displayName` is the name used in error messages (the name as stored).
    AtomicFileWriter(std::filesystem::path target, std::string displayName);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(const void* data, std::size_t size);
    void write(std::string_view bytes) { write(bytes.data(), bytes.size()); }
    std::uint64_t bytesWritten() const { return written_; }
    const std::string& displayName() const { return displayName_; }

    // Flushes, closes and renames over the target. Throws FileError on failure,
    // in which case the target is untouched.
    void commit();

private:
    [[noreturn]] void fail(const std::string& what);
    void discard() noexcept;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::string displayName_;
    std::FILE* file_ = nullptr;
    std::uint64_t written_ = 0;
};

// Opens `path` for reading in binary mode. A pipe, device or folder is
// refused as "not a regular file" without waiting on it (a pipe nobody
// writes into would block the open, a device like /dev/zero never ends).
// Throws FileError naming `displayName` when it cannot be opened.
std::FILE* openRegularFile(const std::filesystem::path& path, const std::string& displayName);

// Whether `path` names something that exists but is no regular file; for
// readers of outside libraries that open the file themselves.
bool existsButIsNotAFile(const std::filesystem::path& path);

// All bytes of a file named as stored (through the path resolver).
// Throws FileError when it cannot be opened or read.
std::string readFileBytes(std::string_view storedName);

// The lines of a code-page-1251 text file as UTF-8, without their line ends
// (CR LF, LF or a lone CR). A last line without an end is kept.
std::vector<std::string> readTextLines(std::string_view storedName);

// Splits code-page text into UTF-8 lines as readTextLines does.
std::vector<std::string> splitTextLines(std::string_view cp1251Text);

// Writes UTF-8 lines as a code-page-1251 text file with CR LF line ends,
// atomically.
void writeTextLines(std::string_view storedName, const std::vector<std::string>& lines);

} // namespace ra7
