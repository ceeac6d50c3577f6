#include "anim/Ka7AnimScript.h"
#include "anim/Ka7AnimScriptCommands.h"

#include "effects/Ka7ParSystem.h"
#include "engine/SceneTestSupport.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/SceneFile.h"

#include <gmock/gmock.h>

#include <cmath>

namespace ra7 {
namespace {

using ::testing::ElementsAre;

class AnimCommand : public test::SceneTest {
protected:
    // Plays the script text from its start for `frames` frames of `frameMs`.
    void play(const std::vector<std::string>& lines, int frames, float frameMs)
    {
        KaAnimScript script;
        script.LoadFromStrings(lines);
        script.Reset();
        script.Play();
        for (int i = 0; i < frames; ++i)
            script.Advance(frameMs);
    }
};

TEST_F(AnimCommand, MoveLandsExactlyOnItsTargetWhateverTheFrames)
{
    auto& box = add<KaGeometry>("box");
    play({"0 move box (1;0;0) t:10"}, 100, 16.7f);
    EXPECT_NEAR(box.Trans->Position.x, 1.0f, 1e-5f);
    auto& crate = add<KaGeometry>("crate");
    play({"0 move crate (0;2;0) t:3"}, 1, 1000); // one frame longer than the command
    EXPECT_FLOAT_EQ(crate.Trans->Position.y, 2.0f);
}

TEST_F(AnimCommand, MoveAndScaleWithoutDurationChangeNothing)
{
    auto& box = add<KaGeometry>("box");
    play({"0 move box (1;0;0)", "0 scale box (2;2;2)", "0 rotate box (1;0;0)"}, 5, 20);
    EXPECT_EQ(box.Trans->Position, kZeroVector);
    EXPECT_EQ(box.Trans->Rotation, kIdentityMatrix3);
}

TEST_F(AnimCommand, RotateTurnsAboutTheWorldAxesByTheWholeAngle)
{
    auto& box = add<KaGeometry>("box");
    const float quarter = std::numbers::pi_v<float> / 2;
    play({"0 rotate box (0;0;" + std::to_string(quarter) + ") t:10"}, 50, 20);
    Vector3 x{1, 0, 0};
    VectorTransform(x, box.Trans->Rotation);
    EXPECT_NEAR(x.x, 0, 1e-5f);
    EXPECT_NEAR(x.y, 1, 1e-5f);
}

TEST_F(AnimCommand, ScaleMultipliesByTheStepShareEachCall)
{
    auto& box = add<KaGeometry>("box");
    play({"0 scale box (2;2;2) t:10"}, 1, 20); // s = 0.2: diag(0.04)
    EXPECT_FLOAT_EQ(box.Trans->Rotation[0], 0.04f);
    EXPECT_FLOAT_EQ(box.Trans->Rotation[4], 0.04f);
}

TEST_F(AnimCommand, AttachAndDeattachChangeTheHierarchy)
{
    auto& parent = add<KaGeometry>("parent");
    auto& child = add<KaGeometry>("child");
    scene().TakeChanged();
    play({"0 attach parent child"}, 1, 20);
    EXPECT_THAT(parent.Children, ElementsAre("child"));
    EXPECT_EQ(child.ParentName, "parent");
    EXPECT_TRUE(scene().TakeChanged());
    child.Trans->Position = {5, 0, 0};
    play({"0 deattach child"}, 1, 20);
    EXPECT_TRUE(parent.Children.empty());
    EXPECT_EQ(child.ParentName, "");
    EXPECT_EQ(child.Trans->Position.x, 5.0f); // the world placement stays
}

TEST_F(AnimCommand, DeattachFromAParentThatDoesNotListTheChild)
{
    add<KaGeometry>("parent");
    auto& stray = add<KaGeometry>("stray");
    stray.ParentName = "parent";
    play({"0 deattach stray"}, 1, 20);
    EXPECT_EQ(stray.ParentName, "");
}

TEST_F(AnimCommand, VisibilityAndMissingObjects)
{
    auto& lamp = add<KaGeometry>("lamp");
    play({"0 setinvisible lamp", "0 setvisible nobody", "0 move nobody (1;1;1) t:1"}, 3, 20);
    EXPECT_FALSE(lamp.Visible);
    play({"0 setvisible lamp"}, 1, 20);
    EXPECT_TRUE(lamp.Visible);
}

TEST_F(AnimCommand, ParticleSettingsChangeOverTimeOrAtOnce)
{
    auto& smoke = add<KaParSystem>("smoke", 10);
    smoke.MinLife = 100;
    smoke.MaxLife = 200;
    play({"0 paraddminmaxlife smoke (10;20;0) t:10", "0 paraddcolor smoke (0,5;0;0) t:10"}, 60, 20);
    EXPECT_NEAR(smoke.MinLife, 110, 1e-3f);
    EXPECT_NEAR(smoke.MaxLife, 220, 1e-3f);
    EXPECT_NEAR(smoke.Color[0], 1.5f, 1e-5f);
    EXPECT_EQ(smoke.Color[3], 1.0f);

    play({"0 parsetminmaxspeed smoke (3;4;-1)", "0 parsetspread_sizeadd smoke (0.5;0.25;0)",
          "0 parsetcolor smoke (0.1;0.2;0.3)", "0 parsetvec smoke (0;1;0)",
          "0 parsettex smoke data\\fire.png"},
         1, 20);
    EXPECT_EQ(smoke.MinSpeed, 3.0f);
    EXPECT_EQ(smoke.MaxSpeed, 4.0f);
    EXPECT_EQ(smoke.Spread, 0.5f);
    EXPECT_EQ(smoke.SizeAdd, 0.25f);
    EXPECT_EQ(smoke.Color, (KaColor{0.1f, 0.2f, 0.3f, 1}));
    EXPECT_EQ(smoke.EmitDirection, (Vector3{0, 1, 0}));
    EXPECT_EQ(smoke.TextureName, "data\\fire,png"); // the line's "." became ","
}

TEST_F(AnimCommand, ParticleCommandsIgnoreOtherKinds)
{
    auto& box = add<KaGeometry>("box");
    play({"0 parsetvec box (0;1;0)", "0 parsetcount box (5;0;0)"}, 1, 20);
    EXPECT_EQ(scene().GetItem(0), &box);
}

TEST_F(AnimCommand, ParsetcountRebuildsInTheSameSlotKeepingSettingsAndParent)
{
    auto& parent = add<KaGeometry>("parent");
    auto& old = add<KaParSystem>("smoke", 10);
    add<KaGeometry>("after");
    old.MinSize = 7;
    old.SizeAdd = 0.5f;
    parent.AddChild(old);
    play({"0 parsetcount smoke (2.5;-1;-1)"}, 1, 20); // 2.5 rounds to 2
    auto* rebuilt = dynamic_cast<KaParSystem*>(scene().GetItem(1));
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(rebuilt->Name(), "smoke");
    EXPECT_EQ(rebuilt->Count(), 2);
    EXPECT_EQ(rebuilt->MinSize, 7.0f);
    EXPECT_EQ(rebuilt->SizeAdd, 0.5f); // Assign alone would have dropped it
    EXPECT_EQ(rebuilt->ParentName, "parent");
    EXPECT_THAT(parent.Children, ElementsAre("smoke"));
    EXPECT_THAT(names(), ElementsAre("parent", "smoke", "after"));
}

TEST_F(AnimCommand, ParsetcountRefusesCountsOutsideItsRange)
{
    add<KaParSystem>("smoke", 10);
    play({"0 parsetcount smoke (-3;0;0)", "0 parsetcount smoke (1e9;0;0)"}, 1, 20);
    EXPECT_EQ(dynamic_cast<KaParSystem*>(scene().GetItem(0))->Count(), 10);
    EXPECT_THAT(LogLines(), ::testing::Contains(::testing::HasSubstr("parsetcount smoke")));
    play({"0 parsetcount smoke (0;0;0)"}, 1, 20);
    EXPECT_EQ(dynamic_cast<KaParSystem*>(scene().GetItem(0))->Count(), 0);
}

// The script's limit used to be ten times what a scene file holds, so a
// scene saved after such a rebuild could not be loaded again.
TEST_F(AnimCommand, ParsetcountStopsAtTheCountASceneFileHolds)
{
    add<KaParSystem>("smoke", 10);
    play({"0 parsetcount smoke (100001;0;0)"}, 1, 20);
    EXPECT_EQ(dynamic_cast<KaParSystem*>(scene().GetItem(0))->Count(), 10);
    play({"0 parsetcount smoke (100000;0;0)"}, 1, 20);
    EXPECT_EQ(dynamic_cast<KaParSystem*>(scene().GetItem(0))->Count(), kMaxParticleCount);
}

} // namespace
} // namespace ra7
