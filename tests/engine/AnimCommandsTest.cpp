#include "anim/Ka7AnimScript.h"
#include "anim/Ka7AnimScriptCommands.h"
#include "anim/Ka7AnimScriptList.h"

#include "effects/Ka7ParSystem.h"
#include "engine/SceneTestSupport.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/SceneFile.h"

#include <gmock/gmock.h>

#include <algorithm>
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

TEST_F(AnimCommand, ScaleEndsAtExactlyItsFactorWhateverTheFrames)
{
    for (const float frameMs : {20.0f, 16.7f, 3000.0f}) {
        auto& box = add<KaGeometry>("box");
        play({"0 scale box (2;0.5;1) t:10"}, static_cast<int>(std::ceil(1000 / frameMs)) + 1, frameMs);
        EXPECT_NEAR(box.Trans->Rotation[0], 2.0f, 1e-5f) << frameMs;
        EXPECT_NEAR(box.Trans->Rotation[4], 0.5f, 1e-5f) << frameMs;
        EXPECT_NEAR(box.Trans->Rotation[8], 1.0f, 1e-5f) << frameMs;
        EXPECT_EQ(box.Trans->Rotation[1], 0.0f);
        scene().DeleteByName("box");
    }
}

TEST_F(AnimCommand, ScaleHalfWayHasTheSquareRootOfItsFactor)
{
    auto& box = add<KaGeometry>("box");
    box.Trans->Rotation = RotationZ(0.5f);
    const Matrix3 turned = box.Trans->Rotation;
    play({"0 scale box (4;4;4) t:10"}, 25, 20); // half of one second
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_NEAR(box.Trans->Rotation[i], 2 * turned[i], 1e-5f) << i;
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
    EXPECT_EQ(smoke.TextureName, "data\\fire.png");
}

TEST_F(AnimCommand, NamesWithDotsAreFoundAsWrittenThenInTheirCommaForm)
{
    auto& cube = add<KaGeometry>("CUBE.001");
    auto& old = add<KaGeometry>("box,1"); // named for scripts that read "." as ","
    auto& both = add<KaGeometry>("a.b");
    auto& comma = add<KaGeometry>("a,b");
    play({"0 move CUBE.001 (1;0;0) t:1", "0 move box.1 (0;1;0) t:1", "0 move a.b (0;0;1) t:1",
          "0 attach CUBE.001 box.1"},
         2, 100);
    EXPECT_FLOAT_EQ(cube.Trans->Position.x, 1);
    EXPECT_FLOAT_EQ(old.Trans->Position.y, 1);
    EXPECT_FLOAT_EQ(both.Trans->Position.z, 1) << "the name as written comes first";
    EXPECT_FLOAT_EQ(comma.Trans->Position.z, 0);
    EXPECT_EQ(old.ParentName, "CUBE.001");
}

TEST_F(AnimCommand, ACommandThatFailsIsReportedOnceAndDroppedWhileTheRestPlays)
{
    Textures = std::make_unique<KaTextureArray>();
    auto& smoke = add<KaParSystem>("smoke", 4);
    auto& box = add<KaGeometry>("box");
    auto& crate = add<KaGeometry>("crate");
    KaAnimScript first;
    first.LoadFromStrings({"[fire]", "0 parsettex smoke missing.png", "0 move box (1;0;0) t:10"});
    KaAnimScript second;
    second.LoadFromStrings({"[other]", "0 move crate (0;1;0) t:10"});
    AnimList = std::make_unique<KaAnimList>();
    for (KaAnimScript* script : {&first, &second}) {
        script->Reset();
        script->Play();
        AnimList->Add(*script);
    }
    for (int frame = 0; frame < 60; ++frame)
        ASSERT_NO_THROW(AnimList->Update(20)) << frame;
    EXPECT_NEAR(box.Trans->Position.x, 1.0f, 1e-5f);
    EXPECT_NEAR(crate.Trans->Position.y, 1.0f, 1e-5f);
    EXPECT_EQ(smoke.TextureName, "");
    EXPECT_EQ(AnimList->Get(0).StackCount(), 0);
    const auto reports = std::count_if(LogLines().begin(), LogLines().end(), [](const std::string& line) {
        return line.find("parsettex smoke") != std::string::npos;
    });
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(test::logHas("! Скрипт \"fire\": команда parsettex smoke снята: Ошибка OpenIL: missing.png: "
                             "could not open file"));
    AnimList.reset();
    Textures.reset();
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

TEST_F(AnimCommand, ParsetcountKeepsToTheCountTheSceneFileCanHold)
{
    add<KaParSystem>("sparks", 10);
    const std::string over = std::to_string(kMaxParticleCount + 1);
    play({"0 parsetcount sparks (" + over + ";0;0)"}, 1, 20);
    EXPECT_EQ(dynamic_cast<KaParSystem*>(scene().GetItem(0))->Count(), 10);
    EXPECT_TRUE(test::logHas("! parsetcount sparks: число частиц " + over + " вне пределов 0.." +
                             std::to_string(kMaxParticleCount) + ", система не изменена"));
    // A count far past the limit is named as written, not as the bound it was cut to.
    play({"0 parsetcount sparks (200000;0;0)"}, 1, 20);
    EXPECT_TRUE(test::logHas("! parsetcount sparks: число частиц 200000 вне пределов 0.." +
                             std::to_string(kMaxParticleCount) + ", система не изменена"));
    play({"0 parsetcount sparks (" + std::to_string(kMaxParticleCount) + ";0;0)"}, 1, 20);
    EXPECT_EQ(dynamic_cast<KaParSystem*>(scene().GetItem(0))->Count(), kMaxParticleCount);
}

} // namespace
} // namespace ra7
