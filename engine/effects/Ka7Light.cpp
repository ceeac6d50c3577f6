#include "effects/Ka7Light.h"

#include "resources/DrawState.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7SceneUnit.h"

namespace ra7 {

KaLight::KaLight()
{
    SetName("lig1");
}

std::unique_ptr<KaSceneObj> KaLight::Create() const
{
    return std::make_unique<KaLight>();
}

void KaLight::Update()
{
    CheckTrans();
    KaSceneObj::Update();
}

void KaLight::LoadFromFile(RecordReader& file, const KgfNameTable& names)
{
    KaSceneObj::LoadFromFile(file, names);
    file.readSingles(Ambient.data(), 3);
    file.readSingles(Diffuse.data(), 3);
    file.readSingles(Specular.data(), 3);
    file.readSingles(LightParams.data(), 3);
    Static = readFlagUnit(file);
}

void KaLight::SaveToFile(RecordWriter& file, const KgfNameTable& names) const
{
    file.writeTag("lig");
    SaveBase(file, names);
    file.writeSingles(Ambient.data(), 3);
    file.writeSingles(Diffuse.data(), 3);
    file.writeSingles(Specular.data(), 3);
    file.writeSingles(LightParams.data(), 3);
    writeFlagUnit(file, Static);
}

void KaLight::Assign(const KaSceneObj& source)
{
    CheckSameKind(source);
    const auto& light = static_cast<const KaLight&>(source);
    KaSceneObj::Assign(source);
    Ambient = light.Ambient;
    Diffuse = light.Diffuse;
    Specular = light.Specular;
    LightParams[0] = light.LightParams[0];
}

KaLight* CurrentLight()
{
    KaSceneObj* object = SceneObjects ? SceneObjects->FindByName(CurrentLightName) : nullptr;
    return object && object->Kind() == KaObjKind::Light ? static_cast<KaLight*>(object) : nullptr;
}

} // namespace ra7
