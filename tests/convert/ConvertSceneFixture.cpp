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
    writeFile(path, solidTga(side, side, red, green, blue));
}

} // namespace ra7::test
