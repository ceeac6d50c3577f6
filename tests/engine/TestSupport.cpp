#include "engine/TestSupport.h"

#include "host/Ka7ConsoleCommands.h"
#include "resources/Ka7Mesh.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "runtime/RecordFile.h"

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

std::string solidTga(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a)
{
    std::string bytes(18, '\0');
    bytes[2] = 2; // uncompressed true colour
    bytes.replace(12, 4, le16(static_cast<std::uint16_t>(width)) + le16(static_cast<std::uint16_t>(height)));
    bytes[16] = 32;
    bytes[17] = 8; // eight alpha bits
    for (int i = 0; i < width * height; ++i)
        bytes += {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r), static_cast<char>(a)};
    return bytes;
}

std::unique_ptr<KaMesh> squareMesh(const std::string& name, float side)
{
    const float h = side / 2;
    auto mesh = std::make_unique<KaMesh>();
    mesh->Name = name;
    mesh->Vertices = {{-h, -h, 0}, {h, -h, 0}, {h, h, 0}, {-h, h, 0}};
    mesh->Normals.assign(4, Vector3{0, 0, 1});
    mesh->TexCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    mesh->Tangents.assign(4, Vector3{1, 0, 0});
    mesh->Binormals.assign(4, Vector3{0, 1, 0});
    mesh->Indices = {0, 1, 2, 0, 2, 3};
    mesh->VertexCount = 4;
    mesh->IndexCount = 6;
    return mesh;
}

std::unique_ptr<KaMesh> triangleMesh(const std::string& name, float size)
{
    auto mesh = std::make_unique<KaMesh>();
    mesh->Name = name;
    mesh->Vertices = {{0, 0, 0}, {size, 0, 0}, {0, size, 0}};
    mesh->Normals.assign(3, Vector3{0, 0, 1});
    mesh->TexCoords = {{0, 0}, {1, 0}, {0, 1}};
    mesh->Tangents.assign(3, Vector3{}); // no tangent space computed
    mesh->Binormals.assign(3, Vector3{});
    mesh->Indices = {0, 1, 2};
    mesh->VertexCount = 3;
    mesh->IndexCount = 3;
    return mesh;
}

void saveMesh(const KaMesh& mesh, const fs::path& file)
{
    if (file.has_parent_path())
        fs::create_directories(file.parent_path());
    RecordWriter writer(file.string());
    mesh.SaveToFile(writer);
    writer.commit();
}

} // namespace ra7::test
