// The generated data read back by a fresh engine: the editor's helper scene
// and the sample project, written by the generator in a scratch directory.
#include "engine/GLTestSupport.h"

#include "DataGenerator.h"
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sprite.h"
#include "render/RenderTargets.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/PathResolver.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace ra7 {
namespace {

class GeneratedData : public test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Textures = std::make_unique<KaTextureArray>();
        Meshes = std::make_unique<KaMeshList>();
        Materials = std::make_unique<KaMaterialList>();
        SceneObjects = std::make_unique<KaObjArray>();
        SceneObjects->SetMaterialCatalog(Materials.get());
        LensFlares = std::make_unique<KaLensFlareList>();
    }
    void TearDown() override
    {
        LensFlares.reset();
        SceneObjects.reset();
        GLTest::TearDown();
    }

    // The geometry named `name`, with its mesh and material loaded.
    static const KaGeometry& loadedGeometry(const std::string& name)
    {
        const auto* geometry = dynamic_cast<const KaGeometry*>(SceneObjects->FindByName(name));
        EXPECT_NE(geometry, nullptr) << name;
        if (!geometry)
            throw std::runtime_error("no geometry " + name);
        const KaMesh* mesh = Meshes->Find(geometry->MeshName);
        EXPECT_NE(mesh, nullptr) << geometry->MeshName;
        if (mesh) {
            EXPECT_GT(mesh->IndexCount, 0);
            EXPECT_EQ(mesh->Tangents.size(), static_cast<std::size_t>(mesh->VertexCount));
        }
        EXPECT_GE(Materials->IndexOf(geometry->MaterialName), 0) << geometry->MaterialName;
        return *geometry;
    }
};

TEST_F(GeneratedData, HelperSceneHoldsTheArrowAndCameraTemplates)
{
    datagen::WriteHelperScene();
    SceneObjects->LoadFromFile("data\\arrow\\editorData.kgf");

    EXPECT_EQ(SceneObjects->Count(), 2);
    const KaGeometry& arrow = loadedGeometry("arrow");
    loadedGeometry("camera");
    EXPECT_EQ(Meshes->Count(), 2);
    EXPECT_EQ(Materials->Count(), 2);
    EXPECT_TRUE(std::filesystem::exists("data/arrow/editorData.kmt"));

    // The arrow points along +x from the origin, one unit long, thin across.
    const KaMesh& mesh = *Meshes->Find(arrow.MeshName);
    float minX = 1e9f, maxX = -1e9f, across = 0;
    for (const Vector3& v : mesh.Vertices) {
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        across = std::max({across, std::fabs(v.y), std::fabs(v.z)});
    }
    EXPECT_FLOAT_EQ(minX, 0);
    EXPECT_FLOAT_EQ(maxX, 1);
    EXPECT_LT(across, 0.1f);
    // Flat normals point away from the axis on the shaft.
    EXPECT_FLOAT_EQ(mesh.Normals[0].x, 0);
}

TEST_F(GeneratedData, SampleSceneNamesOnlyFilesItHas)
{
    datagen::WriteSampleProject(test::sourceShaderDirectory());
    SceneObjects->LoadFromFile("scene.kgf");

    int lights = 0, geometries = 0, sprites = 0, particles = 0;
    for (std::int32_t i = 0; i < SceneObjects->Count(); ++i) {
        const KaSceneObj* object = SceneObjects->GetItem(i);
        if (const auto* geometry = dynamic_cast<const KaGeometry*>(object)) {
            loadedGeometry(geometry->Name());
            ++geometries;
        } else if (dynamic_cast<const KaLight*>(object)) {
            ++lights;
        } else if (const auto* sprite = dynamic_cast<const KaSprite*>(object)) {
            for (const std::string* name : {&sprite->Texture1, &sprite->Texture2, &sprite->Texture3})
                EXPECT_NE(Textures->Add(*name), nullptr) << *name;
            EXPECT_EQ(sprite->FlareName, "sunflare");
            ++sprites;
        } else if (const auto* system = dynamic_cast<const KaParSystem*>(object)) {
            EXPECT_NE(Textures->Add(system->TextureName), nullptr);
            ++particles;
        }
    }
    EXPECT_EQ(geometries, 4);
    EXPECT_GE(lights, 3);
    EXPECT_EQ(sprites, 1);
    EXPECT_EQ(particles, 1);

    // Every texture a material names was loaded with the library.
    bool bump = false, selfIllumination = false;
    for (std::int32_t i = 0; i < Materials->Count(); ++i) {
        const KaMaterial& material = Materials->Get(i);
        for (const std::string& name : material.Textures) {
            if (!name.empty()) {
                EXPECT_GE(Textures->IndexOf(name), 0) << name;
            }
        }
        if (!material.SelfIllumination.empty()) {
            EXPECT_GE(Textures->IndexOf(material.SelfIllumination), 0);
            selfIllumination = true;
        }
        bump = bump || (material.VertexShader == "bumpV" && !material.Textures[1].empty());
    }
    EXPECT_TRUE(bump);
    EXPECT_TRUE(selfIllumination);
    EXPECT_GE(Textures->IndexOf("textures\\sky_top.png"), 0) << "the sky faces are loaded by the scene";

    ASSERT_NE(LensFlares->LoadFromFile("flares.kls"), nullptr);
    const KaLensFlare& flare = LensFlares->Get(0);
    EXPECT_EQ(flare.Name, "sunflare");
    for (std::int32_t i = 0; i < flare.LensCount; ++i)
        EXPECT_GE(Textures->IndexOf(flare.Lenses[static_cast<std::size_t>(i)].TextureName), 0);

    for (const std::string& name : datagen::SampleTextureNames())
        EXPECT_TRUE(std::filesystem::exists(resolvePath(name))) << name;
    EXPECT_TRUE(std::filesystem::exists("data/shaders/vp_bump.txt"));
    EXPECT_TRUE(std::filesystem::exists("data/arrow/editorData.kgf"));
}

TEST_F(GeneratedData, SampleSceneKeepsItsHierarchy)
{
    datagen::WriteSampleProject(test::sourceShaderDirectory());
    SceneObjects->LoadFromFile("scene.kgf");
    const KaSceneObj* sparks = SceneObjects->FindByName("sparks");
    ASSERT_NE(sparks, nullptr);
    EXPECT_EQ(sparks->ParentName, "lamp");
    // Generating again over the same folder gives the same files, byte for byte.
    const std::string scene = test::readFile("scene.kgf");
    const std::string mesh = test::readFile("meshes/pillar.mes");
    datagen::WriteSampleProject(test::sourceShaderDirectory());
    EXPECT_EQ(test::readFile("scene.kgf"), scene);
    EXPECT_EQ(test::readFile("meshes/pillar.mes"), mesh);
}

// The editor looks through its own camera: at the origin along −z, with a
// vertical field of view of FieldOfView and a view at least as wide as high.
bool inEditorsFirstView(const Vector3& p)
{
    const float slope = std::tan(DegToRad(static_cast<float>(FieldOfView) / 2));
    return p.z < -NearPlane && std::fabs(p.x) < -p.z * slope && std::fabs(p.y) < -p.z * slope;
}

// Where the mesh of a geometry lies in the world.
std::vector<Vector3> worldVertices(const KaGeometry& geometry)
{
    std::vector<Vector3> points;
    const KaMesh* mesh = Meshes->Find(geometry.MeshName);
    if (!mesh)
        return points;
    for (Vector3 v : mesh->Vertices) {
        VectorTransform(v, geometry.Trans->Rotation);
        points.push_back(VectorAdd(v, geometry.Trans->Position));
    }
    return points;
}

// Before: the crate, pillar, window and sun stood behind or beside the
// editor's camera, and the floor hid the grid.
TEST_F(GeneratedData, SampleStandsInTheEditorsFirstViewOnItsGrid)
{
    datagen::WriteSampleProject(test::sourceShaderDirectory());
    SceneObjects->LoadFromFile("scene.kgf");
    constexpr float kGrid = -1;
    for (const char* name : {"crate", "pillar", "window"}) {
        const std::vector<Vector3> points = worldVertices(loadedGeometry(name));
        ASSERT_FALSE(points.empty()) << name;
        float lowest = points.front().y;
        for (const Vector3& p : points) {
            EXPECT_TRUE(inEditorsFirstView(p)) << name << " (" << p.x << ", " << p.y << ", " << p.z << ")";
            lowest = std::min(lowest, p.y);
        }
        EXPECT_NEAR(lowest, kGrid, 1e-5f) << name << " stands on the grid";
    }
    const KaSceneObj* sun = SceneObjects->FindByName("sun");
    ASSERT_NE(sun, nullptr);
    EXPECT_TRUE(inEditorsFirstView(sun->Trans->Position));

    // The floor's top lies just under the grid: the grid shows on it.
    float top = -1e9f;
    for (const Vector3& p : worldVertices(loadedGeometry("floor")))
        top = std::max(top, p.y);
    EXPECT_LT(top, kGrid);
    EXPECT_GT(top, kGrid - 0.05f);
}

// Transparent geometry adds itself onto what lies behind, once per light:
// glass must stay a tint, not add up to white over a light floor.
TEST_F(GeneratedData, SampleGlassIsATintThatDoesNotAddUpToWhite)
{
    datagen::WriteSampleProject(test::sourceShaderDirectory());
    SceneObjects->LoadFromFile("scene.kgf");
    const KaMaterial* glass = Materials->Find(loadedGeometry("window").MaterialName);
    ASSERT_NE(glass, nullptr);
    EXPECT_TRUE(glass->Blend);
    int lights = 0;
    for (std::int32_t i = 0; i < SceneObjects->Count(); ++i)
        lights += dynamic_cast<const KaLight*>(SceneObjects->GetItem(i)) ? 1 : 0;
    // Diffuse light, at most 1 per light, weighted by the alpha of each pass.
    const float added = static_cast<float>(lights) * glass->Colour[3] *
                        std::max({glass->Colour[0], glass->Colour[1], glass->Colour[2]});
    EXPECT_LT(added, 0.6f);
    EXPECT_GT(glass->Colour[2], glass->Colour[0]) << "a blue tint";
}

} // namespace
} // namespace ra7
