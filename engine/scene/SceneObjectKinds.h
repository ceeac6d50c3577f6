#pragma once
// The object kinds by their record tag in scene files.

#include "scene/Ka7SceneObjUnit.h"

#include <memory>
#include <optional>
#include <string_view>

namespace ra7 {

// "geo", "spr", "cam", "lig", "par", "sou".
std::string_view KindTag(KaObjKind kind);
std::optional<KaObjKind> KindFromTag(std::string_view tag);
// "geometry", "sprite", "camera", "light", "particles", "sound".
std::string_view KindName(KaObjKind kind);

// Makes the objects of the kinds that live above the scene layer: lights,
// sprites, particle systems and sounds. The effects layer installs its own
// before main runs, so every program that links the engine reads scene files
// with all six kinds.
class SceneObjectFactory {
public:
    virtual ~SceneObjectFactory() = default;
    // A new object of `kind` as its constructor makes it; `particleCount` is
    // for particle systems only.
    virtual std::unique_ptr<KaSceneObj> Create(KaObjKind kind, std::int32_t particleCount) const = 0;
};

// The factory stays in use until the next call; null takes it away again.
void InstallSceneObjectFactory(const SceneObjectFactory* factory);

// A new object of the kind as its constructor makes it: geometry and cameras
// here, the other kinds through the installed factory (an Error when none is).
std::unique_ptr<KaSceneObj> CreateSceneObject(KaObjKind kind, std::int32_t particleCount = 0);

} // namespace ra7
