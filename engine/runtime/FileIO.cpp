#include "runtime/FileIO.h"

#include "runtime/Errors.h"
#include "runtime/PathResolver.h"
#include "runtime/TextCodec.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace ra7 {

namespace {

std::string systemReason(int error)
{
    return std::strerror(error);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

AtomicFileWriter::AtomicFileWriter(fs::path target, std::string displayName)
    : target_(std::move(target)), displayName_(std::move(displayName))
{
    // The temporary file sits in the target's folder so that the rename
    // cannot cross file systems.
    temporary_ = target_;
    temporary_ += ".saving-" + std::to_string(::getpid());
    file_ = std::fopen(temporary_.c_str(), "wb");
    if (!file_)
        throw FileError(displayName_, FilePlace::whole(), "cannot create file: " + systemReason(errno));
}

AtomicFileWriter::~AtomicFileWriter()
{
    discard();
}

void AtomicFileWriter::discard() noexcept
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        std::error_code ec;
        fs::remove(temporary_, ec);
        temporary_.clear();
    }
}

void AtomicFileWriter::fail(const std::string& what)
{
    const int error = errno;
    discard();
    throw FileError(displayName_, FilePlace::offset(written_), what + ": " + systemReason(error));
}

void AtomicFileWriter::write(const void* data, std::size_t size)
{
    if (!file_)
        throw FileError(displayName_, FilePlace::offset(written_), "file is already closed");
    if (size != 0 && std::fwrite(data, 1, size, file_) != size)
        fail("cannot write");
    written_ += size;
}

void AtomicFileWriter::commit()
{
    if (!file_)
        throw FileError(displayName_, FilePlace::offset(written_), "file is already closed");
    if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0)
        fail("cannot write");
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0)
        fail("cannot write");
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0)
        fail("cannot replace the file");
    temporary_.clear();
}

std::FILE* openRegularFile(const fs::path& path, const std::string& displayName)
{
    // Opened without blocking, so that a pipe is refused rather than waited on.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        throw FileError(displayName, FilePlace::whole(), "cannot open file: " + systemReason(errno));
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        throw FileError(displayName, FilePlace::whole(), "not a regular file");
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(descriptor, "rb");
    if (!file) {
        const int error = errno;
        ::close(descriptor);
        throw FileError(displayName, FilePlace::whole(), "cannot open file: " + systemReason(error));
    }
    return file;
}

bool existsButIsNotAFile(const fs::path& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return fs::exists(status) && !fs::is_regular_file(status);
}

std::string readFileBytes(std::string_view storedName)
{
    const std::string name(storedName);
    FileHandle file(openRegularFile(resolvePath(storedName), name));
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, got);
        if (got < sizeof buffer) {
            if (std::ferror(file.get()))
                throw FileError(name, FilePlace::offset(bytes.size()), "cannot read: " + systemReason(errno));
            break;
        }
    }
    return bytes;
}

std::vector<std::string> splitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(cp1251ToUtf8(text.substr(start, i - start)));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(cp1251ToUtf8(text.substr(start)));
    return lines;
}

std::vector<std::string> readTextLines(std::string_view storedName)
{
    return splitTextLines(readFileBytes(storedName));
}

void writeTextLines(std::string_view storedName, const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += utf8ToCp1251(line);
        bytes += "\r\n";
    }
    AtomicFileWriter writer(resolvePath(storedName), std::string(storedName));
    writer.write(bytes);
    writer.commit();
}

} // namespace ra7
