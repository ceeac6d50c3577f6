// The Properties page's edits: every control writes only its own field,
// the scales and ranges of the bars, min/max ordering, unending lives, the
// particle count, the typed names, and undo of each.

#include "core/PropertyEdits.h"
#include "core/EditorDocument.h"
#include "core/PropertyFields.h"
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"
#include "engine/SceneTestSupport.h"
#include "resources/Ka7MaterialList.h"
#include "runtime/Errors.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"

#include <gmock/gmock.h>

#include <map>

namespace ra7::editor {
namespace {

using ::testing::ElementsAre;

// Every bar of a kind, ranges and colours included.
std::vector<const BarField*> barsOf(KaObjKind kind)
{
    std::vector<const BarField*> bars;
    auto colour = [&](const ColourFields& fields) {
        for (const BarField& part : fields.parts)
            bars.push_back(&part);
    };
    switch (kind) {
    case KaObjKind::Sprite:
        for (const SpriteLayerFields& layer : SpriteLayers()) {
            bars.push_back(&layer.size);
            colour(layer.colour);
        }
        break;
    case KaObjKind::Light:
        for (const ColourFields& fields : LightColours())
            colour(fields);
        bars.push_back(&LightRangeField());
        break;
    case KaObjKind::Camera:
        bars.push_back(&CameraFovField());
        break;
    case KaObjKind::ParSystem:
        for (const RangeFields& range : ParticleRanges()) {
            bars.push_back(&range.min);
            bars.push_back(&range.max);
        }
        bars.push_back(&ParticleSpreadField());
        bars.push_back(&ParticleSizeAddField());
        colour(ParticleColourField());
        break;
    default:
        break;
    }
    return bars;
}

const RangeFields* rangeOf(const BarField& bar)
{
    for (const RangeFields& range : ParticleRanges())
        if (&bar == &range.min || &bar == &range.max)
            return &range;
    return nullptr;
}

class PropertyEdits : public ra7::test::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        document = std::make_unique<EditorDocument>(scene());
    }
    void TearDown() override
    {
        document.reset();
        Materials.reset();
        LensFlares.reset();
        SceneTest::TearDown();
    }
    void run(std::unique_ptr<EditorCommand> command) { document->Execute(std::move(command)); }
    std::map<std::string, float> valuesOf(const KaSceneObj& object)
    {
        std::map<std::string, float> values;
        for (const BarField* bar : barsOf(object.Kind()))
            values[std::string(bar->id)] = bar->read(object);
        return values;
    }

    std::unique_ptr<EditorDocument> document;
};

// Moving one bar used to write every bar of the panel back, clamping values
// the bars cannot show (a range of 2000, a colour of 1.5, −128 lifetimes).
TEST_F(PropertyEdits, EveryBarWritesOnlyItsOwnFieldAndLeavesOutOfRangeValuesAlone)
{
    add<KaSprite>("sprite");
    add<KaLight>("light");
    add<KaCamera>("camera");
    add<KaParSystem>("smoke", 3);
    for (const char* name : {"sprite", "light", "camera", "smoke"}) {
        KaSceneObj& object = *scene().FindByName(name);
        const std::vector<const BarField*> bars = barsOf(object.Kind());
        ASSERT_FALSE(bars.empty());
        for (const BarField* bar : bars)
            bar->write(object, 7777); // beyond every bar's range
        for (const BarField* bar : bars) {
            const std::int32_t position = (bar->bar.min + bar->bar.max) / 2;
            std::map<std::string, float> expected = valuesOf(object);
            expected[std::string(bar->id)] = bar->bar.Value(position);
            document->BreakMerge();
            if (const RangeFields* range = rangeOf(*bar)) {
                const bool maximum = bar == &range->max;
                const RangeValues moved = MoveRangeBar({range->min.read(object), range->max.read(object)},
                                                       maximum, bar->bar.Value(position));
                expected[std::string(range->min.id)] = moved.min;
                expected[std::string(range->max.id)] = moved.max;
                run(RangeEdit(scene(), name, *range, maximum, position));
            } else {
                run(BarEdit(scene(), name, *bar, position));
            }
            EXPECT_EQ(valuesOf(object), expected) << name << " " << bar->id;
        }
    }
}

TEST_F(PropertyEdits, BarScalesReachTheDescribedValues)
{
    auto& sprite = add<KaSprite>("sprite");
    auto& light = add<KaLight>("light");
    auto& camera = add<KaCamera>("camera");
    auto& smoke = add<KaParSystem>("smoke", 3);
    run(BarEdit(scene(), "sprite", SpriteLayers()[0].size, 600));
    EXPECT_EQ(sprite.Size1, 120.0f);
    run(BarEdit(scene(), "light", LightColours()[1].parts[0], 200));
    EXPECT_EQ(light.Diffuse[0], 2.0f);
    EXPECT_EQ(PreviewOf(LightColours()[1], light).red, 255);
    run(BarEdit(scene(), "light", LightRangeField(), 1000));
    EXPECT_EQ(light.LightParams[0], 1000.0f);
    run(BarEdit(scene(), "camera", CameraFovField(), 180));
    EXPECT_EQ(camera.Fov, 180);
    run(BarEdit(scene(), "smoke", ParticleSizeAddField(), -400));
    EXPECT_EQ(smoke.SizeAdd, -0.4f);
    run(BarEdit(scene(), "smoke", ParticleSpreadField(), 1000));
    EXPECT_EQ(smoke.Spread, 10.0f);
    // A position past the range (a key held at the end) stops at its end.
    run(BarEdit(scene(), "camera", CameraFovField(), 500));
    EXPECT_EQ(camera.Fov, 180);
}

TEST_F(PropertyEdits, ABarShowsRoundedPositionsAndPinsWhatItCannotShow)
{
    const BarField& colour = SpriteLayers()[0].colour.parts[0];
    EXPECT_EQ(colour.bar.Position(0.7f), 70); // truncation gave 69 and wrote 0.69 back
    EXPECT_EQ(colour.bar.Position(1.5f), 100);
    EXPECT_EQ(colour.bar.Position(-0.3f), 0);
    const BarField& fov = CameraFovField();
    EXPECT_EQ(fov.bar.Position(0), 1);
}

TEST_F(PropertyEdits, PreviewsHoldNegativeAndHugeComponentsToTheByteRange)
{
    auto& smoke = add<KaParSystem>("smoke", 1);
    smoke.Color = {-0.5f, 9.0f, 1.0f, 1.0f}; // "paraddcolor" and files can give these
    EXPECT_EQ(PreviewOf(ParticleColourField(), smoke), (PreviewRgb{0, 255, 128}));
}

TEST_F(PropertyEdits, ADraggedBarIsOneStepAndTheNextDragAnother)
{
    auto& sprite = add<KaSprite>("sprite");
    for (std::int32_t position : {10, 20, 30, 40})
        run(BarEdit(scene(), "sprite", SpriteLayers()[1].size, position));
    document->BreakMerge();
    run(BarEdit(scene(), "sprite", SpriteLayers()[1].size, 100));
    EXPECT_EQ(sprite.Size2, 20.0f);
    document->Undo();
    EXPECT_EQ(sprite.Size2, 8.0f);
    document->Undo();
    EXPECT_EQ(sprite.Size2, 5.0f);
    EXPECT_FALSE(document->CanUndo());
}

TEST_F(PropertyEdits, MinimumStopsAtTheMaximumAndAMaximumTakesTheMinimumDown)
{
    auto& smoke = add<KaParSystem>("smoke", 1);
    const RangeFields& speed = ParticleRanges()[1];
    run(RangeEdit(scene(), "smoke", speed, false, 400)); // MinSpeed 4.0 above MaxSpeed 2.0
    EXPECT_EQ(smoke.MinSpeed, 2.0f);
    EXPECT_EQ(smoke.MaxSpeed, 2.0f);
    document->BreakMerge();
    run(RangeEdit(scene(), "smoke", speed, true, 50)); // MaxSpeed 0.5 below MinSpeed 2.0
    EXPECT_EQ(smoke.MinSpeed, 0.5f);
    EXPECT_EQ(smoke.MaxSpeed, 0.5f);
    document->Undo();
    EXPECT_EQ(smoke.MinSpeed, 2.0f);
    EXPECT_EQ(smoke.MaxSpeed, 2.0f);
    document->Undo();
    EXPECT_EQ(smoke.MinSpeed, 0.2f);

    // Within order a bar moves its own end only.
    run(RangeEdit(scene(), "smoke", ParticleRanges()[2], true, 4000));
    EXPECT_EQ(smoke.MinSize, 0.5f);
    EXPECT_EQ(smoke.MaxSize, 80.0f);
}

TEST(RangeRule, MovingOneEndKeepsTheRangeOrdered)
{
    EXPECT_EQ(MoveRangeBar({1, 5}, false, 3), (RangeValues{3, 5}));
    EXPECT_EQ(MoveRangeBar({1, 5}, false, 9), (RangeValues{5, 5}));
    EXPECT_EQ(MoveRangeBar({1, 5}, true, 0.5f), (RangeValues{0.5f, 0.5f}));
    EXPECT_EQ(MoveRangeBar({1, 5}, true, 7), (RangeValues{1, 7}));
}

// Unticking "Безсмертны" used to write the bars' pinned positions back:
// lifetimes of 1 millisecond.
TEST_F(PropertyEdits, UnendingLivesGiveTheFormerLifetimesBackWhenUnticked)
{
    auto& smoke = add<KaParSystem>("smoke", 1);
    smoke.MinLife = 700;
    smoke.MaxLife = 1500;
    UnendingLifeMemory memory;
    run(UnendingLifeEdit(scene(), "smoke", true, memory));
    EXPECT_EQ(smoke.MinLife, kUnendingLife);
    EXPECT_EQ(smoke.MaxLife, kUnendingLife);
    EXPECT_TRUE(HasUnendingLives(smoke));
    run(UnendingLifeEdit(scene(), "smoke", false, memory));
    EXPECT_EQ(smoke.MinLife, 700);
    EXPECT_EQ(smoke.MaxLife, 1500);
    document->Undo();
    EXPECT_EQ(smoke.MaxLife, kUnendingLife);
    document->Undo();
    EXPECT_EQ(smoke.MinLife, 700);

    // A system that came unending from a file gets a new system's lifetimes.
    auto& dust = add<KaParSystem>("dust", 1);
    dust.MinLife = dust.MaxLife = kUnendingLife;
    run(UnendingLifeEdit(scene(), "dust", false, memory));
    EXPECT_EQ(dust.MinLife, 500);
    EXPECT_EQ(dust.MaxLife, 2000);
}

TEST_F(PropertyEdits, ANewParticleCountKeepsEverySettingAndUndoGivesTheOldCount)
{
    auto& parent = add<KaGeometry>("parent");
    auto& smoke = add<KaParSystem>("smoke", 10);
    parent.AddChild(smoke);
    smoke.SizeAdd = 0.125f;
    smoke.Spread = 3;
    run(ParticleCountEdit(scene(), "smoke", 40));
    auto* rebuilt = static_cast<KaParSystem*>(scene().FindByName("smoke"));
    EXPECT_EQ(rebuilt->Count(), 40);
    EXPECT_EQ(rebuilt->SizeAdd, 0.125f);
    EXPECT_EQ(rebuilt->Spread, 3);
    EXPECT_EQ(rebuilt->ParentName, "parent");
    EXPECT_THAT(names(), ElementsAre("parent", "smoke"));
    document->Undo();
    rebuilt = static_cast<KaParSystem*>(scene().FindByName("smoke"));
    EXPECT_EQ(rebuilt->Count(), 10);
    EXPECT_EQ(rebuilt->SizeAdd, 0.125f);
    EXPECT_THAT(parent.Children, ElementsAre("smoke"));
}

TEST_F(PropertyEdits, StaticMovesTheObjectToItsStaticRenderList)
{
    add<KaGeometry>("box");
    ASSERT_THAT(scene().GeomList, ElementsAre(0));
    run(FlagEdit(scene(), "box", StaticField(), true));
    EXPECT_TRUE(scene().GeomList.empty());
    EXPECT_THAT(scene().StaticGeomList, ElementsAre(0));
    document->Undo();
    EXPECT_THAT(scene().GeomList, ElementsAre(0));
}

TEST_F(PropertyEdits, FlagsAndSpaceDustWriteTheirFlagOnly)
{
    auto& sprite = add<KaSprite>("sprite");
    auto& smoke = add<KaParSystem>("smoke", 1);
    run(FlagEdit(scene(), "sprite", SpriteFlags()[1], true));
    EXPECT_EQ(sprite.AlwaysRendered, 1);
    EXPECT_EQ(sprite.ZTest, 0);
    run(FlagEdit(scene(), "smoke", SpaceDustField(), true));
    EXPECT_EQ(smoke.SpaceDust, 1);
    EXPECT_EQ(smoke.OnSpawn, &SpaceDustSpawn);
    document->Undo();
    EXPECT_EQ(smoke.SpaceDust, 0);
    EXPECT_EQ(smoke.OnMove, nullptr);
}

TEST_F(PropertyEdits, AnEditOfAnObjectThatIsGoneOrOfAnotherKindChangesNothing)
{
    add<KaLight>("lamp");
    EXPECT_THROW(BarEdit(scene(), "ghost", LightRangeField(), 5), Error);
    EXPECT_THROW(BarEdit(scene(), "lamp", CameraFovField(), 5), Error);
    // The object is replaced by one of another kind after the edit was made.
    auto command = BarEdit(scene(), "lamp", LightRangeField(), 5);
    scene().DeleteByName("lamp");
    add<KaCamera>("lamp");
    EXPECT_THROW(document->Execute(std::move(command)), Error);
    EXPECT_FALSE(document->CanUndo());
    EXPECT_EQ(static_cast<KaCamera*>(scene().FindByName("lamp"))->Fov, 60);
}

TEST_F(PropertyEdits, TypedNamesMustBeInTheirListsButEmptyClears)
{
    Materials = std::make_unique<KaMaterialList>();
    Materials->Add(std::make_unique<KaMaterial>(test::material("stone", false)));
    LensFlares = std::make_unique<KaLensFlareList>();
    KaLensFlare flare;
    flare.Name = "sunflare";
    LensFlares->AddCopy(flare);
    EXPECT_FALSE(MaterialNameProblem("stone"));
    EXPECT_FALSE(MaterialNameProblem(""));
    EXPECT_TRUE(MaterialNameProblem("Stone")); // names are exact
    EXPECT_FALSE(FlareNameProblem("sunflare"));
    EXPECT_FALSE(FlareNameProblem(""));
    EXPECT_EQ(FlareNameProblem("sunflair"), "Неверно набранное имя!");
}

TEST_F(PropertyEdits, AMaterialChangeMovesTheGeometryBetweenOpaqueAndBlendLists)
{
    Materials = std::make_unique<KaMaterialList>();
    Materials->Add(std::make_unique<KaMaterial>(test::material("glass", true)));
    scene().SetMaterialCatalog(Materials.get());
    auto& window = add<KaGeometry>("window");
    run(NameEdit(scene(), "window", GeometryMaterialField(), "glass"));
    EXPECT_EQ(window.MaterialName, "glass");
    EXPECT_THAT(scene().BlendGeomList, ElementsAre(0));
    document->Undo();
    EXPECT_EQ(window.MaterialName, "");
    EXPECT_THAT(scene().GeomList, ElementsAre(0));
    scene().SetMaterialCatalog(nullptr);
}

TEST_F(PropertyEdits, TypedNumbersWriteOneComponent)
{
    auto& smoke = add<KaParSystem>("smoke", 1);
    run(TypedEdit(scene(), "smoke", ParticleDirectionFields()[1], -2.5f));
    EXPECT_EQ(smoke.EmitDirection, (Vector3{0, -2.5f, 1}));
    auto& sprite = add<KaSprite>("sprite");
    run(TypedEdit(scene(), "sprite", SpriteViewRangeField(), 0));
    EXPECT_EQ(sprite.ViewRange, 0);
    EXPECT_FALSE(ParseTypedNumber("-1", SpriteViewRangeField().limits));
}

} // namespace
} // namespace ra7::editor
