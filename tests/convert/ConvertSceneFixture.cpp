#include "ConvertSceneFixture.h"

#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "scene/Ka7SceneUnit.h"

namespace ra7::test {

void ConvertSceneTest::SetUp()
{
    GLTest::SetUp();
    SceneObjects = std::make_unique<KaObjArray>();
    Meshes = std::make_unique<KaMeshList>();
    Materials = std::make_unique<KaMaterialList>();
    Textures = std::make_unique<KaTextureArray>();
    SceneObjects->SetMaterialCatalog(Materials.get());
}

void ConvertSceneTest::TearDown()
{
    SceneObjects.reset();
    GLTest::TearDown();
}

void writeSolidTga(const std::filesystem::path& path, int side, std::uint8_t red, std::uint8_t green,
                   std::uint8_t blue)
{
    std::string bytes(18, '\0');
    bytes[2] = 2; // uncompressed true colour
    bytes[12] = static_cast<char>(side);
    bytes[14] = static_cast<char>(side);
    bytes[16] = 24;
    for (int i = 0; i < side * side; ++i) {
        bytes.push_back(static_cast<char>(blue));
        bytes.push_back(static_cast<char>(green));
        bytes.push_back(static_cast<char>(red));
    }
    writeFile(path, bytes);
}

} // namespace ra7::test
