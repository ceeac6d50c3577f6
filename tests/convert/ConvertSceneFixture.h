#pragma once
// Conversion into engine objects: the shared headless context of the engine
// tests, with the object array and the mesh, material and texture lists the
// converter fills, freed after each test.

#include "engine/GLTestSupport.h"

#include <filesystem>
#include <string>

namespace ra7::test {

class ConvertSceneTest : public GLTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

// An uncompressed 24-bit TGA of `side` × `side` pixels of one colour.
void writeSolidTga(const std::filesystem::path& path, int side, std::uint8_t red, std::uint8_t green,
                   std::uint8_t blue);

} // namespace ra7::test
