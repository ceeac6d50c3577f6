// The console's resource commands on the engine's real lists.
#include "engine/GLTestSupport.h"

#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7Log.h"
#include "runtime/RecordFile.h"

#include <gmock/gmock.h>

namespace ra7 {
namespace {

class ResourceCommandsTest : public test::GLTest {};

TEST_F(ResourceCommandsTest, AddmeshLoadsTheFileNamedInAngleBracketsOnce)
{
    Meshes = std::make_unique<KaMeshList>();
    std::filesystem::create_directory("data");
    test::saveMesh(*test::triangleMesh("data\\box.mes"), "data\\box.mes");
    ExecuteCommand("addmesh <data\\box.mes>");
    ExecuteCommand("addmesh data\\box.mes");
    ExecuteCommand("addmesh");
    ASSERT_EQ(Meshes->Count(), 1);
    EXPECT_EQ(Meshes->Get(0).Name, "data\\box.mes");
}

TEST_F(ResourceCommandsTest, AddtexLoadsANameWithBlanks)
{
    Textures = std::make_unique<KaTextureArray>();
    const std::string tga = test::onePixelTga();
    test::writeFile("my texture.tga", tga);
    ExecuteCommand("addtex <my texture.tga>");
    ASSERT_EQ(Textures->Count(), 1);
    EXPECT_EQ(Textures->Get(0).FileName, "my texture.tga");
}

TEST_F(ResourceCommandsTest, AddmatLoadsTheLibraryAndPassesItsErrorsOn)
{
    Materials = std::make_unique<KaMaterialList>();
    Textures = std::make_unique<KaTextureArray>();
    KaMaterialList source;
    KaMaterial m;
    m.Name = "stone";
    source.AddCopy(m);
    source.SaveToFile("lib.kmt", {0});
    ExecuteCommand("addmat <lib.kmt>");
    ASSERT_EQ(Materials->Count(), 1);
    EXPECT_THROW(ExecuteCommand("addmat <missing.kmt>"), FileError);
}

TEST_F(ResourceCommandsTest, CommandsBeforeTheListsExistAreLoggedNotRun)
{
    ExecuteCommand("addmesh <x.mes>");
    EXPECT_THAT(LogLines().back(), ::testing::StartsWith("! Команда addmesh недоступна"));
}

} // namespace
} // namespace ra7
