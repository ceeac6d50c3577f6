// The script list's edits through the document (exact undo), loading and
// naming script files, compiling into the selected script, and playing
// outside the history with "Вернуть сцену" putting the scene back.

#include "core/ScriptWorkspace.h"

#include "anim/Ka7AnimScriptList.h"
#include "core/EditorDocument.h"
#include "effects/Ka7ParSystem.h"
#include "engine/SceneTestSupport.h"
#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "scene/Ka7SceneGeom.h"

#include <gmock/gmock.h>

namespace ra7::editor {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class ScriptWorkspaceTest : public ra7::test::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        AnimList = std::make_unique<KaAnimList>();
        document = std::make_unique<EditorDocument>(scene());
        scripts = std::make_unique<ScriptWorkspace>(*document);
    }
    void TearDown() override
    {
        scripts.reset();
        document.reset();
        AnimList.reset();
        SceneTest::TearDown();
    }
    // Plays every script for `ms` milliseconds in frames of 20 ms, as the main loop does.
    void run(float ms)
    {
        for (float done = 0; done < ms; done += 20) {
            scene().UpdateRoots();
            AnimList->Update(20);
            scripts->Tick();
        }
    }
    KaSceneObj& object(const std::string& name) { return *scene().FindByName(name); }

    std::unique_ptr<EditorDocument> document;
    std::unique_ptr<ScriptWorkspace> scripts;
};

// --- the list ------------------------------------------------------------------------

TEST_F(ScriptWorkspaceTest, AddingAScriptIsOneStepThatUndoTakesBackExactly)
{
    scripts->AddScript("  walk ");
    EXPECT_THAT(ScriptWorkspace::ScriptNames(), ElementsAre("walk"));
    EXPECT_EQ(scripts->EditedName(), "walk");
    scripts->AddScript("run");
    document->Undo();
    EXPECT_THAT(ScriptWorkspace::ScriptNames(), ElementsAre("walk"));
    document->Undo();
    EXPECT_THAT(ScriptWorkspace::ScriptNames(), IsEmpty());
    EXPECT_EQ(scripts->Edited(), nullptr) << "the selected script is gone with its step";
    document->Redo();
    document->Redo();
    EXPECT_THAT(ScriptWorkspace::ScriptNames(), ElementsAre("walk", "run"));
    EXPECT_TRUE(document->Modified());
}

TEST_F(ScriptWorkspaceTest, AddingRefusesTakenAndUnstorableNamesAndIgnoresAnEmptyAnswer)
{
    scripts->AddScript("walk");
    scripts->AddScript("   ");
    EXPECT_THROW(scripts->AddScript("walk"), Error);
    EXPECT_THROW(scripts->AddScript("ходьба 日本"), Error) << "not in code page 1251";
    EXPECT_THROW(scripts->AddScript(std::string(256, 'a')), Error);
    EXPECT_THAT(ScriptWorkspace::ScriptNames(), ElementsAre("walk"));
    document->Undo();
    EXPECT_FALSE(document->CanUndo()) << "refusals record no step";
}

TEST_F(ScriptWorkspaceTest, AFileWithoutANameLineIsNamedAfterTheFileMadeUnique)
{
    writeTextLines("walk.txt", {"0 move box (1;0;0) t:10"});
    writeTextLines("named.txt", {"[run]", "0 setvisible box"});
    EXPECT_EQ(scripts->LoadScriptFile("walk.txt"), "walk");
    EXPECT_EQ(scripts->LoadScriptFile("walk.txt"), "walk_1");
    EXPECT_EQ(scripts->LoadScriptFile("named.txt"), "run");
    EXPECT_EQ(scripts->EditedName(), "run");
    ASSERT_NE(scripts->SourceOf("run"), nullptr);
    EXPECT_THAT(*scripts->SourceOf("run"), ElementsAre("[run]", "0 setvisible box"));
    EXPECT_EQ(AnimList->Find("walk_1")->ComCount(), 1);
}

TEST_F(ScriptWorkspaceTest, AFileNamingAListedScriptIsRefusedWithAMessageAndChangesNothing)
{
    writeTextLines("named.txt", {"[run]", "0 setvisible box"});
    scripts->LoadScriptFile("named.txt");
    scripts->AddScript("other");
    try {
        scripts->LoadScriptFile("named.txt");
        FAIL() << "a second script named run";
    } catch (const Error& e) {
        EXPECT_THAT(e.what(), HasSubstr("<run> уже есть"));
    }
    EXPECT_THAT(ScriptWorkspace::ScriptNames(), ElementsAre("run", "other"));
    EXPECT_EQ(scripts->EditedName(), "other");
    EXPECT_THROW(scripts->LoadScriptFile("missing.txt"), std::exception);
}

// --- compiling -------------------------------------------------------------------------

TEST_F(ScriptWorkspaceTest, CompilingWithoutASelectedScriptRefusesAndRecordsNothing)
{
    EXPECT_THROW(scripts->Compile({"0 setvisible box"}), Error);
    EXPECT_FALSE(document->CanUndo());
}

TEST_F(ScriptWorkspaceTest, CompilingKeepsTheListsNameWhateverNameLineTheTextHolds)
{
    scripts->AddScript("walk");
    const CompileReport report = scripts->Compile({"[other]", "0 move box (1;0;0) t:10", "5 Move box"});
    EXPECT_EQ(report.ignoredName, "other");
    EXPECT_EQ(report.commands, 1);
    EXPECT_THAT(report.dropped, ElementsAre(std::pair<std::int32_t, std::string>(
                                    3, "неизвестная команда «Move» (команды пишутся строчными: move)")));
    EXPECT_THAT(ScriptWorkspace::ScriptNames(), ElementsAre("walk"));
    ASSERT_NE(AnimList->Find("walk"), nullptr) << "still reachable under its listed name";
    EXPECT_EQ(AnimList->Find("other"), nullptr);
    EXPECT_TRUE(ra7::test::logHas(
        "! Скрипт walk, строка 3 пропущена: неизвестная команда «Move» (команды пишутся строчными: move)"));

    const CompileReport same = scripts->Compile({"[walk]", "0 setvisible box"});
    EXPECT_FALSE(same.ignoredName);
}

TEST_F(ScriptWorkspaceTest, CompilingRewindsAPlayingScriptAndUndoGivesTheOldCommandsAndTextBack)
{
    add<KaGeometry>("box");
    writeTextLines("walk.txt", {"0 move box (1;0;0) t:10"});
    scripts->LoadScriptFile("walk.txt");
    scripts->Play();
    run(200);
    scripts->Compile({"0 rotate box (0;1;0) t:5", "2 setvisible box"});
    const KaAnimScript& script = *AnimList->Find("walk");
    EXPECT_EQ(script.Speed, 0.0f);
    EXPECT_EQ(script.Position, 0.0f);
    EXPECT_EQ(script.ComCount(), 2);
    EXPECT_THAT(*scripts->SourceOf("walk"), ElementsAre("0 rotate box (0;1;0) t:5", "2 setvisible box"));

    document->Undo();
    ASSERT_EQ(script.ComCount(), 1);
    EXPECT_EQ(script.Commands[0].Command, "move");
    EXPECT_EQ(script.Commands[0].TimeLeft, 10.0f) << "rewound with its whole duration";
    EXPECT_THAT(*scripts->SourceOf("walk"), ElementsAre("0 move box (1;0;0) t:10"));
    document->Redo();
    EXPECT_EQ(script.ComCount(), 2);
}

// --- playing ---------------------------------------------------------------------------

TEST_F(ScriptWorkspaceTest, PlayingIsNoStepButMarksTheSceneModifiedAndStopKeepsWhatItDid)
{
    add<KaGeometry>("box");
    writeTextLines("walk.txt", {"0 move box (1;0;0) t:10"});
    scripts->LoadScriptFile("walk.txt");
    document->MarkSaved("scene.kgf");
    scripts->Play();
    EXPECT_TRUE(document->Modified());
    run(1200);
    EXPECT_FLOAT_EQ(object("box").Trans->Position.x, 1.0f);
    scripts->Stop();
    EXPECT_EQ(AnimList->Find("walk")->Position, 0.0f);
    EXPECT_FLOAT_EQ(object("box").Trans->Position.x, 1.0f) << "Stop keeps what the script did";
    EXPECT_EQ(document->UndoLabel(), "Добавить скрипт walk") << "playing recorded no step";

    // Saved while a script plays, the scene is modified again at the next pass.
    scripts->Play();
    run(100);
    document->MarkSaved("scene.kgf");
    run(20);
    EXPECT_TRUE(document->Modified());
}

TEST_F(ScriptWorkspaceTest, PauseHoldsTheClockAndTheObject)
{
    add<KaGeometry>("box");
    scripts->AddScript("walk");
    scripts->Compile({"0 move box (10;0;0) t:100"});
    scripts->Play();
    run(500);
    scripts->Pause();
    const float held = object("box").Trans->Position.x;
    const float clock = AnimList->Find("walk")->Position;
    run(500);
    EXPECT_EQ(object("box").Trans->Position.x, held);
    EXPECT_EQ(AnimList->Find("walk")->Position, clock);
    EXPECT_GT(held, 0.0f);
}

TEST_F(ScriptWorkspaceTest, RestoringTheScenePutsBackPlacementVisibilityLinksAndIsOneStep)
{
    KaGeometry& lamp = add<KaGeometry>("lamp");
    KaGeometry& box = add<KaGeometry>("box");
    box.Trans->Position = Vector3{1, 2, 3};
    lamp.AddChild(box);
    scripts->AddScript("walk");
    scripts->Compile(
        {"0 deattach box", "0 move box (5;0;0) t:5", "0 rotate box (0;1;0) t:5", "0 setinvisible lamp"});
    scripts->Play();
    run(1000);
    EXPECT_TRUE(object("box").ParentName.empty());
    EXPECT_FALSE(object("lamp").Visible);
    const Vector3 moved = object("box").Trans->Position;
    EXPECT_FLOAT_EQ(moved.x, 6.0f);

    ASSERT_TRUE(scripts->CanRestoreScene());
    scripts->RestoreScene();
    EXPECT_EQ(object("box").Trans->Position, (Vector3{1, 2, 3}));
    EXPECT_EQ(object("box").Trans->Rotation, kIdentityMatrix3);
    EXPECT_EQ(object("box").ParentName, "lamp");
    EXPECT_THAT(object("lamp").Children, ElementsAre("box"));
    EXPECT_TRUE(object("lamp").Visible);
    EXPECT_FALSE(scripts->CanRestoreScene());
    EXPECT_EQ(AnimList->Find("walk")->Speed, 0.0f) << "the scripts stop first";

    document->Undo();
    EXPECT_EQ(object("box").Trans->Position, moved);
    EXPECT_TRUE(object("box").ParentName.empty());
    EXPECT_THAT(object("lamp").Children, IsEmpty());
    EXPECT_TRUE(scripts->CanRestoreScene());
    document->Redo();
    EXPECT_EQ(object("box").ParentName, "lamp");
}

TEST_F(ScriptWorkspaceTest, PlayingAgainRemembersTheSceneFromBeforeTheFirstPlay)
{
    add<KaGeometry>("box");
    scripts->AddScript("walk");
    scripts->Compile({"0 move box (1;0;0) t:1"});
    scripts->Play();
    run(400);
    scripts->Play();
    run(400);
    EXPECT_FLOAT_EQ(object("box").Trans->Position.x, 2.0f);
    scripts->RestoreScene();
    EXPECT_FLOAT_EQ(object("box").Trans->Position.x, 0.0f);
}

TEST_F(ScriptWorkspaceTest, RestoringRebuildsAParticleSystemAScriptRebuiltAndItsSettings)
{
    KaGeometry& lamp = add<KaGeometry>("lamp");
    KaParSystem& sparks = add<KaParSystem>("sparks", 4);
    lamp.AddChild(sparks);
    sparks.MinLife = 100;
    sparks.SizeAdd = 0.5f;
    sparks.TextureName = "spark.png";
    scripts->AddScript("burst");
    scripts->Compile({"0 parsetcount sparks (10;0;0)", "0 parsetcolor sparks (1;0;0)",
                      "0 paraddspread_sizeadd sparks (0;2;0) t:1", "0 parsetminmaxlife sparks (7;8;0)"});
    scripts->Play();
    run(400);
    ASSERT_EQ(dynamic_cast<KaParSystem&>(object("sparks")).Count(), 10);

    scripts->RestoreScene();
    auto& back = dynamic_cast<KaParSystem&>(object("sparks"));
    EXPECT_EQ(back.Count(), 4);
    EXPECT_EQ(back.MinLife, 100.0f);
    EXPECT_EQ(back.SizeAdd, 0.5f);
    EXPECT_EQ(back.Color, (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_EQ(back.TextureName, "spark.png");
    EXPECT_EQ(back.ParentName, "lamp");
    EXPECT_THAT(object("lamp").Children, ElementsAre("sparks"));
    document->Undo();
    EXPECT_EQ(dynamic_cast<KaParSystem&>(object("sparks")).Count(), 10);
}

TEST_F(ScriptWorkspaceTest, ANewSceneForgetsWhatTheOldScenesScriptsChanged)
{
    add<KaGeometry>("box");
    scripts->AddScript("walk");
    scripts->Compile({"0 move box (1;0;0) t:1"});
    scripts->Play();
    run(200);
    document->SceneReplaced("", false);
    scripts->Tick();
    EXPECT_FALSE(scripts->CanRestoreScene());
}

TEST_F(ScriptWorkspaceTest, ObjectsNamedWithADotAreRememberedInEitherForm)
{
    add<KaGeometry>("box.1");
    add<KaGeometry>("box,2");
    scripts->AddScript("walk");
    scripts->Compile({"0 move box.1 (1;0;0) t:1", "0 move box.2 (1;0;0) t:1"});
    const std::vector<std::string> names = ScriptObjectNames(*AnimList->Find("walk"));
    EXPECT_THAT(names, ElementsAre("box,1", "box.1", "box,2", "box.2"));
}

} // namespace
} // namespace ra7::editor
