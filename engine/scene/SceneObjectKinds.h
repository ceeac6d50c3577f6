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

// A new object of the kind as its constructor makes it.
std::unique_ptr<KaSceneObj> CreateSceneObject(KaObjKind kind, std::int32_t particleCount = 0);

} // namespace ra7
