// The Materials page's rules through the document: renaming with the
// geometry that follows, refused names, adding and deleting with exact
// undo, assignment to geometry only, and the controls that write one field
// each with their clamps and fallbacks.

#include "core/EditorDocument.h"
#include "core/MaterialCommands.h"
#include "core/MaterialPageModel.h"
#include "effects/Ka7Light.h"
#include "engine/SceneTestSupport.h"
#include "resources/Ka7MaterialList.h"
#include "runtime/FileIO.h"
#include "scene/Ka7SceneGeom.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cstring>

namespace ra7::editor {

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

bool sameMaterial(const KaMaterial& a, const KaMaterial& b)
{
    return a.Name == b.Name && a.Colour == b.Colour && a.Blend == b.Blend &&
           a.WorldAmbient == b.WorldAmbient && a.Ambient == b.Ambient && a.Diffuse == b.Diffuse &&
           a.Specular == b.Specular && a.Shininess == b.Shininess &&
           std::memcmp(&a.AlphaRef, &b.AlphaRef, sizeof(float)) == 0 && a.TwoSided == b.TwoSided &&
           a.FragmentShader == b.FragmentShader && a.VertexShader == b.VertexShader &&
           a.Textures == b.Textures && a.SelfIllumination == b.SelfIllumination;
}

class MaterialPage : public test::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        Materials = std::make_unique<KaMaterialList>();
        scene().SetMaterialCatalog(Materials.get());
        document = std::make_unique<EditorDocument>(scene());
        model = std::make_unique<MaterialPageModel>(*document);
    }
    void TearDown() override
    {
        model.reset();
        document.reset();
        scene().SetMaterialCatalog(nullptr);
        Materials.reset();
        SceneTest::TearDown();
    }

    KaMaterial& addMaterial(const std::string& name, bool blend = false)
    {
        return *Materials->AddCopy(test::material(name, blend));
    }
    KaGeometry& geometry(const std::string& name, const std::string& material, bool isStatic = false)
    {
        KaGeometry& made = add<KaGeometry>(name);
        made.MaterialName = material;
        made.Static = isStatic;
        scene().RebuildLists();
        return made;
    }
    std::vector<std::string> materialNames() const { return model->Names(); }
    static bool listed(const std::vector<std::int32_t>& list, std::int32_t index)
    {
        return std::find(list.begin(), list.end(), index) != list.end();
    }
    static std::string materialOf(const std::string& object)
    {
        return static_cast<KaGeometry*>(SceneObjects->FindByName(object))->MaterialName;
    }

    std::unique_ptr<EditorDocument> document;
    std::unique_ptr<MaterialPageModel> model;
};

// --- renaming --------------------------------------------------------------------

TEST_F(MaterialPage, RenamingFollowsOpaqueTransparentAndStaticGeometryAndUndoes)
{
    addMaterial("wood");
    addMaterial("glass", true);
    geometry("table", "wood");
    geometry("floor", "wood", true);
    geometry("window", "glass");
    geometry("rock", "stone_missing", true);

    model->Select("wood");
    EXPECT_EQ(model->Rename("oak"), std::nullopt);
    model->Select("glass");
    EXPECT_EQ(model->Rename(" crystal "), std::nullopt); // trimmed
    EXPECT_EQ(materialOf("table"), "oak");
    EXPECT_EQ(materialOf("floor"), "oak");
    EXPECT_EQ(materialOf("window"), "crystal");
    EXPECT_EQ(materialOf("rock"), "stone_missing");
    EXPECT_EQ(model->Selected(), "crystal");
    EXPECT_TRUE(listed(scene().BlendGeomList, scene().IndexOfName("window")));
    EXPECT_EQ(document->UndoLabel(), "Переименовать материал glass в crystal");

    document->Undo();
    document->Undo();
    EXPECT_THAT(materialNames(), ElementsAre("wood", "glass"));
    EXPECT_EQ(materialOf("table"), "wood");
    EXPECT_EQ(materialOf("floor"), "wood");
    EXPECT_EQ(materialOf("window"), "glass");
    // The page follows its material back to its old name by the slot.
    model->Reconcile();
    EXPECT_EQ(model->Selected(), "glass");
}

TEST_F(MaterialPage, UndoingARenameLeavesGeometryThatAlreadyNamedTheNewName)
{
    addMaterial("wood");
    geometry("table", "wood");
    // Static geometry keeps a name that no material has yet.
    geometry("plinth", "oak", true);
    model->Select("wood");
    ASSERT_EQ(model->Rename("oak"), std::nullopt);
    document->Undo();
    EXPECT_EQ(materialOf("table"), "wood");
    EXPECT_EQ(materialOf("plinth"), "oak");
}

TEST_F(MaterialPage, RenamingRefusesTakenEmptyUnencodableAndOverlongNames)
{
    addMaterial("wood");
    addMaterial("glass");
    geometry("table", "wood");
    model->Select("wood");
    for (const std::string& name : {std::string("glass"), std::string(""), std::string("   "),
                                    std::string("木材"), std::string(256, 'a')}) {
        const EditOutcome refused = model->Rename(name);
        ASSERT_TRUE(refused.has_value()) << name;
        EXPECT_THAT(refused->text, HasSubstr("осталось wood")) << name;
    }
    EXPECT_THAT(model->Rename("glass")->text, HasSubstr("Материал <glass> уже есть"));
    EXPECT_THAT(materialNames(), ElementsAre("wood", "glass"));
    EXPECT_EQ(materialOf("table"), "wood");
    EXPECT_FALSE(document->CanUndo());
    // 255 bytes still fit a record's string.
    EXPECT_EQ(model->Rename(std::string(255, 'a')), std::nullopt);
}

// --- adding and deleting -------------------------------------------------------------

TEST_F(MaterialPage, AddingRefusesTakenAndEmptyNamesAndSelectsTheNewMaterial)
{
    addMaterial("Mat1");
    addMaterial("wood");
    model->Select("wood");
    EXPECT_EQ(model->NewMaterialName(), "Mat1_1");

    EXPECT_THAT(model->Add("Mat1")->text, HasSubstr("Материал <Mat1> уже есть"));
    EXPECT_TRUE(model->Add("  ").has_value());
    EXPECT_THAT(materialNames(), ElementsAre("Mat1", "wood"));
    EXPECT_EQ(model->Selected(), "wood"); // a refusal never moves the user to another material
    EXPECT_FALSE(document->CanUndo());

    ASSERT_EQ(model->Add("Mat1_1"), std::nullopt);
    EXPECT_THAT(materialNames(), ElementsAre("Mat1", "wood", "Mat1_1"));
    EXPECT_EQ(model->Selected(), "Mat1_1");
    EXPECT_TRUE(sameMaterial(*model->Material(), [] {
        KaMaterial fresh;
        fresh.Name = "Mat1_1";
        return fresh;
    }()));
    document->Undo();
    EXPECT_THAT(materialNames(), ElementsAre("Mat1", "wood"));
    document->Redo();
    EXPECT_THAT(materialNames(), ElementsAre("Mat1", "wood", "Mat1_1"));
}

TEST_F(MaterialPage, DeletingFallsBackAndUndoPutsTheSlotAndTheGeometryBack)
{
    for (const char* name : {"a", "b", "c", "d"})
        addMaterial(name, std::string(name) == "b");
    geometry("window", "b");
    geometry("wall", "b", true);
    ASSERT_TRUE(listed(scene().BlendGeomList, scene().IndexOfName("window")));

    model->Select("b");
    model->Delete();
    EXPECT_THAT(materialNames(), ElementsAre("a", "d", "c")); // the last moved into the gap
    EXPECT_EQ(model->Selected(), "c");
    // The window is drawn without a material now, among the opaque geometry.
    EXPECT_EQ(Materials->Find(materialOf("window")), nullptr);
    EXPECT_TRUE(listed(scene().GeomList, scene().IndexOfName("window")));
    EXPECT_FALSE(listed(scene().BlendGeomList, scene().IndexOfName("window")));

    document->Undo();
    EXPECT_THAT(materialNames(), ElementsAre("a", "b", "c", "d"));
    EXPECT_EQ(materialOf("window"), "b");
    EXPECT_EQ(materialOf("wall"), "b");
    EXPECT_TRUE(listed(scene().BlendGeomList, scene().IndexOfName("window")));
    document->Redo();
    EXPECT_THAT(materialNames(), ElementsAre("a", "d", "c"));
}

// --- assigning -------------------------------------------------------------------------

TEST_F(MaterialPage, AssigningGoesToTheSelectedGeometryOnly)
{
    addMaterial("wood");
    addMaterial("glass", true);
    geometry("table", "wood");
    geometry("chair", "");
    geometry("shelf", "wood");
    add<KaLight>("lamp");
    document->Select({"table", "lamp", "chair"});

    model->Select("glass");
    ASSERT_EQ(model->AssignToSelection(), std::nullopt);
    EXPECT_EQ(materialOf("table"), "glass");
    EXPECT_EQ(materialOf("chair"), "glass");
    EXPECT_EQ(materialOf("shelf"), "wood");
    EXPECT_TRUE(listed(scene().BlendGeomList, scene().IndexOfName("chair")));
    EXPECT_EQ(document->UndoLabel(), "Назначить материал glass");

    document->Undo();
    EXPECT_EQ(materialOf("table"), "wood");
    EXPECT_EQ(materialOf("chair"), "");
    EXPECT_TRUE(listed(scene().GeomList, scene().IndexOfName("chair")));

    document->Select({"lamp"});
    EXPECT_THAT(model->AssignToSelection()->text, HasSubstr("Выделите в дереве геометрию"));
    EXPECT_TRUE(document->CanRedo()); // a refusal runs no command, so the redo is still there
}

TEST_F(MaterialPage, GoingToTheMaterialOfAGeometrySelectsItOrNothing)
{
    addMaterial("wood");
    geometry("table", "wood");
    geometry("bare", "");
    add<KaLight>("lamp");
    model->GoToMaterialOf("table");
    EXPECT_EQ(model->Selected(), "wood");
    model->GoToMaterialOf("bare");
    EXPECT_EQ(model->Selected(), "");
    // With nothing selected on the page, the tree's geometry lends its material.
    document->Select({"table"});
    model->Reconcile();
    EXPECT_EQ(model->Selected(), "wood");
}

// --- one field per control ---------------------------------------------------------------

TEST_F(MaterialPage, AColourBarWritesOnlyItsComponentAndADragIsOneStep)
{
    KaMaterial& m = addMaterial("wood");
    m.Shininess = 200; // as the converter leaves it
    m.AlphaRef = 0.1234567f;
    m.Diffuse = {2.5f, 0.3f, 0.3f, 1};
    m.Textures[0] = "textures\\wood.png";
    const KaMaterial before = m;
    model->Select("wood");

    model->MoveColourBar(MaterialColour::Ambient, 1, 150);
    model->MoveColourBar(MaterialColour::Ambient, 1, 151);
    model->MoveColourBar(MaterialColour::Ambient, 1, 37);
    KaMaterial expected = before;
    expected.Ambient[1] = 0.37f;
    EXPECT_TRUE(sameMaterial(m, expected));
    // A bar pinned at its end by a value beyond it keeps the value until it moves.
    model->MoveColourBar(MaterialColour::Diffuse, 0, 200);
    EXPECT_EQ(m.Diffuse[0], 2.5f);
    EXPECT_EQ(model->View().bars[3][0], 200);

    document->Undo(); // the three moves of one bar were one step
    EXPECT_TRUE(sameMaterial(m, before));
    EXPECT_FALSE(document->CanUndo());

    model->MoveColourBar(MaterialColour::Specular, 3, 10);
    document->BreakMerge();
    model->MoveColourBar(MaterialColour::Specular, 3, 20);
    document->Undo();
    EXPECT_FLOAT_EQ(m.Specular[3], 0.1f);
}

TEST_F(MaterialPage, EngineColourIsStoredAtOnceAndUntickingGivesTheColourBack)
{
    KaMaterial& m = addMaterial("wood");
    m.Colour = {0.2f, 0.3f, 0.5f, 1};
    model->Select("wood");
    model->SetEngineColour(true);
    EXPECT_EQ(m.Colour, kKeepColour);
    EXPECT_TRUE(model->View().engineColour);
    EXPECT_EQ(model->View().bars[0][2], 50);              // the bars keep showing the colour behind
    model->MoveColourBar(MaterialColour::Colour, 0, 100); // disabled bars write nothing
    EXPECT_EQ(m.Colour, kKeepColour);
    model->SetEngineColour(false);
    EXPECT_EQ(m.Colour, (KaColor{0.2f, 0.3f, 0.5f, 1}));
    document->Undo();
    EXPECT_EQ(m.Colour, kKeepColour);
    document->Undo();
    EXPECT_EQ(m.Colour, (KaColor{0.2f, 0.3f, 0.5f, 1}));

    // A material that came ticked gets the colour of a new material.
    KaMaterial& loaded = addMaterial("loaded");
    loaded.Colour = kKeepColour;
    model->Select("loaded");
    model->SetEngineColour(false);
    EXPECT_EQ(loaded.Colour, (KaColor{0.4f, 0.4f, 0.4f, 1}));
}

TEST_F(MaterialPage, ShininessIsClampedTo128AndBadTextKeepsTheValue)
{
    KaMaterial& m = addMaterial("wood");
    m.Shininess = 200;
    model->Select("wood");
    EXPECT_EQ(model->View().shininess, 128);
    EXPECT_EQ(m.Shininess, 200); // showing it changes nothing

    EXPECT_EQ(model->SetShininessText("500"), std::nullopt);
    EXPECT_EQ(m.Shininess, 128);
    EXPECT_EQ(model->SetShininessText("12,6"), std::nullopt);
    EXPECT_EQ(m.Shininess, 13);
    for (const char* bad : {"abc", "-3", "", "1e40"}) {
        const EditOutcome refused = model->SetShininessText(bad);
        ASSERT_TRUE(refused.has_value()) << bad;
        EXPECT_THAT(refused->text, HasSubstr("осталось 13"));
    }
    EXPECT_EQ(m.Shininess, 13);
}

TEST_F(MaterialPage, AlphaRangeTakesEitherSeparatorAndNeverFallsBackTo03)
{
    KaMaterial& m = addMaterial("wood");
    model->Select("wood");
    EXPECT_EQ(model->SetAlphaText("0,5"), std::nullopt);
    EXPECT_EQ(m.AlphaRef, 0.5f);
    EXPECT_TRUE(model->SetAlphaText("letters").has_value());
    EXPECT_TRUE(model->SetAlphaText("nan").has_value());
    EXPECT_EQ(m.AlphaRef, 0.5f);
    EXPECT_EQ(model->SetAlphaText("  "), std::nullopt); // empty: no alpha test
    EXPECT_EQ(m.AlphaRef, 0.0f);

    // The shown text reads back exactly: leaving the box unchanged writes nothing.
    m.AlphaRef = 0.1234567f;
    EXPECT_EQ(model->View().alphaText, "0.1234567");
    EXPECT_EQ(model->SetAlphaText(model->View().alphaText), std::nullopt);
    EXPECT_EQ(m.AlphaRef, 0.1234567f);
    document->Undo(); // the last step is still the emptied box
    EXPECT_EQ(m.AlphaRef, 0.5f);
    EXPECT_EQ(AlphaText(0.1234567f), "0.1234567");
    EXPECT_EQ(AlphaText(-0.0f), "0");
}

TEST_F(MaterialPage, TransparencyMovesGeometryBetweenRenderListsAndBack)
{
    addMaterial("glass");
    geometry("window", "glass");
    model->Select("glass");
    model->SetBlend(true);
    EXPECT_TRUE(listed(scene().BlendGeomList, scene().IndexOfName("window")));
    document->Undo();
    EXPECT_TRUE(listed(scene().GeomList, scene().IndexOfName("window")));
    EXPECT_FALSE(listed(scene().BlendGeomList, scene().IndexOfName("window")));
}

// --- shaders -------------------------------------------------------------------------------

bool glslProgram(const std::string& name)
{
    return name == "blur" || name == "bright_pass";
}

TEST(MaterialShaders, AGlslPickFillsBothBoxesAndALaterArbPickClearsTheOther)
{
    ShaderPair pair = ShadersAfterChoice({}, ShaderBox::Vertex, "blur", glslProgram);
    EXPECT_EQ(pair, (ShaderPair{"blur", "blur"}));
    pair = ShadersAfterChoice(pair, ShaderBox::Vertex, "phongV", glslProgram);
    EXPECT_EQ(pair, (ShaderPair{"phongV", ""}));
    pair = ShadersAfterChoice(pair, ShaderBox::Fragment, "phongF", glslProgram);
    EXPECT_EQ(pair, (ShaderPair{"phongV", "phongF"}));
    // ARB programs in both boxes stay independent.
    EXPECT_EQ(ShadersAfterChoice(pair, ShaderBox::Vertex, "bumpV", glslProgram),
              (ShaderPair{"bumpV", "phongF"}));
    EXPECT_EQ(ShadersAfterChoice(pair, ShaderBox::Fragment, "", glslProgram), (ShaderPair{"phongV", ""}));
    // Clearing either box of a GLSL program clears both; so does an ARB
    // fragment program beside it.
    EXPECT_EQ(ShadersAfterChoice({"blur", "blur"}, ShaderBox::Vertex, "", glslProgram), (ShaderPair{}));
    EXPECT_EQ(ShadersAfterChoice({"blur", "blur"}, ShaderBox::Fragment, "phongF", glslProgram),
              (ShaderPair{"", "phongF"}));
}

TEST_F(MaterialPage, ClearingAShaderIsOneStepAndACancelledChoiceChangesNothing)
{
    KaMaterial& m = addMaterial("stone");
    m.VertexShader = "bumpV";
    m.FragmentShader = "bumpF";
    model->Select("stone");
    model->ChooseShader(ShaderBox::Vertex, nullptr); // the chooser was cancelled
    EXPECT_EQ(m.VertexShader, "bumpV");
    EXPECT_FALSE(document->CanUndo());
    model->ClearShader(ShaderBox::Fragment);
    EXPECT_EQ(m.FragmentShader, "");
    EXPECT_EQ(m.VertexShader, "bumpV");
    document->Undo();
    EXPECT_EQ(m.FragmentShader, "bumpF");
}

// --- files ----------------------------------------------------------------------------------

TEST_F(MaterialPage, ATextureSlotTakesAnExistingFileAndAMissingOneChangesNothing)
{
    KaMaterial& m = addMaterial("stone");
    m.Textures = {"a.png", "b.png", "c.png"};
    model->Select("stone");
    std::filesystem::create_directories("textures");
    test::writeFile("textures/stone.png", "not read without a texture list");

    const EditOutcome missing = model->SetTexture(1, "textures\\missing.png");
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->text, "Файл <textures\\missing.png> не найден");
    EXPECT_TRUE(missing->showConsole);
    EXPECT_EQ(m.Textures[1], "b.png");

    EXPECT_EQ(model->SetTexture(1, "textures\\stone.png"), std::nullopt);
    EXPECT_EQ(m.Textures[1], "textures\\stone.png");
    EXPECT_TRUE(test::logHas("Файл <textures\\stone.png> добавлен"));
    EXPECT_TRUE(model->SetTexture(10, "textures\\stone.png").has_value());

    model->ClearTexture(1);
    EXPECT_EQ(m.Textures[1], "");
    EXPECT_EQ(m.Textures[2], "c.png");
    document->Undo();
    document->Undo();
    EXPECT_EQ(m.Textures[1], "b.png");

    const EditOutcome glow = model->SetSelfIllumination("textures\\glow.png");
    ASSERT_TRUE(glow.has_value());
    EXPECT_FALSE(glow->showConsole); // only the slots bring the console up
    EXPECT_EQ(model->SetSelfIllumination("textures\\stone.png"), std::nullopt);
    model->ClearSelfIllumination();
    EXPECT_EQ(m.SelfIllumination, "");
    document->Undo();
    EXPECT_EQ(m.SelfIllumination, "textures\\stone.png");
}

TEST_F(MaterialPage, LoadingALibraryAddsTheNewNamesAndUndoRemovesExactlyThose)
{
    KaMaterial stone = test::material("stone", false);
    stone.Shininess = 77;
    stone.Diffuse = {0.1f, 0.2f, 0.3f, 0.4f};
    KaMaterial wood = test::material("wood", true);
    {
        KaMaterialList library;
        library.AddCopy(stone);
        library.AddCopy(wood);
        library.SaveToFile("lib.kmt", {0, 1});
    }
    KaMaterial& mine = addMaterial("wood");
    mine.Shininess = 5;
    geometry("table", "stone", true);

    EXPECT_EQ(model->Load("lib.kmt"), std::nullopt);
    EXPECT_THAT(materialNames(), ElementsAre("wood", "stone"));
    EXPECT_EQ(Materials->Find("wood")->Shininess, 5); // a known name is not replaced
    EXPECT_TRUE(sameMaterial(*Materials->Find("stone"), stone));
    EXPECT_EQ(model->Selected(), "stone");
    document->Undo();
    EXPECT_THAT(materialNames(), ElementsAre("wood"));
    document->Redo();
    EXPECT_TRUE(sameMaterial(*Materials->Find("stone"), stone));

    EXPECT_EQ(model->Load("nothing.kmt")->text, "Файл <nothing.kmt> не найден");
    const std::string bytes = test::readFile("lib.kmt");
    test::writeFile("cut.kmt", bytes.substr(0, bytes.size() - 20));
    const EditOutcome damaged = model->Load("cut.kmt");
    ASSERT_TRUE(damaged.has_value());
    EXPECT_THAT(damaged->text, HasSubstr("cut.kmt"));
    EXPECT_THAT(materialNames(), ElementsAre("wood", "stone"));
    EXPECT_EQ(document->UndoLabel(), "Загрузить материалы lib.kmt");
}

TEST_F(MaterialPage, SavingWritesEveryMaterialInListOrderWithEveryField)
{
    KaMaterial& a = addMaterial("a");
    a.Colour = kKeepColour;
    a.Shininess = 200;
    a.AlphaRef = 0.25f;
    a.TwoSided = true;
    a.VertexShader = "bumpV";
    a.FragmentShader = "bumpF";
    a.Textures[0] = "textures\\a.png";
    a.Textures[1] = "textures\\a_normal.png";
    a.SelfIllumination = "textures\\glow.png";
    addMaterial("b", true);
    EXPECT_EQ(model->Save("out.kmt"), 2);
    const std::vector<KaMaterial> read = ReadMaterialLibrary("out.kmt");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_TRUE(sameMaterial(read[0], a));
    EXPECT_TRUE(sameMaterial(read[1], *Materials->Find("b")));
    EXPECT_FALSE(document->CanUndo()); // saving is not an edit
}

} // namespace
} // namespace ra7::editor
