#include "scene/SceneObjectKinds.h"

#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"
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

std::unique_ptr<KaSceneObj> CreateSceneObject(KaObjKind kind, std::int32_t particleCount)
{
    switch (kind) {
    case KaObjKind::Geometry:
        return std::make_unique<KaGeometry>();
    case KaObjKind::Light:
        return std::make_unique<KaLight>();
    case KaObjKind::Sprite:
        return std::make_unique<KaSprite>();
    case KaObjKind::ParSystem:
        return std::make_unique<KaParSystem>(particleCount);
    case KaObjKind::Sound:
        return std::make_unique<KaSound>();
    case KaObjKind::Camera:
        return std::make_unique<KaCamera>();
    }
    return nullptr;
}

} // namespace ra7
