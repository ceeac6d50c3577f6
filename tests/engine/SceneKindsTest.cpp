// What distinguishes the kinds: construction values, Assign rules, the
// records' own parts, the geometry's level of detail and the sound's motion.
#include "engine/SceneTestSupport.h"

#include "effects/EffectKinds.h"
#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"
#include "resources/DrawState.h"
#include "runtime/Errors.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/SceneObjectKinds.h"

#include <gmock/gmock.h>

namespace ra7 {
namespace {

using SceneKinds = test::SceneTest;

TEST_F(SceneKinds, NewObjectsCarryTheirKindNames)
{
    EXPECT_EQ(KaGeometry().Name(), "Geom1");
    EXPECT_EQ(KaLight().Name(), "lig1");
    EXPECT_EQ(KaSprite().Name(), "spr1");
    EXPECT_EQ(KaParSystem(3).Name(), "par1");
    EXPECT_EQ(KaSound().Name(), "Sound");
    const KaCamera camera;
    EXPECT_EQ(camera.Name(), "cam1");
    EXPECT_EQ(camera.Fov, 60);
    EXPECT_EQ(camera.Bounds->Radius, 1);
    for (const char* tag : {"geo", "spr", "cam", "lig", "par", "sou"})
        EXPECT_EQ(KindTag(*KindFromTag(tag)), tag);
    EXPECT_FALSE(KindFromTag("scr").has_value());
}

// The scene layer makes geometry and cameras itself; the other four kinds come
// from the factory the effects layer installs before main runs.
TEST_F(SceneKinds, EveryKindIsCreatedAndOnlyTheSceneKindsWithoutTheEffectsFactory)
{
    for (const char* tag : {"geo", "spr", "cam", "lig", "par", "sou"}) {
        const KaObjKind kind = *KindFromTag(tag);
        const std::unique_ptr<KaSceneObj> object = CreateSceneObject(kind, 5);
        ASSERT_NE(object, nullptr) << tag;
        EXPECT_EQ(object->Kind(), kind) << tag;
    }
    EXPECT_EQ(static_cast<KaParSystem&>(*CreateSceneObject(KaObjKind::ParSystem, 5)).Count(), 5);

    InstallSceneObjectFactory(nullptr);
    struct Reinstall {
        ~Reinstall() { InstallSceneObjectFactory(&EffectObjectFactory()); }
    } reinstall;
    EXPECT_EQ(CreateSceneObject(KaObjKind::Camera)->Kind(), KaObjKind::Camera);
    EXPECT_EQ(CreateSceneObject(KaObjKind::Geometry)->Kind(), KaObjKind::Geometry);
    try {
        CreateSceneObject(KaObjKind::Light);
        ADD_FAILURE() << "a light without the effects factory";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "No factory for light objects");
    }
}

TEST_F(SceneKinds, AssignFromAnotherKindIsRefusedAndChangesNothing)
{
    KaLight light;
    light.SetName("keep");
    light.Ambient = {0.9f, 0.9f, 0.9f, 0.9f};
    KaSprite sprite;
    KaCamera camera;
    const std::vector<std::pair<KaSceneObj*, const KaSceneObj*>> pairs = {{&light, &sprite},
                                                                          {&camera, &light}};
    for (const auto& [target, source] : pairs) {
        try {
            target->Assign(*source);
            FAIL() << "assigned";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "неверный тип в assigned");
        }
    }
    EXPECT_EQ(light.Name(), "keep");
    EXPECT_EQ(light.Ambient[0], 0.9f);
    EXPECT_EQ(camera.Name(), "cam1");
}

TEST_F(SceneKinds, AssignCopiesTheCommonPartButNotTheDistance)
{
    KaGeometry source;
    source.SetName("src");
    source.Trans->Position = {1, 2, 3};
    source.LocalTrans->Position = {4, 5, 6};
    source.Static = true;
    source.Visible = false;
    source.ParentName = "p";
    source.Children = {"x", "y"};
    source.DistToCamera = 99;
    KaGeometry target;
    target.Assign(source);
    EXPECT_EQ(target.Name(), "src");
    EXPECT_EQ(target.LocalTrans->Position, (Vector3{4, 5, 6}));
    EXPECT_TRUE(target.Static);
    EXPECT_FALSE(target.Visible);
    EXPECT_EQ(target.Children, source.Children);
    EXPECT_EQ(target.DistToCamera, 0);
}

TEST_F(SceneKinds, LightAssignTakesOnlyTheRangeOfItsParams)
{
    KaLight source;
    source.LightParams = {50, 1, 2, 3};
    source.Specular = {0.1f, 0.2f, 0.3f, 0.4f};
    KaLight target;
    target.Assign(source);
    EXPECT_EQ(target.LightParams, (std::array<float, 4>{50, 0, 0, 0}));
    EXPECT_EQ(target.Specular, source.Specular);
}

TEST_F(SceneKinds, CurrentLightIsFoundByNameEachTime)
{
    auto& lamp = add<KaLight>("lamp");
    add<KaSprite>("glow");
    CurrentLightName = "lamp";
    EXPECT_EQ(CurrentLight(), &lamp);
    CurrentLightName = "glow"; // not a light
    EXPECT_EQ(CurrentLight(), nullptr);
    CurrentLightName = "gone";
    EXPECT_EQ(CurrentLight(), nullptr);
    CurrentLightName.clear();
}

TEST_F(SceneKinds, SpriteAssignKeepsItsFlareAndCopiesTheBoundsKind)
{
    KaSprite source;
    source.FlareName = "sun";
    source.FlareBrightness = 0.25f;
    source.Bounds = std::make_unique<KaBoundingSphere>(4.0f);
    source.Size2 = 9;
    KaSprite target;
    target.FlareName = "moon";
    target.Assign(source);
    EXPECT_EQ(target.FlareName, "moon");
    EXPECT_EQ(target.FlareBrightness, 1);
    EXPECT_EQ(target.Size2, 9);
    ASSERT_EQ(target.Bounds->Kind(), KaShapeKind::Sphere);
    EXPECT_EQ(static_cast<KaBoundingSphere&>(*target.Bounds).Radius, 4);
}

TEST_F(SceneKinds, SoundVelocityIsTheMovementOfTheLastFrame)
{
    auto& parent = add<KaGeometry>("cart");
    auto& sound = add<KaSound>("horn");
    parent.AddChild(sound);
    sound.LocalTrans->Position = {0, 0, 0};
    parent.Update();
    parent.Trans->Position = {2, 0, 0};
    parent.Update();
    EXPECT_EQ(sound.Velocity, (Vector3{2, 0, 0}));
    KaSound copy;
    copy.Assign(sound);
    EXPECT_EQ(copy.Velocity, sound.Velocity);
    EXPECT_EQ(copy.Source, sound.Source);
}

TEST_F(SceneKinds, ARootSoundMovesByOneFrameNotByItsDistanceFromTheOrigin)
{
    auto& sound = add<KaSound>("horn");
    sound.Trans->Position = {500, 0, 0};
    scene().UpdateRoots();
    EXPECT_EQ(sound.Velocity, (Vector3{0, 0, 0})); // standing still, far from the origin
    sound.Trans->Position = {503, 0, 0};
    scene().UpdateRoots();
    EXPECT_EQ(sound.Velocity, (Vector3{3, 0, 0}));
    scene().UpdateRoots();
    EXPECT_EQ(sound.Velocity, (Vector3{0, 0, 0}));
}

TEST_F(SceneKinds, GeometryMeasuresItsSquaredDistanceToTheActiveCamera)
{
    auto& camera = add<KaCamera>("eye");
    auto& box = add<KaGeometry>("box");
    box.Trans->Position = {3, 4, 0};
    box.Update();
    EXPECT_EQ(box.DistToCamera, 0); // no active camera: left as it was
    ActiveCameraName = "eye";
    box.Update();
    EXPECT_EQ(box.DistToCamera, 25);
    EXPECT_EQ(box.Bounds->Main->WorldTrans.Position, (Vector3{3, 4, 0}));
    (void)camera;
}

TEST_F(SceneKinds, LevelOfDetailFollowsTheThresholds)
{
    KaGeometry same;
    same.MeshName = same.MeshLod1 = "m";
    same.DistToCamera = LodFar;
    EXPECT_EQ(ChooseLodMesh(same, true, false).mesh, "m");
    same.DistToCamera = 1.0001e9f;
    EXPECT_EQ(ChooseLodMesh(same, true, false).mesh, "");
    EXPECT_EQ(ChooseLodMesh(same, false, false).mesh, "m"); // LOD off: always the near mesh

    KaGeometry three;
    three.MeshName = "near";
    three.MeshLod1 = "mid";
    three.MeshLod2 = "far";
    three.DistToCamera = LodNear;
    EXPECT_EQ(ChooseLodMesh(three, true, false).mesh, "near");
    three.DistToCamera = 2e7f;
    EXPECT_EQ(ChooseLodMesh(three, true, false).mesh, "mid");
    three.DistToCamera = 2e9f;
    const LodChoice farChoice = ChooseLodMesh(three, true, false);
    EXPECT_EQ(farChoice.mesh, "far");
    EXPECT_TRUE(farChoice.noShaders);
    EXPECT_EQ(ChooseLodMesh(three, true, true).mesh, ""); // skipped in the self-illumination pass
    three.DistToCamera = LodCull;
    EXPECT_EQ(ChooseLodMesh(three, true, false).mesh, "far");
    three.DistToCamera = 6e11f;
    EXPECT_EQ(ChooseLodMesh(three, true, false).mesh, "");
}

TEST_F(SceneKinds, DestroyingAFreeObjectTouchesNoScene)
{
    auto& parent = add<KaGeometry>("parent");
    {
        KaLight loose;
        loose.ParentName = "parent";
        parent.Children.push_back("lig1");
    } // not in the array: its release does not look for a parent
    EXPECT_EQ(parent.ChildCount(), 1);
}

} // namespace
} // namespace ra7
