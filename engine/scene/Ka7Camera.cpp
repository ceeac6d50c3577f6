#include "scene/Ka7Camera.h"

#include "runtime/RecordFile.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/SceneRecordIO.h"

namespace ra7 {

KaCamera::KaCamera() : Bounds(std::make_unique<KaBoundingSphere>(1.0f))
{
    SetName("cam1");
}

std::unique_ptr<KaSceneObj> KaCamera::Create() const
{
    return std::make_unique<KaCamera>();
}

void KaCamera::Update()
{
    CheckTrans();
    KaSceneObj::Update();
}

void KaCamera::UpdateFrustum(const Matrix4& projection, const Matrix4& modelView)
{
    Frustum = ExtractFrustum(projection, modelView);
}

void KaCamera::LoadFromFile(RecordReader& file, const KgfNameTable& names)
{
    KaSceneObj::LoadFromFile(file, names);
    Fov = file.readInt32();
    Static = readFlagUnit(file);
}

void KaCamera::SaveToFile(RecordWriter& file, const KgfNameTable& names) const
{
    file.writeTag("cam");
    SaveBase(file, names);
    file.writeInt32(Fov);
    writeFlagUnit(file, Static);
}

void KaCamera::Assign(const KaSceneObj& source)
{
    CheckSameKind(source);
    const auto& camera = static_cast<const KaCamera&>(source);
    KaSceneObj::Assign(source);
    Bounds->Assign(*camera.Bounds);
    Fov = camera.Fov;
}

KaCamera* ActiveCamera()
{
    return SceneObjects ? SceneObjects->ActiveCamera() : nullptr;
}

} // namespace ra7
