// The scene-object factory of the effects layer, installed before main runs.
// The engine's umbrella target names ra7EffectKindsInstalled to the linker, so
// this file is part of every program that links the engine even though
// nothing calls into it.

#include "effects/EffectKinds.h"

#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"

namespace ra7 {

namespace {

class EffectKinds : public SceneObjectFactory {
public:
    std::unique_ptr<KaSceneObj> Create(KaObjKind kind, std::int32_t particleCount) const override
    {
        switch (kind) {
        case KaObjKind::Light:
            return std::make_unique<KaLight>();
        case KaObjKind::Sprite:
            return std::make_unique<KaSprite>();
        case KaObjKind::ParSystem:
            return std::make_unique<KaParSystem>(particleCount);
        case KaObjKind::Sound:
            return std::make_unique<KaSound>();
        case KaObjKind::Geometry:
        case KaObjKind::Camera:
            break;
        }
        return nullptr;
    }
};

const EffectKinds effectKinds;

bool installEffectKinds()
{
    InstallSceneObjectFactory(&effectKinds);
    return true;
}

} // namespace

const SceneObjectFactory& EffectObjectFactory()
{
    return effectKinds;
}

} // namespace ra7

// A plain name the linker can be told to keep (see engine/CMakeLists.txt).
extern "C" {
extern const bool ra7EffectKindsInstalled;
const bool ra7EffectKindsInstalled = ra7::installEffectKinds();
}
