#include "FileJson.h"

#include <algorithm>

#include "resources/Ka7Material.h"
#include "resources/Ka7Mesh.h"

#include "effects/Ka7LensFlare.h"
#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"
#include "scene/Ka7BoundingVolume.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/SceneFile.h"
#include "scene/SceneObjectKinds.h"

namespace ra7 {

using json = nlohmann::ordered_json;

namespace {

json vectorJson(const Vector3& v)
{
    return json::array({v.x, v.y, v.z});
}

template <std::size_t N>
json floatsJson(const std::array<float, N>& values, std::size_t count = N)
{
    json result = json::array();
    for (std::size_t i = 0; i < count && i < N; ++i)
        result.push_back(values[i]);
    return result;
}

json transformationJson(const KaTransformation& trans)
{
    return {{"position", vectorJson(trans.Position)}, {"rotation", floatsJson(trans.Rotation)}};
}

std::string_view shapeKindName(KaShapeKind kind)
{
    switch (kind) {
    case KaShapeKind::Point:
        return "point";
    case KaShapeKind::Sphere:
        return "sphere";
    case KaShapeKind::AABB:
        return "aabb";
    }
    return "sphere";
}

void addGeometry(json& out, const KaGeometry& geometry)
{
    out["mesh"] = geometry.MeshName;
    out["material"] = geometry.MaterialName;
    out["meshLod1"] = geometry.MeshLod1;
    out["meshLod2"] = geometry.MeshLod2;
    out["bounds"] = BoundingVolumeJson(*geometry.Bounds);
}

void addSprite(json& out, const KaSprite& sprite)
{
    out["textures"] = {sprite.Texture1, sprite.Texture2, sprite.Texture3};
    out["flare"] = sprite.FlareName;
    out["colors"] = {floatsJson(sprite.Color1), floatsJson(sprite.Color2), floatsJson(sprite.Color3)};
    out["sizes"] = {sprite.Size1, sprite.Size2, sprite.Size3};
    out["viewRange"] = sprite.ViewRange;
    out["zTest"] = sprite.ZTest != 0;
    out["alwaysRendered"] = sprite.AlwaysRendered != 0;
    out["spareFlag"] = sprite.SpareFlag != 0;
}

void addLight(json& out, const KaLight& light)
{
    // The file stores the first three components of each.
    out["ambient"] = floatsJson(light.Ambient, 3);
    out["diffuse"] = floatsJson(light.Diffuse, 3);
    out["specular"] = floatsJson(light.Specular, 3);
    out["lightParams"] = floatsJson(light.LightParams, 3);
}

void addParticles(json& out, const KaParSystem& system)
{
    out["count"] = system.Count();
    out["texture"] = system.TextureName;
    out["aux"] = system.AuxName;
    out["texRect"] = floatsJson(system.TexRect);
    out["color"] = floatsJson(system.Color);
    out["emitDirection"] = vectorJson(system.EmitDirection);
    out["minSpeed"] = system.MinSpeed;
    out["maxSpeed"] = system.MaxSpeed;
    out["minLife"] = system.MinLife;
    out["maxLife"] = system.MaxLife;
    out["minSize"] = system.MinSize;
    out["maxSize"] = system.MaxSize;
    out["spread"] = system.Spread;
    out["spaceDust"] = system.SpaceDust != 0;
}

} // namespace

json ShapeJson(const KaBoundingObj& shape)
{
    json out = {{"kind", shapeKindName(shape.Kind())},
                {"transformation", transformationJson(shape.LocalTrans)}};
    if (shape.Kind() == KaShapeKind::Sphere)
        out["radius"] = static_cast<const KaBoundingSphere&>(shape).Radius;
    if (shape.Kind() == KaShapeKind::AABB)
        out["size"] = vectorJson(static_cast<const KaBoundingAABB&>(shape).Size);
    return out;
}

json BoundingVolumeJson(const KaBoundingVolume& volume)
{
    json shapes = json::array();
    for (std::int32_t i = 0; i < volume.Count(); ++i)
        shapes.push_back(ShapeJson(volume.Item(i)));
    return {{"main", ShapeJson(*volume.Main)}, {"shapes", shapes}};
}

json SceneObjectJson(const KaSceneObj& object)
{
    json out = {
        {"kind", KindName(object.Kind())},
        {"tag", KindTag(object.Kind())},
        {"name", object.Name()},
        {"parent", object.ParentName.empty() ? json(nullptr) : json(object.ParentName)},
        {"children", object.Children},
        {"transformation", object.Trans ? transformationJson(*object.Trans) : json(nullptr)},
        {"static", object.Static},
    };
    switch (object.Kind()) {
    case KaObjKind::Geometry:
        addGeometry(out, static_cast<const KaGeometry&>(object));
        break;
    case KaObjKind::Sprite:
        addSprite(out, static_cast<const KaSprite&>(object));
        break;
    case KaObjKind::Camera:
        out["fov"] = static_cast<const KaCamera&>(object).Fov;
        break;
    case KaObjKind::Light:
        addLight(out, static_cast<const KaLight&>(object));
        break;
    case KaObjKind::ParSystem:
        addParticles(out, static_cast<const KaParSystem&>(object));
        break;
    case KaObjKind::Sound:
        break;
    }
    return out;
}

json SceneFileJson(const std::string& fileName, const SceneFileContents& contents)
{
    json objects = json::array();
    for (const auto& object : contents.Objects)
        objects.push_back(SceneObjectJson(*object));
    return {{"file", fileName},
            {"format", "kgf"},
            {"names", contents.NameTable},
            {"objects", objects},
            {"commandLines", contents.Lines}};
}

json MeshFileJson(const std::string& fileName, const KaMesh& mesh)
{
    json bounds = nullptr;
    if (const std::optional<KaBounds> box = mesh.Bounds())
        bounds = {{"min", vectorJson(box->Min)}, {"max", vectorJson(box->Max)}};
    const bool tangents = std::any_of(mesh.Tangents.begin(), mesh.Tangents.end(),
                                      [](const Vector3& t) { return t.x != 0 || t.y != 0 || t.z != 0; });
    return {{"file", fileName},           {"format", "mes"},
            {"name", mesh.Name},          {"vertices", mesh.VertexCount},
            {"indices", mesh.IndexCount}, {"bounds", bounds},
            {"tangentSpace", tangents}};
}

json MaterialJson(const KaMaterial& m)
{
    json textures = json::array();
    for (const std::string& texture : m.Textures)
        textures.push_back(texture);
    return {{"name", m.Name},
            {"colour", floatsJson(m.Colour)},
            {"blend", m.Blend},
            {"worldAmbient", floatsJson(m.WorldAmbient)},
            {"ambient", floatsJson(m.Ambient)},
            {"diffuse", floatsJson(m.Diffuse)},
            {"specular", floatsJson(m.Specular)},
            {"shininess", m.Shininess},
            {"alphaRef", m.AlphaRef},
            {"twoSided", m.TwoSided},
            {"vertexShader", m.VertexShader},
            {"fragmentShader", m.FragmentShader},
            {"textures", textures},
            {"selfIllumination", m.SelfIllumination}};
}

json LensFlareJson(const KaLensFlare& flare)
{
    json lenses = json::array();
    for (std::int32_t i = 0; i < flare.LensCount; ++i) {
        const KaLens& lens = flare.Lenses[static_cast<std::size_t>(i)];
        lenses.push_back({{"texture", lens.TextureName},
                          {"color", floatsJson(lens.Color)},
                          {"pos", lens.Pos},
                          {"size", lens.Size}});
    }
    json distanceScale = nullptr;
    if (flare.LensCount > 0)
        distanceScale = flare.DistanceScale;
    return {{"name", flare.Name}, {"distanceScale", distanceScale}, {"lenses", lenses}};
}

} // namespace ra7
