// Particle systems with a seeded generator: birth values, ageing, fading,
// rebirth, unending lives and space dust.
#include "engine/SceneTestSupport.h"

#include "effects/Ka7ParSystem.h"
#include "runtime/FrameTime.h"
#include "runtime/KaRandom.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7Camera.h"
#include "scene/KgfNameTable.h"

#include <gmock/gmock.h>

#include <cmath>
#include <cstring>
#include <set>

namespace ra7 {
namespace {

using Particles = test::SceneTest;

TEST_F(Particles, FirstUpdateBearsEveryParticleAtTheEmitter)
{
    auto& system = add<KaParSystem>("smoke", 10);
    system.Trans->Position = {3, 4, 5};
    system.Update();
    std::set<float> sizes;
    for (const KaParticle& p : system.Particles) {
        EXPECT_EQ(p.Position, (Vector3{3, 4, 5})); // born this frame: not moved
        EXPECT_FLOAT_EQ(p.Speed, 0.2f);            // the width 1.8 truncates to 1: R(1) = 0
        EXPECT_EQ(p.Color, (KaColor{1, 1, 1, 1}));
        EXPECT_GE(p.Life, 500);
        EXPECT_LE(p.Life, 1999);
        EXPECT_EQ(p.Life, std::trunc(p.Life));
        EXPECT_GE(p.Size, 0.5f);
        EXPECT_LE(p.Size, 8.5f);
        EXPECT_EQ(p.Size - 0.5f, std::trunc(p.Size - 0.5f)); // 0.5, 1.5, … 8.5
        EXPECT_NEAR(p.Rot[0] * p.Rot[0] + p.Rot[1] * p.Rot[1], 1.0f, 1e-5f);
        EXPECT_EQ(p.Rot[2], -p.Rot[1]);
        EXPECT_NE(p.Rot[1], 0.0f); // the turn is 1 to 359 degrees, never 0 or 360
        sizes.insert(p.Size);
    }
    EXPECT_GT(sizes.size(), 2u); // the draw really varies
}

TEST_F(Particles, SameSeedSameParticles)
{
    auto& first = add<KaParSystem>("a", 5);
    auto& second = add<KaParSystem>("b", 5);
    SeedRandom(7);
    first.Update();
    SeedRandom(7);
    second.Update();
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(first.Particles[i].Life, second.Particles[i].Life);
        EXPECT_EQ(first.Particles[i].Direction, second.Particles[i].Direction);
    }
}

TEST_F(Particles, WithoutSpreadParticlesMoveAlongTheWorldDirection)
{
    auto& system = add<KaParSystem>("jet", 4);
    system.Spread = 0;
    system.MinSpeed = 2;
    system.MaxSpeed = 2;
    system.Update();
    FrameTime = 50;
    system.Update();
    for (const KaParticle& p : system.Particles) {
        EXPECT_EQ(p.Direction, (Vector3{0, 0, 1}));
        EXPECT_FLOAT_EQ(p.Position.z, 50.0f / 100 * 2); // distance per 100 ms times speed
        EXPECT_EQ(p.Position.x, 0);
    }
    system.Trans->Rotation = RotationY(std::acos(-1.0f) / 2);
    system.Update();
    EXPECT_NEAR(system.WorldDirection.x, 1.0f, 1e-6f); // (0,0,1)·RotationY(90°)
}

TEST_F(Particles, SpreadScattersEachComponentWithinHalfItsWidth)
{
    auto& system = add<KaParSystem>("spray", 50);
    system.Spread = 0.4f;
    system.Update();
    for (const KaParticle& p : system.Particles) {
        EXPECT_GE(p.Direction.x, -0.2f);
        EXPECT_LT(p.Direction.x, 0.2f);
        EXPECT_GE(p.Direction.z, 0.8f);
        EXPECT_LT(p.Direction.z, 1.2f);
    }
}

TEST_F(Particles, ALongLifeStillEndsWhenTheAlphaRunsOut)
{
    auto& system = add<KaParSystem>("fire", 1);
    system.MinLife = 2000;
    system.MaxLife = 2000;
    system.Update();
    ASSERT_EQ(system.Particles[0].Life, 2000);
    FrameTime = 125;
    for (int frame = 0; frame < 8; ++frame) // 1000 ms: alpha 1 − 1.0 = 0, not yet below 0
        system.Update();
    EXPECT_EQ(system.Particles[0].Life, 1000);
    EXPECT_EQ(system.Particles[0].Color[3], 0);
    system.Update(); // alpha below 0: size 0, reborn in this update
    EXPECT_EQ(system.Particles[0].Life, 2000);
    EXPECT_EQ(system.Particles[0].Color[3], 1);
}

TEST_F(Particles, LifeRunningOutRebornsTheParticle)
{
    auto& system = add<KaParSystem>("spark", 1);
    system.MinLife = 30;
    system.MaxLife = 30;
    system.Update();
    FrameTime = 10;
    system.Update();
    system.Update();
    EXPECT_EQ(system.Particles[0].Life, 10);
    system.Update(); // life 0 is not above 0
    EXPECT_EQ(system.Particles[0].Life, 30);
}

TEST_F(Particles, UnendingLivesNeverAgeOnlyShrink)
{
    auto& system = add<KaParSystem>("glow", 3);
    system.MinLife = kUnendingLife;
    system.MaxLife = kUnendingLife;
    system.MinSize = 2;
    system.MaxSize = 2;
    system.Update();
    FrameTime = 5000;
    system.Update();
    for (const KaParticle& p : system.Particles) {
        EXPECT_EQ(p.Life, kUnendingLife);
        EXPECT_EQ(p.Color[3], 1);
    }
    system.SizeAdd = -1.5f;
    system.Update();
    EXPECT_EQ(system.Particles[0].Size, 0.5f);
    const Vector3 moved = system.Particles[0].Position;
    system.Update(); // 0.5 − 1.5 < 0: size 0, reborn at the emitter
    EXPECT_EQ(system.Particles[0].Size, 2);
    EXPECT_NE(moved, system.Particles[0].Position);
}

TEST_F(Particles, SpaceDustFollowsTheCameraAndRebornsFarParticles)
{
    auto& camera = add<KaCamera>("eye");
    ActiveCameraName = "eye";
    camera.Trans->Position = {1000, 0, 0};
    auto& dust = add<KaParSystem>("dust", 20);
    dust.SetSpaceDust(true);
    dust.Update();
    EXPECT_EQ(dust.Trans->Position, (Vector3{1000, 0, 0}));
    for (const KaParticle& p : dust.Particles) {
        EXPECT_GE(p.Position.x, 1000 - 50.0f);
        EXPECT_LE(p.Position.x, 1000 + 49.9f + 1e-3f);
        EXPECT_GE(p.Position.y, -50.0f);
        EXPECT_LE(p.Position.z, 49.9f + 1e-3f);
        EXPECT_NEAR(p.Position.y * 10, std::round(p.Position.y * 10), 1e-3f); // steps of 0.1
    }
    dust.Particles[0].Position = {1101, 0, 0}; // 101 units from the camera
    dust.Particles[0].Life = kUnendingLife;
    FrameTime = 0;
    dust.Update();
    EXPECT_LE(std::fabs(dust.Particles[0].Position.x - 1000), 50.0f);
}

TEST_F(Particles, AssignCopiesSettingsButNotParticles)
{
    KaParSystem source(3);
    source.SetSpaceDust(true);
    source.MaxSpeed = 9;
    source.SizeAdd = 4;
    KaParSystem target(8);
    target.SizeAdd = 1;
    target.Particles[7].Size = 3;
    target.Assign(source);
    EXPECT_EQ(target.Count(), 8);
    EXPECT_EQ(target.SizeAdd, 1);
    EXPECT_EQ(target.Particles[7].Size, 3);
    EXPECT_EQ(target.MaxSpeed, 9);
    EXPECT_EQ(target.OnMove, &SpaceDustMove);
}

TEST_F(Particles, ModeCodesReadAsDocumented)
{
    struct Case {
        float code;
        bool isStatic;
        bool dust;
    };
    for (const Case c : {Case{1, true, false}, Case{2, false, false}, Case{3, false, true},
                         Case{4, true, true}, Case{0, false, false}, Case{4.9f, true, true},
                         Case{-3, false, false}, Case{NAN, false, false}, Case{7, false, false}}) {
        KaParSystem system(0);
        system.SetName("0");
        KgfNameTable names({"p"});
        {
            RecordWriter file("p.rec");
            system.SaveToFile(file, KgfNameTable({"0"}));
            file.commit();
        }
        std::string bytes = test::readFile("p.rec");
        const float code = c.code;
        std::memcpy(bytes.data() + bytes.size() - 4, &code, 4);
        RecordReader reader("p.rec", bytes);
        reader.readTag();
        reader.readInt32();
        system.LoadFromFile(reader, names);
        EXPECT_EQ(system.Static, c.isStatic) << c.code;
        EXPECT_EQ(system.SpaceDust != 0, c.dust) << c.code;
        EXPECT_EQ(system.OnSpawn != nullptr, c.dust) << c.code;
    }
    EXPECT_EQ(ParticleModeCode(true, true), 4);
    EXPECT_EQ(ParticleModeCode(false, false), 2);
}

TEST_F(Particles, AnInvertedRangeDrawsTheMinimum)
{
    auto& system = add<KaParSystem>("odd", 4);
    system.MinSpeed = 5;
    system.MaxSpeed = 1;
    system.MinLife = 100;
    system.MaxLife = 1e30f;
    system.Update();
    for (const KaParticle& p : system.Particles) {
        EXPECT_EQ(p.Speed, 5);
        EXPECT_GE(p.Life, 100);
    }
}

// "Изменение размера:" used to fall back to 0 whenever the count changed,
// because the rebuild went through Assign alone.
TEST_F(Particles, ARebuildKeepsSizeAddSettingsParentAndChildren)
{
    auto& parent = add<KaParSystem>("parent", 1);
    auto& smoke = add<KaParSystem>("smoke", 10);
    auto& spark = add<KaParSystem>("spark", 1);
    parent.AddChild(smoke);
    smoke.AddChild(spark);
    smoke.SizeAdd = -0.25f;
    smoke.MaxSize = 7;
    smoke.SetSpaceDust(true);

    KaParSystem& rebuilt = RebuildParSystem(scene(), smoke, 3);
    EXPECT_EQ(scene().GetItem(1), &rebuilt);
    EXPECT_EQ(rebuilt.Count(), 3);
    EXPECT_EQ(rebuilt.SizeAdd, -0.25f);
    EXPECT_EQ(rebuilt.MaxSize, 7);
    EXPECT_EQ(rebuilt.OnMove, &SpaceDustMove);
    EXPECT_EQ(rebuilt.ParentName, "parent");
    EXPECT_THAT(parent.Children, ::testing::ElementsAre("smoke"));
    EXPECT_THAT(rebuilt.Children, ::testing::ElementsAre("spark"));
    EXPECT_EQ(spark.ParentName, "smoke");
    EXPECT_EQ(scene().FindByName("smoke"), &rebuilt);
}

} // namespace
} // namespace ra7
