#include "scene/SceneObjectKinds.h"

#include "runtime/Errors.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"

#include <array>

namespace ra7 {

namespace {
struct KindEntry {
    KaObjKind kind;
    std::string_view tag;
    std::string_view name;
};
constexpr std::array<KindEntry, 6> kKinds = {{
    {KaObjKind::Geometry, "geo", "geometry"},
    {KaObjKind::Sprite, "spr", "sprite"},
    {KaObjKind::Camera, "cam", "camera"},
    {KaObjKind::Light, "lig", "light"},
    {KaObjKind::ParSystem, "par", "particles"},
    {KaObjKind::Sound, "sou", "sound"},
}};

const SceneObjectFactory* installedFactory = nullptr;

const KindEntry& entryOf(KaObjKind kind)
{
    for (const KindEntry& entry : kKinds)
        if (entry.kind == kind)
            return entry;
    return kKinds[0];
}
} // namespace

std::string_view KindTag(KaObjKind kind)
{
    return entryOf(kind).tag;
}

std::string_view KindName(KaObjKind kind)
{
    return entryOf(kind).name;
}

std::optional<KaObjKind> KindFromTag(std::string_view tag)
{
    for (const KindEntry& entry : kKinds)
        if (entry.tag == tag)
            return entry.kind;
    return std::nullopt;
}

void InstallSceneObjectFactory(const SceneObjectFactory* factory)
{
    installedFactory = factory;
}

std::unique_ptr<KaSceneObj> CreateSceneObject(KaObjKind kind, std::int32_t particleCount)
{
    switch (kind) {
    case KaObjKind::Geometry:
        return std::make_unique<KaGeometry>();
    case KaObjKind::Camera:
        return std::make_unique<KaCamera>();
    case KaObjKind::Light:
    case KaObjKind::Sprite:
    case KaObjKind::ParSystem:
    case KaObjKind::Sound:
        break;
    }
    if (!installedFactory)
        throw Error("No factory for " + std::string(KindName(kind)) + " objects");
    return installedFactory->Create(kind, particleCount);
}

} // namespace ra7
