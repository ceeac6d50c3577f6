#include "engine/TestSupport.h"

#include "host/Ka7ConsoleCommands.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"

#include <algorithm>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>

namespace fs = std::filesystem;

namespace ra7::test {

bool underCI()
{
    const char* ci = std::getenv("CI");
    return ci && std::string_view(ci) == "true";
}

void ScratchDirectoryTest::SetUp()
{
    previous_ = fs::current_path();
    std::string pattern = (fs::temp_directory_path() / "ra7test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a scratch directory");
    dir_ = pattern;
    fs::current_path(dir_);
}

void ScratchDirectoryTest::TearDown()
{
    fs::current_path(previous_);
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

void ConsoleTest::SetUp()
{
    ScratchDirectoryTest::SetUp();
    ResetSettings();
    InitConsole();
}

void ConsoleTest::TearDown()
{
    DoneConsole();
    ScratchDirectoryTest::TearDown();
}

bool logHas(std::string_view text)
{
    const std::string line = FormatLogLine(text);
    const std::vector<std::string>& lines = LogLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void writeFile(const fs::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string onePixelTga()
{
    std::string bytes(18, '\0');
    bytes[2] = 2;   // uncompressed true colour
    bytes[12] = 1;  // width
    bytes[14] = 1;  // height
    bytes[16] = 24; // bits per pixel
    return bytes + "abc";
}

} // namespace ra7::test
