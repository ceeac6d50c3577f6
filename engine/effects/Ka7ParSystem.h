#pragma once
// KaParSystem: emits a fixed number of camera-facing particles from its
// position. A particle lives until its lifetime runs out, it fades to
// transparent or shrinks to nothing, and is then born again at the emitter,
// so the count never changes. In space-dust mode the emitter follows the
// camera and the particles fill a cube around it.

#include "scene/Ka7BoundingVolume.h"
#include "scene/Ka7SceneObjUnit.h"
#include "scene/SceneRecordIO.h"

#include <string>
#include <vector>

namespace ra7 {

// A Life of −128 never runs out.
inline constexpr float kUnendingLife = -128.0f;

struct KaParticle {
    float Speed = 0; // distance per 100 milliseconds along Direction
    float Size = 0;
    float Life = 0; // remaining milliseconds, or kUnendingLife
    Vector3 Position;
    Vector3 Direction;
    KaColor Color = {0, 0, 0, 0};
    std::array<float, 4> Rot = {0, 0, 0, 0}; // cos a, sin a, −sin a, cos a
};

class KaObjArray;
class KaParSystem;
using KaParticleProc = void (*)(KaParSystem& system, KaParticle& particle);

class KaParSystem : public KaSceneObj {
public:
    // "par1" with `count` zeroed particles (all born on the first update).
    explicit KaParSystem(std::int32_t count);

    KaObjKind Kind() const override { return KaObjKind::ParSystem; }
    std::unique_ptr<KaSceneObj> Create() const override;
    // Every particle as a camera-facing square turned by its own angle.
    void Render() override;
    // Propagation, then one step of every particle by FrameTime.
    void Update() override;
    // The record after the particle count (which the scene reader reads to
    // construct the system).
    void LoadFromFile(RecordReader& file, const KgfNameTable& names) override;
    void SaveToFile(RecordWriter& file, const KgfNameTable& names) const override;
    // Settings only: the count, the particles and SizeAdd stay.
    void Assign(const KaSceneObj& source) override;

    // Gives particle `index` a new life at the emitter.
    void SpawnParticle(std::int32_t index);
    // Installs or removes the space-dust procedures with the flag.
    void SetSpaceDust(bool on);

    std::int32_t Count() const { return static_cast<std::int32_t>(Particles.size()); }

    KaParticleProc OnSpawn = nullptr;
    KaParticleProc OnMove = nullptr;
    std::unique_ptr<KaBoundingAABB> Bounds;
    std::uint8_t SpaceDust = 0;
    std::string AuxName;
    std::string TextureName;
    std::array<float, 4> TexRect = {0, 0, 1, 1};
    KaColor Color = {1, 1, 1, 1};
    Vector3 EmitDirection = {0, 0, 1};
    Vector3 WorldDirection;
    float MinLife = 500.0f;
    float MaxLife = 2000.0f;
    float SizeAdd = 0.0f;
    float Spread = 1.0f;
    float MinSpeed = 0.2f;
    float MaxSpeed = 2.0f;
    float MinSize = 0.5f;
    float MaxSize = 10.0f;
    std::vector<KaParticle> Particles;

private:
    void stepParticle(std::int32_t index, float frameTime);
};

// Space dust: a newborn particle is scattered up to 50 units around the
// emitter; a particle more than 100 units from the active camera is reborn.
void SpaceDustSpawn(KaParSystem& system, KaParticle& particle);
void SpaceDustMove(KaParSystem& system, KaParticle& particle);

// Rebuilds `system`, which stands in `scene`, with `count` particles in the
// same slot: its name, its place in the hierarchy and every setting (SizeAdd
// too, which Assign leaves out) stay; the particles are born anew. `system`
// is destroyed; the new system is returned.
KaParSystem& RebuildParSystem(KaObjArray& scene, KaParSystem& system, std::int32_t count);

// The mode code stored in scene files: 1 Static, 2 neither, 3 SpaceDust, 4 both.
float ParticleModeCode(bool isStatic, bool spaceDust);

} // namespace ra7
