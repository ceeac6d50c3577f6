// The KGF scene file: round trips of every kind, merging into a scene,
// the command-line record, the KMT beside it, save refusals and damaged files.
#include "engine/SceneTestSupport.h"

#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"
#include "host/Ka7ConsoleCommands.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7Log.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/SceneFile.h"

#include <gmock/gmock.h>

#include <cstring>
#include <filesystem>

namespace ra7 {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using SceneFile = test::SceneTest;

std::string int32Bytes(std::int32_t value)
{
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

std::string shortString(std::string_view text)
{
    std::string bytes(kShortStringSize, '\0');
    bytes[0] = static_cast<char>(text.size());
    std::memcpy(bytes.data() + 1, text.data(), text.size());
    return bytes;
}

std::vector<std::int32_t> allIndexes(const KaObjArray& array)
{
    std::vector<std::int32_t> indexes;
    for (std::int32_t i = 0; i < array.Count(); ++i)
        indexes.push_back(i);
    return indexes;
}

// The FileError's message of loading `bytes` as "bad.kgf", or "".
std::string loadFailure(KaObjArray& array, std::string_view bytes)
{
    test::writeFile("bad.kgf", bytes);
    try {
        array.LoadFromFile("bad.kgf");
    } catch (const FileError& e) {
        return e.what();
    }
    return "";
}

// A scene of every kind: geometry → light → sprite in three levels, and a
// camera, a particle system and a sound source beside them.
void buildEveryKind(KaObjArray& array)
{
    auto geometry = std::make_unique<KaGeometry>();
    geometry->SetName("root");
    geometry->MeshName = "box.mes";
    geometry->MaterialName = "";
    geometry->MeshLod1 = "box1.mes";
    geometry->MeshLod2 = "box2.mes";
    geometry->Trans->Position = {1, 2, 3};
    geometry->Trans->Rotation = RotationY(0.5f);
    geometry->Bounds->Main->LocalTrans.Position = {0.5f, 0, 0};
    static_cast<KaBoundingAABB&>(*geometry->Bounds->Main).Size = {2, 3, 4};
    KaBoundingSphere sphere(1.5f);
    geometry->Bounds->AddCopy(sphere);
    geometry->Bounds->AddCopy(KaBoundingObj());
    KaGeometry& root = static_cast<KaGeometry&>(*array.Add(std::move(geometry)));

    auto light = std::make_unique<KaLight>();
    light->SetName("lamp");
    light->Ambient = {0.1f, 0.2f, 0.3f, 0.5f};
    light->LightParams = {55, 1, 2, 3};
    light->Static = true;
    KaSceneObj& lamp = *array.Add(std::move(light));

    auto sprite = std::make_unique<KaSprite>();
    sprite->SetName("glow");
    sprite->Texture1 = "flare.png";
    sprite->FlareName = "sun";
    sprite->Color2 = {0.5f, 0.25f, 0.125f, 1};
    sprite->Size3 = 7;
    sprite->ViewRange = 0;
    sprite->ZTest = 1;
    sprite->SpareFlag = 1;
    KaSceneObj& glow = *array.Add(std::move(sprite));

    auto camera = std::make_unique<KaCamera>();
    camera->Fov = 75;
    camera->Static = true;
    camera->Trans->Position = {0, 0, 10};
    array.Add(std::move(camera));

    auto particles = std::make_unique<KaParSystem>(25);
    particles->SetName("smoke");
    particles->TextureName = "smoke.png";
    particles->AuxName = "aux";
    particles->TexRect = {0, 0, 0.5f, 0.5f};
    particles->EmitDirection = {1, 0, 0};
    particles->MinLife = 100;
    particles->MaxLife = -128;
    particles->Spread = 0;
    particles->SetSpaceDust(true);
    particles->Static = true;
    array.Add(std::move(particles));

    auto sound = std::make_unique<KaSound>();
    sound->SetName("hum");
    sound->Trans->Position = {-1, -2, -3};
    array.Add(std::move(sound));

    root.AddChild(lamp);
    lamp.AddChild(glow);
    root.AddChild(*array.FindByName("hum"));
}

TEST_F(SceneFile, EveryKindRoundTripsByteForByte)
{
    buildEveryKind(scene());
    scene().SaveObjects("scene.kgf", allIndexes(scene()), {"addmesh <data\\box.mes>"});
    const std::string saved = test::readFile("scene.kgf");

    KaObjArray loaded;
    loaded.LoadFromFile("scene.kgf");
    ASSERT_EQ(loaded.Count(), 6);

    const auto& root = static_cast<const KaGeometry&>(*loaded.FindByName("root"));
    EXPECT_EQ(root.MeshLod2, "box2.mes");
    EXPECT_EQ(root.Trans->Rotation, RotationY(0.5f));
    EXPECT_THAT(root.Children, ElementsAre("lamp", "hum"));
    ASSERT_EQ(root.Bounds->Count(), 2);
    EXPECT_EQ(root.Bounds->Item(0).Kind(), KaShapeKind::Sphere);
    EXPECT_EQ(static_cast<const KaBoundingSphere&>(root.Bounds->Item(0)).Radius, 1.5f);
    EXPECT_EQ(static_cast<const KaBoundingAABB&>(*root.Bounds->Main).Size, (Vector3{2, 3, 4}));
    EXPECT_FALSE(root.Static);

    const auto& lamp = static_cast<const KaLight&>(*loaded.FindByName("lamp"));
    EXPECT_EQ(lamp.ParentName, "root");
    EXPECT_THAT(lamp.Children, ElementsAre("glow"));
    EXPECT_EQ(lamp.Ambient, (KaColor{0.1f, 0.2f, 0.3f, 1.0f})); // the alpha is not stored
    EXPECT_EQ(lamp.LightParams, (std::array<float, 4>{55, 1, 2, 0}));
    EXPECT_TRUE(lamp.Static);

    const auto& glow = static_cast<const KaSprite&>(*loaded.FindByName("glow"));
    EXPECT_EQ(glow.ParentName, "lamp");
    EXPECT_EQ(glow.FlareName, "sun");
    EXPECT_EQ(glow.Color2, (KaColor{0.5f, 0.25f, 0.125f, 1}));
    EXPECT_EQ(glow.Size3, 7);
    EXPECT_EQ(glow.ViewRange, 0);
    EXPECT_EQ(glow.ZTest, 1);
    EXPECT_EQ(glow.SpareFlag, 1);

    const auto& camera = static_cast<const KaCamera&>(*loaded.FindByName("cam1"));
    EXPECT_EQ(camera.Fov, 75);
    EXPECT_TRUE(camera.Static);

    const auto& smoke = static_cast<const KaParSystem&>(*loaded.FindByName("smoke"));
    EXPECT_EQ(smoke.Count(), 25);
    EXPECT_EQ(smoke.MaxLife, -128);
    EXPECT_EQ(smoke.TexRect, (std::array<float, 4>{0, 0, 0.5f, 0.5f}));
    EXPECT_TRUE(smoke.Static);
    EXPECT_EQ(smoke.SpaceDust, 1);
    EXPECT_EQ(smoke.OnSpawn, &SpaceDustSpawn);

    const auto& hum = *loaded.FindByName("hum");
    EXPECT_EQ(hum.Trans->Position, (Vector3{-1, -2, -3}));
    EXPECT_EQ(hum.ParentName, "root");

    loaded.SaveObjects("again.kgf", allIndexes(loaded), {"addmesh <data\\box.mes>"});
    EXPECT_EQ(test::readFile("again.kgf"), saved);
}

TEST_F(SceneFile, OneObjectFileHasTheDocumentedSize)
{
    add<KaSound>("hum");
    scene().SaveObjects("one.kgf", {0}, {});
    const std::size_t record = 4 + 12 * 4 + 256 + 4 + 256; // tag, placement, parent, child count, name
    const std::string bytes = test::readFile("one.kgf");
    ASSERT_EQ(bytes.size(), 4 + 256 + 4 + record + 4 + 4);
    EXPECT_EQ(bytes.substr(0, 4), int32Bytes(1));
    EXPECT_EQ(bytes.substr(4, 4), std::string("\x03hum", 4));
    EXPECT_EQ(bytes.substr(260, 4), int32Bytes(2));
    EXPECT_EQ(bytes.substr(264, 4), std::string("\x03sou", 4));
    EXPECT_EQ(bytes.substr(264 + 4 + 48 + 256 + 4, 2), std::string("\x01"
                                                                   "0",
                                                                   2)); // own name as index "0"
    EXPECT_EQ(bytes.substr(bytes.size() - 8), std::string("\x03scr", 4) + int32Bytes(0));
}

TEST_F(SceneFile, EachKindsRecordHasItsDocumentedSize)
{
    const std::size_t base = 48 + 256 + 4 + 256; // placement, parent, child count, name
    struct Case {
        std::unique_ptr<KaSceneObj> object;
        std::size_t record;
    };
    std::vector<Case> cases;
    cases.push_back({std::make_unique<KaGeometry>(), 4 + base + 4 * 256 + (4 + 64 + 4)});
    cases.push_back({std::make_unique<KaSprite>(), 4 + base + 4 * 256 + 12 * 4 + 4 * 4 + 4});
    cases.push_back({std::make_unique<KaCamera>(), 4 + base + 4 + 4});
    cases.push_back({std::make_unique<KaLight>(), 4 + base + 12 * 4 + 4});
    cases.push_back(
        {std::make_unique<KaParSystem>(5), 4 + 4 + base + 2 * 256 + 4 * 4 + 4 * 4 + 3 * 4 + 8 * 4});
    cases.push_back({std::make_unique<KaSound>(), 4 + base});
    for (Case& c : cases) {
        KaObjArray array;
        KaSceneObj& object = *array.Add(std::move(c.object));
        object.Static = true;
        array.SaveObjects("kind.kgf", {0}, {});
        const std::string bytes = test::readFile("kind.kgf");
        EXPECT_EQ(bytes.size(), 4 + 256 + 4 + c.record + 8) << object.Name();
        if (object.Kind() == KaObjKind::Camera || object.Kind() == KaObjKind::Light) {
            EXPECT_EQ(bytes.substr(264 + c.record - 4, 4), std::string("\x01\0\0\0", 4)); // Static, one unit
        }
    }
}

TEST_F(SceneFile, LoadedChildrenStayWhereTheyWereSaved)
{
    // The file keeps world placements only; a loaded child must not jump onto
    // its parent at the next update.
    auto& parent = add<KaGeometry>("parent");
    parent.Trans->Position = {5, 0, 0};
    parent.Trans->Rotation = RotationZ(DegToRad(90));
    auto& child = add<KaGeometry>("child");
    child.Trans->Position = {7, 0, 0};
    parent.AddChild(child);
    scene().UpdateRoots();
    const Vector3 saved = child.Trans->Position;
    scene().SaveObjects("tree.kgf", {0, 1}, {});

    KaObjArray loaded;
    loaded.LoadFromFile("tree.kgf");
    loaded.UpdateRoots();
    const Vector3 after = loaded.FindByName("child")->Trans->Position;
    EXPECT_NEAR(after.x, saved.x, 1e-5f);
    EXPECT_NEAR(after.y, saved.y, 1e-5f);
    EXPECT_NEAR(after.z, saved.z, 1e-5f);
    // Moving the parent afterwards carries the child at its kept offset.
    loaded.FindByName("parent")->Trans->Position = {0, 0, 0};
    loaded.UpdateRoots();
    EXPECT_NEAR(loaded.FindByName("child")->Trans->Position.x, saved.x - 5, 1e-5f);
}

TEST_F(SceneFile, LongNamesAreCutTo255Characters)
{
    const std::string longName(300, 'n');
    add<KaLight>(longName);
    scene().SaveObjects("long.kgf", {0}, {});
    KaObjArray loaded;
    loaded.LoadFromFile("long.kgf");
    EXPECT_EQ(loaded.GetItem(0)->Name(), longName.substr(0, 255));
}

TEST_F(SceneFile, MergedNamesAreMadeUniqueAndLinksFollow)
{
    {
        KaObjArray source;
        auto a = std::make_unique<KaGeometry>();
        a->SetName("a");
        auto b = std::make_unique<KaLight>();
        b->SetName("b");
        KaSceneObj& parent = *source.Add(std::move(a));
        parent.AddChild(*source.Add(std::move(b)));
        source.SaveObjects("ab.kgf", {0, 1}, {});
    }
    add<KaSprite>("a");
    scene().LoadFromFile("ab.kgf");
    EXPECT_THAT(names(), ElementsAre("a", "a_1", "b"));
    EXPECT_THAT(scene().FindByName("a_1")->Children, ElementsAre("b"));
    EXPECT_EQ(scene().FindByName("b")->ParentName, "a_1");
    EXPECT_EQ(scene().FindByName("a")->Kind(), KaObjKind::Sprite);
    EXPECT_THAT(scene().LightList, ElementsAre(2)); // lists rebuilt after the load
    EXPECT_FALSE(scene().Changed());
}

TEST_F(SceneFile, MergedNamesDoNotCollideWithEachOther)
{
    {
        KaObjArray source;
        auto a = std::make_unique<KaGeometry>();
        a->SetName("a");
        auto a1 = std::make_unique<KaGeometry>();
        a1->SetName("a_1");
        KaSceneObj& parent = *source.Add(std::move(a));
        parent.AddChild(*source.Add(std::move(a1)));
        source.SaveObjects("aa.kgf", {0, 1}, {});
    }
    add<KaSprite>("a");
    scene().LoadFromFile("aa.kgf");
    // "a" becomes "a_1", so the file's own "a_1" must not stay "a_1".
    EXPECT_THAT(names(), ElementsAre("a", "a_1", "a_1_1"));
    EXPECT_EQ(scene().FindByName("a_1_1")->ParentName, "a_1");
    EXPECT_THAT(scene().FindByName("a_1")->Children, ElementsAre("a_1_1"));
}

TEST_F(SceneFile, LoadingTwiceKeepsEveryNameDistinct)
{
    add<KaGeometry>("box");
    add<KaGeometry>("box_1");
    scene().SaveObjects("boxes.kgf", {0, 1}, {});
    scene().LoadFromFile("boxes.kgf");
    scene().LoadFromFile("boxes.kgf");
    EXPECT_THAT(names(), ElementsAre("box", "box_1", "box_2", "box_1_1", "box_3", "box_1_2"));
}

TEST_F(SceneFile, SavingAChildWithoutItsParentIsRefused)
{
    auto& parent = add<KaGeometry>("parent");
    auto& child = add<KaGeometry>("child");
    parent.AddChild(child);
    try {
        scene().SaveObjects("part.kgf", {1}, {});
        FAIL() << "saved";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Parent of <child> not found! Aborted");
    }
    try {
        scene().SaveObjects("part.kgf", {0}, {});
        FAIL() << "saved";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Child of <parent> not found! Aborted");
    }
    EXPECT_FALSE(std::filesystem::exists("part.kgf"));
    EXPECT_THAT(names(), ElementsAre("parent", "child"));
    EXPECT_EQ(child.ParentName, "parent");
    EXPECT_THAT(parent.Children, ElementsAre("child"));
    EXPECT_THROW(scene().SaveObjects("part.kgf", {2}, {}), Error);
}

TEST_F(SceneFile, AFailedSaveKeepsThePreviousFile)
{
    add<KaLight>("lamp");
    scene().SaveObjects("keep.kgf", {0}, {});
    const std::string before = test::readFile("keep.kgf");
    auto& parent = add<KaGeometry>("parent");
    parent.AddChild(*scene().FindByName("lamp"));
    EXPECT_THROW(scene().SaveObjects("keep.kgf", {0}, {}), Error);
    EXPECT_EQ(test::readFile("keep.kgf"), before);
}

TEST_F(SceneFile, MaterialsOfSavedGeometryGoToAKmtFileBeside)
{
    Materials = std::make_unique<KaMaterialList>();
    Materials->AddCopy(test::material("stone", false));
    Materials->AddCopy(test::material("glass", true));
    scene().SetMaterialCatalog(Materials.get());
    add<KaGeometry>("a").MaterialName = "glass";
    add<KaGeometry>("b").MaterialName = "glass";
    add<KaGeometry>("c");
    add<KaGeometry>("d").MaterialName = "stone";
    scene().SaveObjects("level.kgf", {0, 1, 2, 3}, {"addtex <>"});
    {
        RecordReader file = RecordReader::openFile("level.kgf");
        const SceneFileContents contents = ReadSceneFileContents(file);
        EXPECT_THAT(contents.Lines, ElementsAre("addtex <>", "addmat <level.kmt>"));
    }
    // The library holds one record per saved geometry, repeats kept, in object order.
    {
        KaMaterialList library;
        library.LoadFromFile("level.kmt");
        ASSERT_EQ(library.Count(), 2);
        EXPECT_EQ(library.Get(0).Name, "glass");
        EXPECT_EQ(library.Get(1).Name, "stone");
    }
    // Loading the scene into a fresh engine brings its materials back through the
    // file's "addmat" line, and the transparent geometry is sorted as such.
    Materials = std::make_unique<KaMaterialList>();
    KaObjArray loaded;
    loaded.SetMaterialCatalog(Materials.get());
    loaded.LoadFromFile("level.kgf");
    ASSERT_EQ(Materials->Count(), 2);
    EXPECT_TRUE(Materials->Find("glass")->Blend);
    EXPECT_THAT(loaded.BlendGeomList, ElementsAre(0, 1));
    EXPECT_THAT(loaded.GeomList, ElementsAre(2, 3));
    Materials.reset();
}

TEST_F(SceneFile, NoKmtWithoutMaterials)
{
    add<KaGeometry>("a");
    scene().SaveObjects("plain.kgf", {0}, {});
    EXPECT_FALSE(std::filesystem::exists("plain.kmt"));
}

TEST_F(SceneFile, CommandLinesRunThroughTheConsole)
{
    add<KaLight>("lamp");
    scene().SaveObjects("cmd.kgf", {0}, {"frobnicate <x>", ""});
    KaObjArray other;
    other.LoadFromFile("cmd.kgf");
    EXPECT_THAT(LogLines(), ::testing::Contains("> frobnicate <x>"));
}

TEST_F(SceneFile, ALineThatFailsIsLoggedAndTheLinesAfterItStillRun)
{
    Textures = std::make_unique<KaTextureArray>();
    Materials = std::make_unique<KaMaterialList>();
    Meshes = std::make_unique<KaMeshList>();
    {
        KaMaterialList library;
        KaMaterial stone = test::material("stone", false);
        stone.Textures[0] = "textures\\stone.png";
        library.AddCopy(stone);
        library.AddCopy(test::material("glass", true));
        library.SaveToFile("level.kmt", {0, 1});
    }
    add<KaGeometry>("crate").MaterialName = "stone";
    scene().SaveObjects(
        "level.kgf", {0},
        {"addtex <textures\\sky_front.png>", "addmesh <meshes\\gone.mes>", "addmat <level.kmt>"});

    KaObjArray loaded;
    loaded.SetMaterialCatalog(Materials.get());
    ASSERT_NO_THROW(loaded.LoadFromFile("level.kgf"));
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(Materials->Count(), 2) << "the library after the missing texture and mesh still loads";
    EXPECT_TRUE(test::logHas("! Не удалось загрузить текстуру textures\\sky_front.png"));
    EXPECT_TRUE(test::logHas("! Ошибка OpenIL: textures\\sky_front.png: could not open file"));
    EXPECT_TRUE(test::logHas("! meshes\\gone.mes: cannot open file: No such file or directory"));
    EXPECT_TRUE(test::logHas("! Не удалось загрузить текстуру textures\\stone.png"));
    EXPECT_THAT(loaded.BlendGeomList, ::testing::IsEmpty());
    Meshes.reset();
    Materials.reset();
    Textures.reset();
}

TEST_F(SceneFile, AnExitLineInAFileIsLoggedAndNeverRun)
{
    bool exited = false;
    SetConsoleExitHandler([&] { exited = true; });
    add<KaLight>("lamp");
    scene().SaveObjects("quits.kgf", {0}, {"exit", "  EXIT <now>", "help"});
    KaObjArray loaded;
    loaded.LoadFromFile("quits.kgf");
    SetConsoleExitHandler({});
    EXPECT_FALSE(exited);
    EXPECT_TRUE(test::logHas("! quits.kgf: команда \"exit\" из файла сцены пропущена"));
    EXPECT_TRUE(test::logHas("! quits.kgf: команда \"EXIT <now>\" из файла сцены пропущена"));
    EXPECT_TRUE(test::logHas("> help")) << "the lines after it still run";
    EXPECT_EQ(loaded.Count(), 1);
}

TEST_F(SceneFile, MaterialNamesSurviveAMissingOrLateLibrary)
{
    Materials = std::make_unique<KaMaterialList>();
    Materials->AddCopy(test::material("stone", false));
    scene().SetMaterialCatalog(Materials.get());
    add<KaGeometry>("crate").MaterialName = "stone";
    scene().SaveObjects("level.kgf", {0}, {});
    std::filesystem::rename("level.kmt", "level.kmt.away");

    // The library is missing: the name stays, the geometry is drawn opaque.
    scene().SetMaterialCatalog(nullptr);
    Materials = std::make_unique<KaMaterialList>();
    KaObjArray loaded;
    loaded.SetMaterialCatalog(Materials.get());
    loaded.LoadFromFile("level.kgf");
    const auto& crate = static_cast<const KaGeometry&>(*loaded.FindByName("crate"));
    EXPECT_EQ(crate.MaterialName, "stone");
    EXPECT_THAT(loaded.GeomList, ElementsAre(0));
    loaded.SaveObjects("again.kgf", {0}, {});
    {
        RecordReader file = RecordReader::openFile("again.kgf");
        const SceneFileContents contents = ReadSceneFileContents(file);
        ASSERT_EQ(contents.Objects.size(), 1u);
        EXPECT_EQ(static_cast<const KaGeometry&>(*contents.Objects[0]).MaterialName, "stone");
    }

    // The library comes later: the geometry finds its material.
    std::filesystem::rename("level.kmt.away", "level.kmt");
    Materials->LoadFromFile("level.kmt");
    loaded.RebuildLists();
    loaded.SaveObjects("later.kgf", {0}, {});
    EXPECT_TRUE(std::filesystem::exists("later.kmt"));
    loaded.Clear();
    Materials.reset();
}

TEST_F(SceneFile, AParticleSystemAtTheCountLimitReadsBack)
{
    add<KaParSystem>("sparks", kMaxParticleCount);
    add<KaLight>("after");
    scene().SaveObjects("sparks.kgf", {0, 1}, {});
    KaObjArray loaded;
    loaded.LoadFromFile("sparks.kgf");
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(static_cast<const KaParSystem&>(*loaded.GetItem(0)).Count(), kMaxParticleCount);
}

// --- damaged files ------------------------------------------------------------

class DamagedSceneFile : public test::SceneTest {
protected:
    // A valid file of two lights "a" and "b", b a child of a.
    std::string validFile()
    {
        KaObjArray source;
        auto a = std::make_unique<KaLight>();
        a->SetName("a");
        auto b = std::make_unique<KaLight>();
        b->SetName("b");
        KaSceneObj& parent = *source.Add(std::move(a));
        parent.AddChild(*source.Add(std::move(b)));
        source.SaveObjects("valid.kgf", {0, 1}, {"x"});
        return test::readFile("valid.kgf");
    }
    static constexpr std::size_t kHeader = 4 + 2 * 256 + 4;
};

TEST_F(DamagedSceneFile, UnknownTagStopsWithItsOffsetAndKeepsEarlierObjects)
{
    std::string bytes = validFile();
    const std::size_t lightRecord = 4 + 48 + 256 + 4 + 256 + 12 * 4 + 4;
    const std::size_t secondTag = kHeader + lightRecord + 4; // a's record has one child index
    ASSERT_EQ(bytes.substr(secondTag, 4), std::string("\x03lig", 4));
    bytes.replace(secondTag + 1, 3, "xyz");
    EXPECT_EQ(loadFailure(scene(), bytes),
              "bad.kgf: offset " + std::to_string(secondTag) + ": unknown record tag \"xyz\"");
    EXPECT_THAT(names(), ElementsAre("a"));
    EXPECT_THAT(scene().LightList, ElementsAre(0));
}

TEST_F(DamagedSceneFile, LyingCountsAreRefusedBeforeAllocating)
{
    const std::string bytes = validFile();
    std::string names = bytes;
    names.replace(0, 4, int32Bytes(0x7FFFFFFF));
    EXPECT_THAT(loadFailure(scene(), names), HasSubstr("bad.kgf: offset 0: name count"));

    std::string records = bytes;
    records.replace(4 + 512, 4, int32Bytes(1 << 28));
    EXPECT_THAT(loadFailure(scene(), records), HasSubstr("record count"));

    std::string children = bytes;
    const std::size_t childCount = kHeader + 4 + 48 + 256;
    ASSERT_EQ(children.substr(childCount, 4), int32Bytes(1));
    children.replace(childCount, 4, int32Bytes(-5));
    EXPECT_THAT(loadFailure(scene(), children), HasSubstr("child count"));

    std::string lines = bytes;
    lines.replace(lines.size() - 256 - 4, 4, int32Bytes(1000));
    EXPECT_THAT(loadFailure(scene(), lines), HasSubstr("command line count"));
    EXPECT_EQ(scene().Count(), 2); // only the last file got as far as its objects
}

TEST_F(DamagedSceneFile, NameIndexOutsideTheTableIsAnError)
{
    std::string bytes = validFile();
    const std::size_t childIndex = kHeader + 4 + 48 + 256 + 4;
    bytes.replace(childIndex, 4, int32Bytes(2));
    EXPECT_EQ(loadFailure(scene(), bytes), "bad.kgf: offset " + std::to_string(childIndex) +
                                               ": child index 2 is outside the name table of 2 entries");
    std::string own = validFile();
    own.replace(kHeader + 4 + 48 + 256 + 4 + 4, 256, shortString("7"));
    EXPECT_THAT(loadFailure(scene(), own), HasSubstr("name index 7 is outside the name table"));
}

TEST_F(DamagedSceneFile, HugeParticleCountIsRefused)
{
    std::string bytes = int32Bytes(1) + shortString("p") + int32Bytes(1) + std::string("\x03par", 4) +
                        int32Bytes(2000000000) + std::string(2000, '\0');
    EXPECT_THAT(loadFailure(scene(), bytes),
                HasSubstr("offset 268: particle count 2000000000 is outside 0 to 100000"));
}

TEST_F(DamagedSceneFile, TwoRecordsOfOneNameGetDistinctNames)
{
    std::string bytes = validFile();
    const std::size_t lightRecord = 4 + 48 + 256 + 4 + 256 + 12 * 4 + 4;
    const std::size_t secondOwnName = kHeader + lightRecord + 4 + 4 + 48 + 256 + 4;
    ASSERT_EQ(bytes.substr(secondOwnName, 2), std::string("\x01"
                                                          "1",
                                                          2));
    bytes.replace(secondOwnName, 256, shortString("0")); // b's record names itself "a"
    add<KaSprite>("a_1");
    EXPECT_EQ(loadFailure(scene(), bytes), "");
    EXPECT_THAT(names(), ElementsAre("a_1", "a", "a_2"));
    EXPECT_EQ(scene().IndexOfName("a_2"), 2);
}

TEST_F(DamagedSceneFile, GeometryWithoutItsBoundingVolumeIsAnError)
{
    add<KaGeometry>("g");
    scene().SaveObjects("g.kgf", {0}, {});
    std::string bytes = test::readFile("g.kgf");
    const std::size_t vol = 4 + 256 + 4 + 4 + 48 + 256 + 4 + 256 + 4 * 256;
    ASSERT_EQ(bytes.substr(vol, 4), std::string("\x03vol", 4));
    bytes[vol + 1] = 'x';
    KaObjArray other;
    EXPECT_THAT(loadFailure(other, bytes), HasSubstr("does not begin with the tags"));
    EXPECT_EQ(other.Count(), 0);
}

TEST_F(DamagedSceneFile, EveryTruncationFailsCleanly)
{
    buildEveryKind(scene());
    scene().SaveObjects("full.kgf", allIndexes(scene()), {"x"});
    const std::string bytes = test::readFile("full.kgf");
    std::int32_t lastCount = 0;
    for (std::size_t size = 0; size < bytes.size(); size += 13) {
        KaObjArray partial;
        const std::string failure = loadFailure(partial, bytes.substr(0, size));
        ASSERT_THAT(failure, HasSubstr("bad.kgf: offset ")) << "at size " << size;
        EXPECT_GE(partial.Count(), lastCount); // a longer prefix never keeps fewer objects
        lastCount = partial.Count();
    }
    EXPECT_EQ(lastCount, 6);
}

} // namespace
} // namespace ra7
