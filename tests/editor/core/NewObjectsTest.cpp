// Adding objects: unique default names, one undoable step per object, the
// selection following, and the particle count question's answers.

#include "core/NewObjects.h"
#include "core/EditorDocument.h"
#include "effects/Ka7ParSystem.h"
#include "engine/SceneTestSupport.h"
#include "scene/Ka7Camera.h"
#include "scene/SceneFile.h"

#include <gmock/gmock.h>

namespace ra7::editor {
namespace {

using ::testing::ElementsAre;

class NewObjects : public ra7::test::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        document = std::make_unique<EditorDocument>(scene());
    }
    void TearDown() override
    {
        document.reset();
        SceneTest::TearDown();
    }

    std::unique_ptr<EditorDocument> document;
};

TEST_F(NewObjects, ThreeSpritesInARowAreNamedApartAndTheLastIsSelected)
{
    for (int i = 0; i < 3; ++i)
        AddNewObject(*document, NewObjectKind::Sprite);
    EXPECT_THAT(names(), ElementsAre("spr1", "spr1_1", "spr1_2"));
    EXPECT_THAT(document->Selection().Names(), ElementsAre("spr1_2"));
    EXPECT_TRUE(test::logHas("Спрайт добавлен..."));
}

TEST_F(NewObjects, EachKindIsOneStepThatUndoTakesBackWithTheSelection)
{
    add<KaParSystem>("smoke", 1);
    document->Select({"smoke"});
    std::string before = "smoke";
    for (const NewObjectKind kind : kNewObjectKinds) {
        const std::string name = AddNewObject(*document, kind, 5);
        ASSERT_NE(scene().FindByName(name), nullptr) << name;
        EXPECT_EQ(document->Selection().SelectedName(), name);
        EXPECT_TRUE(test::logHas(std::string(TextsOf(kind).added)));
        document->Undo();
        EXPECT_EQ(scene().FindByName(name), nullptr) << name;
        EXPECT_EQ(document->Selection().SelectedName(), before);
        document->Redo();
        EXPECT_NE(scene().FindByName(name), nullptr) << name;
        EXPECT_EQ(document->Selection().SelectedName(), name);
        before = name;
    }
    EXPECT_THAT(names(), ElementsAre("smoke", "spr1", "lig1", "Geom1", "par1", "Sound", "cam1"));
}

TEST_F(NewObjects, AParticleSystemGetsTheCountAndANewCameraBecomesActiveWhenNoneIs)
{
    const std::string system = AddNewObject(*document, NewObjectKind::ParSystem, 250);
    EXPECT_EQ(static_cast<KaParSystem*>(scene().FindByName(system))->Count(), 250);
    const std::string camera = AddNewObject(*document, NewObjectKind::Camera);
    EXPECT_EQ(ActiveCameraName, camera);
    document->Undo();
    EXPECT_EQ(ActiveCameraName, "");
}

TEST_F(NewObjects, MenuAndPageShowTheKindsInTheSameOrder)
{
    std::vector<std::string> menu;
    for (const NewObjectKind kind : kNewObjectKinds)
        menu.emplace_back(TextsOf(kind).menuItem);
    EXPECT_THAT(menu, ElementsAre("Спрайт", "Источник света", "Геометрию", "Систему частиц", "Источник звука",
                                  "Камеру"));
}

TEST(ParticleCountAnswer, ZeroOrNothingAddsNothingWithoutComplaint)
{
    for (const char* answer : {"", "0", "  0 ", "   "}) {
        const ParticleCountAnswer parsed = ParseParticleCount(answer);
        EXPECT_FALSE(parsed.count) << answer;
        EXPECT_FALSE(parsed.problem) << answer;
    }
}

TEST(ParticleCountAnswer, CountsFromOneToTheFileLimitAreTaken)
{
    EXPECT_EQ(ParseParticleCount("1").count, 1);
    EXPECT_EQ(ParseParticleCount(" 250 ").count, 250);
    EXPECT_EQ(ParseParticleCount(std::to_string(kMaxParticleCount)).count, kMaxParticleCount);
}

// A negative count used to reach the constructor (a vector length error) and
// a huge one exhausted memory.
TEST(ParticleCountAnswer, NegativeHugeAndNonIntegerAnswersAreRefusedWithAReason)
{
    for (const std::string& answer :
         {std::string("-5"), std::to_string(kMaxParticleCount + 1), std::string("2000000000"),
          std::string("99999999999"), std::string("abc"), std::string("1.5"), std::string("12 частиц")}) {
        const ParticleCountAnswer parsed = ParseParticleCount(answer);
        EXPECT_FALSE(parsed.count) << answer;
        ASSERT_TRUE(parsed.problem) << answer;
        EXPECT_THAT(*parsed.problem, ::testing::HasSubstr(std::to_string(kMaxParticleCount)));
    }
}

} // namespace
} // namespace ra7::editor
