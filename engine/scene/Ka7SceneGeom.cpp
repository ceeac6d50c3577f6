#include "scene/Ka7SceneGeom.h"

#include "runtime/Errors.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

namespace ra7 {

KaGeometry::KaGeometry() : Bounds(std::make_unique<KaBoundingVolume>())
{
    SetName("Geom1");
}

std::unique_ptr<KaSceneObj> KaGeometry::Create() const
{
    return std::make_unique<KaGeometry>();
}

void KaGeometry::Update()
{
    CheckTrans();
    KaSceneObj::Update();
    Bounds->UpdateWorld(*Trans);
    const KaCamera* camera = Owner() ? Owner()->ActiveCamera() : nullptr;
    if (camera && camera->Trans)
        DistToCamera = DistanceSqr(camera->Trans->Position, Trans->Position);
}

void KaGeometry::LoadFromFile(RecordReader& file, const KgfNameTable& names)
{
    KaSceneObj::LoadFromFile(file, names);
    MeshName = file.readShortString();
    MaterialName = file.readShortString();
    MeshLod1 = file.readShortString();
    MeshLod2 = file.readShortString();
    const std::uint64_t boundsOffset = file.offset();
    if (!Bounds->LoadFromFile(file))
        file.failAt(boundsOffset, "the bounding volume of geometry <" + Name() +
                                      "> does not begin with the tags \"vol\" and \"aab\"");
}

void KaGeometry::SaveToFile(RecordWriter& file, const KgfNameTable& names) const
{
    file.writeTag("geo");
    SaveBase(file, names);
    file.writeShortString(MeshName);
    file.writeShortString(MaterialName);
    file.writeShortString(MeshLod1);
    file.writeShortString(MeshLod2);
    Bounds->SaveToFile(file);
}

void KaGeometry::Assign(const KaSceneObj& source)
{
    CheckSameKind(source);
    const auto& geometry = static_cast<const KaGeometry&>(source);
    KaSceneObj::Assign(source);
    Bounds->Assign(*geometry.Bounds);
    MaterialName = geometry.MaterialName;
    MeshName = geometry.MeshName;
    MeshLod1 = geometry.MeshLod1;
    MeshLod2 = geometry.MeshLod2;
}

LodChoice ChooseLodMesh(const KaGeometry& geometry, bool useLod, bool selfIllumPass)
{
    if (!useLod)
        return {geometry.MeshName};
    const float d = geometry.DistToCamera;
    if (geometry.MeshLod2.empty()) {
        if (d <= LodNear)
            return {geometry.MeshName};
        if (d > LodFar)
            return {};
        return {geometry.MeshLod1};
    }
    if (d <= LodNear)
        return {geometry.MeshName};
    if (d <= LodFar)
        return {geometry.MeshLod1};
    if (d > LodCull || selfIllumPass)
        return {};
    return {geometry.MeshLod2, true};
}

} // namespace ra7
