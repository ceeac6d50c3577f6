#include "effects/Ka7ParSystem.h"

#include "runtime/FrameTime.h"
#include "runtime/KaRandom.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

#include <cassert>
#include <cmath>
#include <limits>
#include <numbers>

namespace ra7 {

namespace {

// Trunc of a range width, kept inside what the random draw takes.
std::int32_t truncWidth(float width)
{
    if (!(width > 0))
        return 0; // also NaN; a negative width draws 0
    if (width >= static_cast<float>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(width);
}

float drawInRange(float low, float high)
{
    return low + static_cast<float>(Random(truncWidth(high - low)));
}

const KaCamera* activeCameraOf(const KaParSystem& system)
{
    return system.Owner() ? system.Owner()->ActiveCamera() : nullptr;
}

} // namespace

KaParSystem::KaParSystem(std::int32_t count)
    : Bounds(std::make_unique<KaBoundingAABB>()), Particles(static_cast<std::size_t>(count > 0 ? count : 0))
{
    SetName("par1");
}

std::unique_ptr<KaSceneObj> KaParSystem::Create() const
{
    return std::make_unique<KaParSystem>(Count());
}

void KaParSystem::SetSpaceDust(bool on)
{
    SpaceDust = on ? 1 : 0;
    OnSpawn = on ? &SpaceDustSpawn : nullptr;
    OnMove = on ? &SpaceDustMove : nullptr;
}

void KaParSystem::SpawnParticle(std::int32_t index)
{
    KaParticle& p = Particles.at(static_cast<std::size_t>(index));
    p.Position = Trans ? Trans->Position : kZeroVector;
    const float angle = DegToRad(static_cast<float>(Random(359) + 1));
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    p.Rot = {c, s, -s, c};
    p.Color = Color;
    if (Spread != 0) {
        p.Direction.x = WorldDirection.x + RandomReal() * Spread - Spread / 2;
        p.Direction.y = WorldDirection.y + RandomReal() * Spread - Spread / 2;
        p.Direction.z = WorldDirection.z + RandomReal() * Spread - Spread / 2;
    } else {
        p.Direction = WorldDirection;
    }
    p.Life = MaxLife == kUnendingLife ? kUnendingLife : drawInRange(MinLife, MaxLife);
    p.Speed = drawInRange(MinSpeed, MaxSpeed);
    p.Size = drawInRange(MinSize, MaxSize);
    if (OnSpawn)
        OnSpawn(*this, p);
}

void KaParSystem::Update()
{
    CheckTrans();
    KaSceneObj::Update();
    if (SpaceDust) {
        const KaCamera* camera = activeCameraOf(*this);
        if (camera && camera->Trans)
            Trans->Position = camera->Trans->Position;
    }
    WorldDirection = EmitDirection;
    VectorTransform(WorldDirection, Trans->Rotation);
    const float frameTime = FrameTime;
    for (std::int32_t i = 0; i < Count(); ++i)
        stepParticle(i, frameTime);
}

void KaParSystem::stepParticle(std::int32_t index, float frameTime)
{
    KaParticle& p = Particles[static_cast<std::size_t>(index)];
    p.Size += SizeAdd;
    if (p.Size < 0)
        p.Size = 0;
    if (p.Life != kUnendingLife) {
        p.Life -= frameTime;
        p.Color[3] -= frameTime / 1000;
    }
    if (p.Color[3] < 0)
        p.Size = 0;
    if (OnMove)
        OnMove(*this, p);
    if ((p.Life == kUnendingLife || p.Life > 0) && p.Size > 0)
        p.Position = VectorAdd(p.Position, VectorScale(p.Direction, frameTime / 100 * p.Speed));
    else
        SpawnParticle(index);
}

void KaParSystem::LoadFromFile(RecordReader& file, const KgfNameTable& names)
{
    KaSceneObj::LoadFromFile(file, names);
    TextureName = file.readShortString();
    AuxName = file.readShortString();
    file.readSingles(TexRect.data(), 4);
    file.readSingles(Color.data(), 4);
    file.readSingles(&EmitDirection.x, 3);
    MinSpeed = file.readSingle();
    MaxSpeed = file.readSingle();
    MaxLife = file.readSingle();
    MinLife = file.readSingle();
    MinSize = file.readSingle();
    MaxSize = file.readSingle();
    Spread = file.readSingle();
    const float code = file.readSingle();
    const float mode = std::isfinite(code) && std::fabs(code) < 1e9f ? std::trunc(code) : 0.0f;
    Static = mode == 1 || mode == 4;
    SetSpaceDust(mode == 3 || mode == 4);
}

void KaParSystem::SaveToFile(RecordWriter& file, const KgfNameTable& names) const
{
    file.writeTag("par");
    file.writeInt32(Count());
    SaveBase(file, names);
    file.writeShortString(TextureName);
    file.writeShortString(AuxName);
    file.writeSingles(TexRect.data(), 4);
    file.writeSingles(Color.data(), 4);
    file.writeSingles(&EmitDirection.x, 3);
    file.writeSingle(MinSpeed);
    file.writeSingle(MaxSpeed);
    file.writeSingle(MaxLife);
    file.writeSingle(MinLife);
    file.writeSingle(MinSize);
    file.writeSingle(MaxSize);
    file.writeSingle(Spread);
    file.writeSingle(ParticleModeCode(Static, SpaceDust != 0));
}

void KaParSystem::Assign(const KaSceneObj& source)
{
    CheckSameKind(source);
    const auto& system = static_cast<const KaParSystem&>(source);
    KaSceneObj::Assign(source);
    Bounds->Assign(*system.Bounds);
    TextureName = system.TextureName;
    TexRect = system.TexRect;
    OnSpawn = system.OnSpawn;
    OnMove = system.OnMove;
    SpaceDust = system.SpaceDust;
    Color = system.Color;
    EmitDirection = system.EmitDirection;
    WorldDirection = system.WorldDirection;
    AuxName = system.AuxName;
    MinSpeed = system.MinSpeed;
    MaxSpeed = system.MaxSpeed;
    MinLife = system.MinLife;
    MaxLife = system.MaxLife;
    MinSize = system.MinSize;
    MaxSize = system.MaxSize;
    Spread = system.Spread;
}

KaParSystem& RebuildParSystem(KaObjArray& scene, KaParSystem& system, std::int32_t count)
{
    assert(system.Owner() == &scene && system.Slot() >= 0 && "the system stands in the scene");
    auto rebuilt = std::make_unique<KaParSystem>(count);
    rebuilt->Assign(system);
    rebuilt->SizeAdd = system.SizeAdd;
    KaParSystem& result = *rebuilt;
    // The rebuilt system takes the old one's place under its parent; the old
    // one must not take the shared name out of the parent's children as it goes.
    system.ParentName.clear();
    scene.SetItem(system.Slot(), std::move(rebuilt));
    return result;
}

void SpaceDustSpawn(KaParSystem&, KaParticle& particle)
{
    particle.Position.x += static_cast<float>(Random(1000) - 500) / 10;
    particle.Position.y += static_cast<float>(Random(1000) - 500) / 10;
    particle.Position.z += static_cast<float>(Random(1000) - 500) / 10;
}

void SpaceDustMove(KaParSystem& system, KaParticle& particle)
{
    const KaCamera* camera = activeCameraOf(system);
    if (camera && camera->Trans && DistanceSqr(camera->Trans->Position, particle.Position) > 100.0f * 100.0f)
        particle.Size = 0;
}

float ParticleModeCode(bool isStatic, bool spaceDust)
{
    if (spaceDust)
        return isStatic ? 4.0f : 3.0f;
    return isStatic ? 1.0f : 2.0f;
}

} // namespace ra7
