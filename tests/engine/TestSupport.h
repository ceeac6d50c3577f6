#pragma once
// Fixtures shared by the engine tests.

#include "engine/LittleEndian.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace ra7::test {

// Whether the tests run under CI (CI=true), which installs every package.
bool underCI();

// Skips the running test because something it needs is not installed; under
// CI the test fails instead, so that a missing package cannot pass unseen.
#define RA7_SKIP_WITHOUT(why)                                                                                \
    do {                                                                                                     \
        if (::ra7::test::underCI()) {                                                                        \
            GTEST_FAIL() << why;                                                                             \
        } else {                                                                                             \
            GTEST_SKIP() << why;                                                                             \
        }                                                                                                    \
    } while (false)

// Runs each test in a fresh empty working directory, removed afterwards.
class ScratchDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

// A scratch directory with the console and log open and default settings, as
// between the engine's start-up and shut-down.
class ConsoleTest : public ScratchDirectoryTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Whether the log holds a line that LogLine(text) would have written.
bool logHas(std::string_view text);

void writeFile(const std::filesystem::path& path, std::string_view bytes);
std::string readFile(const std::filesystem::path& path);
// A valid image file: one pixel, 24-bit uncompressed TGA.
std::string onePixelTga();
// An uncompressed 32-bit TGA image of one colour (stored B, G, R, A, bottom row first).
std::string solidTga(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                     std::uint8_t a = 255);

} // namespace ra7::test

namespace ra7 {
class KaMesh;
}

namespace ra7::test {

// A square of side `side` centred on the origin in the xy plane, facing +z,
// two triangles, with tangent space along x and y.
std::unique_ptr<KaMesh> squareMesh(const std::string& name, float side);
// A right triangle with legs of `size` along +x and +y, facing +z, without tangent space.
std::unique_ptr<KaMesh> triangleMesh(const std::string& name, float size = 1);
// Writes `mesh` as a mesh file (its folder made when missing).
void saveMesh(const KaMesh& mesh, const std::filesystem::path& file);

} // namespace ra7::test
