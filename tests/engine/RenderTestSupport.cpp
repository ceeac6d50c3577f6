#include "engine/RenderTestSupport.h"

#include "effects/Ka7Light.h"
#include "render/Ka7Scene.h"
#include "render/RenderTargets.h"
#include "render/SceneShaderSource.h"
#include "resources/DrawState.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureList.h"
#include "runtime/FrameTime.h"
#include "runtime/HeadlessContext.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/KaRandom.h"

#include <epoxy/gl.h>

namespace ra7::test {

void RenderTest::SetUp()
{
    GLTest::SetUp();
    installShaders();
    Settings.ScreenWidth = kViewSize;
    Settings.ScreenHeight = kViewSize;
    Settings.UseLod = true;
    Settings.UseFrustumCulling = false;
    Settings.UseBloom = false;
    SceneObjects = std::make_unique<KaObjArray>();
    ActiveCameraName.clear();
    Meshes = std::make_unique<KaMeshList>();
    Materials = std::make_unique<KaMaterialList>();
    SceneObjects->SetMaterialCatalog(Materials.get());
    Textures = std::make_unique<KaTextureArray>();
    Shaders = std::make_unique<KaShaderClass>();
    DefaultMaterial = std::make_unique<KaMaterial>(MakeDefaultMaterial());
    Scene = std::make_unique<KaScene>();
    Scene->ShowMarkers = false; // the lights' markers would cover the centre
    UseSceneForShaders();
    SeedRandom(4711);
    FrameTime = 10.0f;
}

void RenderTest::TearDown()
{
    Scene.reset();
    SceneObjects.reset();
    ActiveCameraName.clear();
    FrameTime = 0.0f;
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    GLTest::TearDown();
}

KaCamera& RenderTest::addCamera(const Vector3& position)
{
    KaCamera& camera = add<KaCamera>("view");
    camera.Trans->Position = position;
    ActiveCameraName = "view";
    return camera;
}

void RenderTest::addSquareMesh(const std::string& name, float side)
{
    Meshes->Add(squareMesh(name, side));
}

KaMaterial& RenderTest::addMaterial(const std::string& name)
{
    KaMaterial m;
    m.Name = name;
    m.Ambient = {1, 1, 1, 1};
    m.WorldAmbient = {0, 0, 0, 1};
    m.Diffuse = {0, 0, 0, 1};
    m.Specular = {0, 0, 0, 1};
    m.Colour = {1, 1, 1, 1};
    Materials->AddCopy(m);
    return *Materials->Find(name);
}

KaGeometry& RenderTest::addGeometry(const std::string& name, const std::string& mesh,
                                    const std::string& material, const Vector3& position)
{
    KaGeometry& geometry = add<KaGeometry>(name);
    geometry.MeshName = mesh;
    geometry.MeshLod1 = mesh;
    geometry.MaterialName = material;
    geometry.Trans->Position = position;
    return geometry;
}

void RenderTest::addLight(const std::string& name, const Vector3& position, float range, float level)
{
    KaLight& light = add<KaLight>(name);
    light.Trans->Position = position;
    light.LightParams[0] = range;
    light.Ambient = {level, level, level, 1};
    light.Diffuse = {0, 0, 0, 1};
    light.Specular = {0, 0, 0, 1};
}

void RenderTest::addTexture(const std::string& fileName, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                            std::uint8_t a)
{
    writeFile(fileName, solidTga(4, 4, r, g, b, a));
    Textures->Add(fileName);
}

void RenderTest::beginSceneFrame()
{
    SceneObjects->RebuildLists();
    glBindFramebuffer(GL_FRAMEBUFFER, sharedHeadless().windowFramebuffer());
    ResetProjection();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    if (const KaCamera* camera = SceneObjects->ActiveCamera())
        camera->Trans->ApplyView();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glColor4f(1, 1, 1, 1);
}

std::array<double, 4> RenderTest::centre(const std::vector<std::uint8_t>& pixels) const
{
    return regionMean(pixels, kViewSize / 2 - 4, kViewSize / 2 - 4, kViewSize / 2 + 4, kViewSize / 2 + 4);
}

} // namespace ra7::test
