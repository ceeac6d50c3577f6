#include "DataGenerator.h"
#include "ImageFiles.h"
#include "MeshShapes.h"

#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sprite.h"
#include "resources/Ka7Material.h"
#include "resources/Ka7MaterialList.h"
#include "scene/Ka7BoundingVolume.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>
#include <cmath>

namespace ra7::datagen {

namespace fs = std::filesystem;

namespace {

constexpr int kSize = 64;
// Half extents of the window's glass pane.
constexpr Vector3 kPaneHalf{1.5f, 1.2f, 0.05f};
// The grid the editor draws lies at y = −1; the floor's top sits just under
// it, so the grid shows on the floor (the same height would let the floor
// hide it), and everything stands on the grid.
constexpr float kGroundLevel = -1;
constexpr float kFloorLevel = kGroundLevel - 0.02f;

std::uint8_t byte(float value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

// Brightness 0..1 of a soft round spot in the middle of the picture.
float spot(int x, int y, float power)
{
    const float dx = (static_cast<float>(x) + 0.5f) / kSize * 2 - 1;
    const float dy = (static_cast<float>(y) + 0.5f) / kSize * 2 - 1;
    return std::pow(std::max(0.0f, 1 - std::sqrt(dx * dx + dy * dy)), power);
}

// Height of the stone pattern: raised round studs on a grid of 4 × 4.
float studHeight(float x, float y)
{
    const float cell = kSize / 4.0f;
    const float fx = std::fmod(x, cell) / cell - 0.5f, fy = std::fmod(y, cell) / cell - 0.5f;
    return std::max(0.0f, 0.35f - std::sqrt(fx * fx + fy * fy));
}

void WriteTextures()
{
    fs::create_directories("textures");
    WriteImage("textures\\stone.png", kSize, kSize, false, [](int x, int y) {
        const float h = studHeight(static_cast<float>(x), static_cast<float>(y));
        const float base = ((x / 16 + y / 16) % 2 ? 0.55f : 0.45f) + h;
        return Texel{byte(base), byte(base * 0.95f), byte(base * 0.85f)};
    });
    // Tangent-space normals from the stud heights, 0..1 per channel.
    WriteImage("textures\\stone_normal.png", kSize, kSize, false, [](int x, int y) {
        const auto fx = static_cast<float>(x), fy = static_cast<float>(y);
        const float dx = (studHeight(fx + 1, fy) - studHeight(fx - 1 + kSize, fy)) * 8;
        const float dy = (studHeight(fx, fy + 1) - studHeight(fx, fy - 1 + kSize)) * 8;
        const float length = std::sqrt(dx * dx + dy * dy + 1);
        return Texel{byte((-dx / length + 1) / 2), byte((-dy / length + 1) / 2), byte((1 / length + 1) / 2)};
    });
    WriteImage("textures\\panel.png", kSize, kSize, false, [](int x, int y) {
        const bool seam = x % 32 < 2 || y % 32 < 2;
        return seam ? Texel{40, 40, 48} : Texel{110, 115, 125};
    });
    // Lit windows of the panel, black elsewhere.
    WriteImage("textures\\panel_glow.png", kSize, kSize, false, [](int x, int y) {
        const bool window = x % 32 > 8 && x % 32 < 24 && y % 32 > 12 && y % 32 < 20;
        return window ? Texel{255, 220, 120} : Texel{0, 0, 0};
    });
    WriteImage("textures\\glow.png", kSize, kSize, true, [](int x, int y) {
        const float s = spot(x, y, 2);
        return Texel{255, byte(0.9f), byte(0.6f), byte(s)};
    });
    WriteImage("textures\\flare_disc.png", kSize, kSize, true, [](int x, int y) {
        const float s = spot(x, y, 0.5f);
        return Texel{255, 255, 255, byte(s)};
    });
    WriteImage("textures\\flare_ring.png", kSize, kSize, true, [](int x, int y) {
        const float dx = (static_cast<float>(x) + 0.5f) / kSize * 2 - 1;
        const float dy = (static_cast<float>(y) + 0.5f) / kSize * 2 - 1;
        const float ring = std::max(0.0f, 1 - std::fabs(std::sqrt(dx * dx + dy * dy) - 0.8f) * 8);
        return Texel{255, 255, 255, byte(ring)};
    });
    WriteImage("textures\\spark.png", 32, 32, true, [](int x, int y) {
        const float s = spot(x * 2, y * 2, 3);
        return Texel{255, 200, 80, byte(s)};
    });
    const struct {
        const char* name;
        Texel top, bottom;
    } faces[] = {{"front", {70, 110, 200}, {200, 210, 230}}, {"back", {70, 110, 200}, {200, 210, 230}},
                 {"left", {70, 110, 200}, {200, 210, 230}},  {"right", {70, 110, 200}, {200, 210, 230}},
                 {"top", {60, 100, 190}, {70, 110, 200}},    {"bottom", {90, 85, 80}, {90, 85, 80}}};
    for (const auto& face : faces)
        WriteImage(std::string("textures\\sky_") + face.name + ".png", kSize, kSize, false, [&](int, int y) {
            const float t = static_cast<float>(y) / (kSize - 1);
            auto mix = [t](std::uint8_t a, std::uint8_t b) {
                return static_cast<std::uint8_t>(static_cast<float>(b) +
                                                 (static_cast<float>(a) - static_cast<float>(b)) * t);
            };
            return Texel{mix(face.top.r, face.bottom.r), mix(face.top.g, face.bottom.g),
                         mix(face.top.b, face.bottom.b)};
        });
}

void WriteMeshes()
{
    fs::create_directories("meshes");
    auto floor = std::make_unique<KaMesh>();
    AppendFloor(*floor, 20, 0, 8);
    SaveMesh(*FinishMesh(std::move(floor), "meshes\\floor.mes"));
    auto crate = std::make_unique<KaMesh>();
    AppendBox(*crate, {0, 1, 0}, {1, 1, 1});
    SaveMesh(*FinishMesh(std::move(crate), "meshes\\crate.mes"));
    // A pane of glass standing on its lower edge.
    auto pane = std::make_unique<KaMesh>();
    AppendBox(*pane, {0, kPaneHalf.y, 0}, kPaneHalf);
    SaveMesh(*FinishMesh(std::move(pane), "meshes\\pane.mes"));
    auto pillar = std::make_unique<KaMesh>();
    AppendCylinderX(*pillar, 0, 4, 0.5f, 24);
    // Stand the cylinder up: x becomes y.
    for (Vector3& v : pillar->Vertices)
        v = {v.y, v.x, v.z};
    for (Vector3& n : pillar->Normals)
        n = {n.y, n.x, n.z};
    // The swap mirrors the solid: turn every triangle round to keep it facing out.
    for (std::size_t t = 0; t + 2 < pillar->Vertices.size(); t += 3) {
        std::swap(pillar->Vertices[t + 1], pillar->Vertices[t + 2]);
        std::swap(pillar->Normals[t + 1], pillar->Normals[t + 2]);
        std::swap(pillar->TexCoords[t + 1], pillar->TexCoords[t + 2]);
    }
    SaveMesh(*FinishMesh(std::move(pillar), "meshes\\pillar.mes"));
}

void AddMaterials(KaMaterialList& materials)
{
    KaMaterial stone;
    stone.Name = "stone";
    stone.Colour = {1, 1, 1, 1};
    stone.Ambient = {0.3f, 0.3f, 0.3f, 1};
    stone.Diffuse = {0.9f, 0.9f, 0.9f, 1};
    stone.Specular = {0.4f, 0.4f, 0.4f, 1};
    stone.Shininess = 40;
    stone.VertexShader = "bumpV";
    stone.FragmentShader = "bumpF";
    stone.Textures[0] = "textures\\stone.png";
    stone.Textures[1] = "textures\\stone_normal.png";
    materials.AddCopy(stone);

    KaMaterial panel;
    panel.Name = "panel";
    panel.Colour = {1, 1, 1, 1};
    panel.Diffuse = {0.8f, 0.8f, 0.85f, 1};
    panel.VertexShader = "phongV";
    panel.FragmentShader = "phongF";
    panel.Textures[0] = "textures\\panel.png";
    panel.SelfIllumination = "textures\\panel_glow.png";
    materials.AddCopy(panel);

    // Transparent geometry is added onto what lies behind it, once per light,
    // so glass is a dim blue tint with a bright highlight: a light colour
    // would add up to white.
    KaMaterial glass;
    glass.Name = "glass";
    glass.Colour = {0.2f, 0.35f, 0.5f, 0.3f};
    glass.Ambient = {0.05f, 0.08f, 0.1f, 0.3f};
    glass.Diffuse = {0.2f, 0.35f, 0.5f, 0.3f};
    glass.Specular = {0.9f, 0.9f, 0.9f, 1};
    glass.Shininess = 90;
    glass.Blend = true;
    glass.TwoSided = true;
    materials.AddCopy(glass);
}

KaSceneObj& Place(KaObjArray& scene, std::unique_ptr<KaSceneObj> object, const std::string& name,
                  const Vector3& position)
{
    object->SetName(name);
    object->Trans->Position = position;
    return *scene.Add(std::move(object));
}

KaSceneObj& Geometry(KaObjArray& scene, const std::string& name, const std::string& mesh,
                     const std::string& material, const Vector3& position, const Vector3& boxHalf)
{
    auto geometry = std::make_unique<KaGeometry>();
    geometry->MeshName = mesh;
    geometry->MaterialName = material;
    geometry->Bounds->Main = std::make_unique<KaBoundingAABB>(boxHalf);
    return Place(scene, std::move(geometry), name, position);
}

void WriteFlares()
{
    KaLensFlareList flares;
    KaLensFlare sun;
    sun.Name = "sunflare";
    sun.DistanceScale = 400;
    const struct {
        const char* texture;
        float pos, size, r, g, b;
    } lenses[] = {{"textures\\flare_disc.png", 1.0f, 24, 0.6f, 0.7f, 1.0f},
                  {"textures\\flare_ring.png", 1.4f, 40, 1.0f, 0.8f, 0.5f},
                  {"textures\\flare_disc.png", 2.0f, 10, 0.5f, 1.0f, 0.6f},
                  {"textures\\flare_ring.png", 3.5f, 18, 0.8f, 0.6f, 1.0f},
                  {"textures\\flare_disc.png", -3.0f, 14, 1.0f, 0.5f, 0.4f}};
    for (const auto& lens : lenses) {
        KaLens& slot = sun.Lenses[static_cast<std::size_t>(sun.LensCount++)];
        slot.TextureName = lens.texture;
        slot.Pos = lens.pos;
        slot.Size = lens.size;
        slot.Color = {lens.r, lens.g, lens.b, 1};
    }
    flares.AddCopy(sun);
    flares.SaveToFile("flares.kls", {0});
}

} // namespace

std::vector<std::string> SampleTextureNames()
{
    return {"textures\\stone.png",      "textures\\stone_normal.png", "textures\\panel.png",
            "textures\\panel_glow.png", "textures\\glow.png",         "textures\\flare_disc.png",
            "textures\\flare_ring.png", "textures\\spark.png",        "textures\\sky_front.png",
            "textures\\sky_back.png",   "textures\\sky_left.png",     "textures\\sky_right.png",
            "textures\\sky_top.png",    "textures\\sky_bottom.png"};
}

void WriteSampleProject(const fs::path& shaderSource)
{
    fs::create_directories("data/shaders");
    for (const auto& entry : fs::directory_iterator(shaderSource))
        fs::copy_file(entry.path(), fs::path("data/shaders") / entry.path().filename(),
                      fs::copy_options::overwrite_existing);
    WriteHelperScene(); // the folder is a complete working directory for the editor
    WriteTextures();
    WriteMeshes();
    WriteFlares();

    KaMaterialList materials;
    AddMaterials(materials);
    KaObjArray scene;
    scene.SetMaterialCatalog(&materials);

    // The editor looks from the origin along −z with a vertical field of
    // view of 45°: everything stands in front of it, within that view.
    Geometry(scene, "floor", "meshes\\floor.mes", "stone", {0, kFloorLevel, 0}, {20, 0.1f, 20});
    Geometry(scene, "crate", "meshes\\crate.mes", "panel", {-2, kGroundLevel, -10}, {1, 2, 1});
    Geometry(scene, "pillar", "meshes\\pillar.mes", "stone", {2.5f, kGroundLevel, -13}, {0.5f, 4, 0.5f});
    KaSceneObj& window = Geometry(scene, "window", "meshes\\pane.mes", "glass", {1, kGroundLevel, -7.5f},
                                  {kPaneHalf.x, 2 * kPaneHalf.y, kPaneHalf.x});
    window.Trans->Rotation = MatrixMultiply3(kIdentityMatrix3, RotationY(DegToRad(-20)));

    // The scene's own camera sees what the editor's does, from a little higher.
    auto camera = std::make_unique<KaCamera>();
    camera->Fov = 60;
    Place(scene, std::move(camera), "cam1", {0, 1, 2});

    auto key = std::make_unique<KaLight>();
    key->Diffuse = {1.0f, 0.95f, 0.85f, 1};
    key->Specular = {1, 1, 1, 1};
    key->LightParams[0] = 60;
    Place(scene, std::move(key), "sunlight", {10, 12, 10});
    auto fill = std::make_unique<KaLight>();
    fill->Diffuse = {0.3f, 0.4f, 0.7f, 1};
    fill->LightParams[0] = 30;
    Place(scene, std::move(fill), "filllight", {-8, 4, -6});
    auto lamp = std::make_unique<KaLight>();
    lamp->Diffuse = {1.0f, 0.6f, 0.2f, 1};
    lamp->LightParams[0] = 8;
    KaSceneObj& lampObject = Place(scene, std::move(lamp), "lamp", {-2, 2, -10});

    auto sun = std::make_unique<KaSprite>();
    sun->Texture1 = "textures\\glow.png";
    sun->Texture2 = "textures\\flare_disc.png";
    sun->Texture3 = "textures\\flare_ring.png";
    sun->FlareName = "sunflare";
    sun->Size1 = 6;
    sun->Size2 = 10;
    sun->Size3 = 14;
    sun->ViewRange = 500;
    Place(scene, std::move(sun), "sun", {6, 9, -40});

    auto sparks = std::make_unique<KaParSystem>(200);
    sparks->TextureName = "textures\\spark.png";
    sparks->EmitDirection = {0, 1, 0};
    sparks->Color = {1, 0.7f, 0.3f, 1};
    sparks->MinSize = 0.1f;
    sparks->MaxSize = 0.4f;
    sparks->Spread = 0.4f;
    KaSceneObj& sparkObject = Place(scene, std::move(sparks), "sparks", {-2, 1.1f, -10});
    lampObject.AddChild(sparkObject);

    std::vector<std::int32_t> all(static_cast<std::size_t>(scene.Count()));
    for (std::int32_t i = 0; i < scene.Count(); ++i)
        all[static_cast<std::size_t>(i)] = i;
    std::vector<std::string> lines = {"addmesh <meshes\\floor.mes>", "addmesh <meshes\\crate.mes>",
                                      "addmesh <meshes\\pillar.mes>", "addmesh <meshes\\pane.mes>"};
    for (const char* face : {"front", "back", "left", "right", "top", "bottom"})
        lines.push_back(std::string("addtex <textures\\sky_") + face + ".png>");
    scene.SaveObjects("scene.kgf", all, lines);
}

} // namespace ra7::datagen
