#pragma once
// The engine's error types. `Error` carries one of the system's fixed message
// texts exactly as the user must see it; `FileError` is our own message for
// damaged or unreadable files and always names the file and where it failed.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ra7 {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where in a file something failed: a byte offset (record files) or a line
// number (text files), or neither when the file could not be opened at all.
struct FilePlace {
    enum class Kind { Whole, Offset, Line };
    Kind kind = Kind::Whole;
    std::uint64_t value = 0;

    static FilePlace whole() { return {}; }
    static FilePlace offset(std::uint64_t byteOffset) { return {Kind::Offset, byteOffset}; }
    static FilePlace line(std::uint64_t lineNumber) { return {Kind::Line, lineNumber}; }
};

// "scene.kgf: offset 1284: object count 2147483647 is larger than the file"
class FileError : public Error {
public:
    FileError(std::string fileName, FilePlace place, std::string what);

    const std::string& fileName() const { return fileName_; }
    FilePlace place() const { return place_; }
    const std::string& detail() const { return detail_; }

private:
    std::string fileName_;
    FilePlace place_;
    std::string detail_;
};

} // namespace ra7
