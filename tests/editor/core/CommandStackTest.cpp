// The undo history: steps, merging of small edits, gestures, failures and
// the modified mark.

#include "core/EditorDocument.h"
#include "core/ObjectCommands.h"
#include "engine/SceneTestSupport.h"
#include "runtime/Errors.h"
#include "scene/Ka7SceneGeom.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace ra7::editor {
namespace {

class History : public ra7::test::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        box = &add<KaGeometry>("box");
        document = std::make_unique<EditorDocument>(scene());
    }

    // Sets x of the object as one edit; successive edits merge.
    void setX(float x, const std::string& name = "box")
    {
        // Looked up by name: the object may have been deleted, and the edit must then fail.
        const KaSceneObj* object = scene().FindByName(name);
        const float before = object ? object->Trans->Position.x : 0.0f;
        document->Execute(std::make_unique<SetValueCommand<float>>(
            "Позиция x", name + ".x", before, x,
            [this, name](const float& value) { ObjectNamed(scene(), name).Trans->Position.x = value; }));
    }

    KaGeometry* box = nullptr;
    std::unique_ptr<EditorDocument> document;
};

TEST_F(History, EditsOfOneThingMergeUntilTheMergeIsBroken)
{
    setX(1);
    setX(2);
    setX(3); // one dragged bar: one step
    document->BreakMerge();
    setX(4);
    EXPECT_EQ(box->Trans->Position.x, 4);
    document->Undo();
    EXPECT_EQ(box->Trans->Position.x, 3);
    document->Undo();
    EXPECT_EQ(box->Trans->Position.x, 0);
    EXPECT_FALSE(document->CanUndo());
    document->Redo();
    document->Redo();
    EXPECT_EQ(box->Trans->Position.x, 4);
    EXPECT_FALSE(document->CanRedo());
}

TEST_F(History, AGestureIsOneStepAndCancellingItPutsEverythingBack)
{
    document->BeginGesture("Перемещение box");
    setX(5);
    document->Execute(std::make_unique<RenameObjectCommand>(*document, "box", "crate"));
    document->CommitGesture();
    EXPECT_EQ(document->UndoLabel(), "Перемещение box");
    document->Undo();
    EXPECT_EQ(scene().FindByName("box"), box);
    EXPECT_EQ(box->Trans->Position.x, 0);
    document->Redo();
    EXPECT_EQ(scene().FindByName("crate"), box);
    EXPECT_EQ(box->Trans->Position.x, 5);

    document->BeginGesture("Перемещение crate");
    setX(7, "crate");
    setX(9, "crate");
    document->CancelGesture(); // Escape during the drag
    EXPECT_EQ(box->Trans->Position.x, 5);
    EXPECT_EQ(document->UndoLabel(), "Перемещение box");
    document->BeginGesture("Пустой жест");
    document->CommitGesture(); // a press without a move records nothing
    EXPECT_EQ(document->UndoLabel(), "Перемещение box");
}

TEST_F(History, AFailingEditIsReportedAndRecordsNothing)
{
    setX(1);
    auto failing = std::make_unique<FunctionCommand>(
        "Сломанная правка", [] { throw Error("нельзя"); }, [] {});
    EXPECT_THROW(document->Execute(std::move(failing)), Error);
    EXPECT_EQ(document->UndoLabel(), "Позиция x");
    // The edit of a deleted object fails in the same way instead of touching freed memory.
    scene().DeleteByName("box");
    EXPECT_THROW(setX(2), Error);
    EXPECT_TRUE(test::logHas("! Позиция x: Объект <box> не найден"));
}

TEST_F(History, TheModifiedMarkFollowsTheSavedStateThroughUndoAndRedo)
{
    EXPECT_FALSE(document->Modified());
    setX(1);
    EXPECT_TRUE(document->Modified());
    document->MarkSaved("level.kgf");
    EXPECT_FALSE(document->Modified());
    document->BreakMerge();
    setX(2);
    EXPECT_TRUE(document->Modified());
    document->Undo(); // back at the saved state
    EXPECT_FALSE(document->Modified());
    document->Undo();
    EXPECT_TRUE(document->Modified());
    document->Redo();
    EXPECT_FALSE(document->Modified());
    setX(8); // a new edit after an undo drops the redo step
    EXPECT_FALSE(document->CanRedo());
    EXPECT_TRUE(document->Modified());
    // A merge into the saved step changes the state too.
    document->MarkSaved("level.kgf");
    setX(9);
    EXPECT_TRUE(document->Modified());
    document->SceneReplaced("other.kgf", false);
    EXPECT_FALSE(document->CanUndo());
    EXPECT_FALSE(document->Modified());
    EXPECT_EQ(document->FileName(), "other.kgf");
}

TEST_F(History, ListenersHearOnceWhatChangedAndEachStepIsLogged)
{
    std::vector<ChangeSet> heard;
    document->Listen([&](ChangeSet changes) { heard.push_back(changes); });
    document->Execute(std::make_unique<RenameObjectCommand>(*document, "box", "crate"));
    ASSERT_FALSE(heard.empty());
    ChangeSet all = 0;
    for (ChangeSet changes : heard)
        all |= changes;
    EXPECT_TRUE(Has(all, DocChange::Objects)); // the tree must be rebuilt
    EXPECT_TRUE(Has(all, DocChange::History));
    EXPECT_TRUE(test::logHas(EditorDocument::DoneLine("Переименовать box в crate")));
    document->Undo();
    EXPECT_TRUE(test::logHas(EditorDocument::UndoneLine("Переименовать box в crate")));
    document->Redo();
    EXPECT_TRUE(test::logHas(EditorDocument::RedoneLine("Переименовать box в crate")));
}

} // namespace
} // namespace ra7::editor
