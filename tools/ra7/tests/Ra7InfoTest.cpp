// `ra7 info` and `ra7 console` as a user runs them: real files written by
// the engine, the printed text and JSON read back.
#include "ConsoleCommand.h"
#include "InfoCommand.h"
#include "ToolTestSupport.h"
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "engine/TestSupport.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7Mesh.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/RecordFile.h"
#include "runtime/TextCodec.h"
#include "scene/Ka7BoundingVolume.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include <iostream>
#include <sstream>

namespace ra7 {
namespace {

using nlohmann::json;
using ::testing::HasSubstr;
using Ra7Tool = test::ScratchDirectoryTest;

void writeSampleScene()
{
    KaObjArray scene;
    auto geometry = std::make_unique<KaGeometry>();
    geometry->SetName("Ящик");
    geometry->MeshName = "data\\box.mes";
    geometry->Trans->Position = {1, 2, 3};
    geometry->Bounds->AddCopy(KaBoundingSphere(2.5f));
    KaSceneObj& root = *scene.Add(std::move(geometry));
    auto light = std::make_unique<KaLight>();
    light->LightParams[0] = 75;
    root.AddChild(*scene.Add(std::move(light)));
    auto camera = std::make_unique<KaCamera>();
    camera->Fov = 90;
    scene.Add(std::move(camera));
    scene.Add(std::make_unique<KaParSystem>(12));
    scene.SaveObjects("scene.kgf", {0, 1, 2, 3}, {"addmesh <data\\box.mes>"});
}

TEST_F(Ra7Tool, InfoJsonListsEveryObjectWithItsFields)
{
    writeSampleScene();
    int status = -1;
    const auto [out, err] = test::captured([] { return RunInfo({{"scene.kgf"}, true}); }, status);
    ASSERT_EQ(status, 0) << err;
    const json document = json::parse(out);
    EXPECT_EQ(document["format"], "kgf");
    ASSERT_EQ(document["objects"].size(), 4u);
    const json& box = document["objects"][0];
    EXPECT_EQ(box["kind"], "geometry");
    EXPECT_EQ(box["name"], "Ящик");
    EXPECT_TRUE(box["parent"].is_null());
    EXPECT_EQ(box["children"], json::array({"lig1"}));
    EXPECT_EQ(box["transformation"]["position"], json::array({1.0, 2.0, 3.0}));
    EXPECT_EQ(box["transformation"]["rotation"].size(), 9u);
    EXPECT_EQ(box["mesh"], "data\\box.mes");
    EXPECT_EQ(box["bounds"]["main"]["kind"], "aabb");
    EXPECT_EQ(box["bounds"]["shapes"][0]["radius"], 2.5);
    EXPECT_EQ(document["objects"][1]["parent"], "Ящик");
    EXPECT_EQ(document["objects"][1]["lightParams"][0], 75.0);
    EXPECT_EQ(document["objects"][2]["fov"], 90);
    EXPECT_EQ(document["objects"][3]["count"], 12);
    EXPECT_EQ(document["commandLines"], json::array({"addmesh <data\\box.mes>"}));
}

TEST_F(Ra7Tool, InfoTextAndPhzAndErrors)
{
    writeSampleScene();
    KaBoundingVolume volume;
    volume.AddCopy(KaBoundingObj());
    volume.SaveToPhzFile("hull.phz");
    test::writeFile("broken.kgf", std::string(4, '\xFF'));
    int status = -1;
    const auto [out, err] = test::captured(
        [] {
            return RunInfo({{"scene.kgf", "hull.phz", "broken.kgf", "notes.txt"}, false});
        },
        status);
    EXPECT_EQ(status, 1);
    EXPECT_THAT(out, HasSubstr("scene.kgf: scene file, 4 objects, 4 names, 1 command lines"));
    EXPECT_THAT(out, HasSubstr("geometry \"Ящик\"  parent: none  children: lig1"));
    EXPECT_THAT(out, HasSubstr("hull.phz: bounding volume, main box and 1 further shapes"));
    EXPECT_THAT(out, HasSubstr("shape 0: point"));
    EXPECT_THAT(err, HasSubstr("ra7: broken.kgf: offset 0: name count"));
    EXPECT_THAT(err, HasSubstr("ra7: notes.txt: unknown kind of file"));

    const auto [jsonOut, jsonErr] = test::captured(
        [] {
            return RunInfo({{"scene.kgf", "hull.phz"}, true});
        },
        status);
    const json documents = json::parse(jsonOut);
    ASSERT_TRUE(documents.is_array());
    EXPECT_EQ(documents[1]["volume"]["shapes"][0]["kind"], "point");
}

TEST_F(Ra7Tool, InfoReadsLensFlareFilesAsStored)
{
    KaLensFlareList flares;
    KaLensFlare glow;
    glow.Name = "glow_7"; // loading into the engine would rename it; info does not
    glow.LensCount = 2;
    glow.DistanceScale = 250;
    glow.Lenses[0].TextureName = "data\\кольцо.png";
    glow.Lenses[0].Color = {1, 0.5f, 0.25f, 0.75f};
    glow.Lenses[0].Pos = 1;
    glow.Lenses[1].Pos = -3;
    glow.Lenses[1].Size = 40;
    flares.AddCopy(glow);
    KaLensFlare empty;
    empty.Name = "empty";
    flares.AddCopy(empty);
    flares.SaveToFile("set.kls", {1, 0});
    test::writeFile("short.kls", test::readFile("set.kls").substr(0, 600));

    int status = -1;
    const auto [out, err] = test::captured([] { return RunInfo({{"set.kls", "short.kls"}, false}); }, status);
    EXPECT_EQ(status, 1);
    EXPECT_THAT(out, HasSubstr("set.kls: lens flare file, 2 flares\nflare \"empty\"  lenses: 0\n"
                               "flare \"glow_7\"  lenses: 2  distance scale: 250\n"));
    EXPECT_THAT(
        out, HasSubstr("  lens 0: texture \"data\\кольцо.png\"  color: 1 0.5 0.25 0.75  pos: 1  size: 10\n"));
    EXPECT_THAT(out, HasSubstr("  lens 1: texture \"\"  color: 1 1 1 1  pos: -3  size: 40\n"));
    EXPECT_THAT(err, HasSubstr("ra7: short.kls: offset 536: unexpected end of file"));

    const auto [jsonOut, jsonErr] = test::captured([] { return RunInfo({{"set.kls"}, true}); }, status);
    EXPECT_EQ(status, 0);
    const json document = json::parse(jsonOut);
    EXPECT_EQ(document["format"], "kls");
    ASSERT_EQ(document["flares"].size(), 2u);
    EXPECT_TRUE(document["flares"][0]["distanceScale"].is_null());
    EXPECT_EQ(document["flares"][1]["name"], "glow_7");
    EXPECT_EQ(document["flares"][1]["distanceScale"], 250.0);
    EXPECT_EQ(document["flares"][1]["lenses"][0]["texture"], "data\\кольцо.png");
    EXPECT_EQ(document["flares"][1]["lenses"][1]["pos"], -3.0);
}

TEST_F(Ra7Tool, InfoReadsMeshesAndMaterialLibraries)
{
    test::saveMesh(*test::triangleMesh("tri.mes"), "tri.mes");
    KaMaterialList library;
    KaMaterial glass;
    glass.Name = "Стекло";
    glass.Blend = true;
    glass.Textures[0] = "data\\glass.png";
    library.AddCopy(glass);
    library.SaveToFile("lib.kmt", {0});

    int status = -1;
    const auto [jsonOut, err] = test::captured(
        [] {
            return RunInfo({{"tri.mes", "lib.kmt"}, true});
        },
        status);
    EXPECT_EQ(status, 0) << err;
    const json documents = json::parse(jsonOut);
    EXPECT_EQ(documents[0]["format"], "mes");
    EXPECT_EQ(documents[0]["vertices"], 3);
    EXPECT_EQ(documents[0]["bounds"]["max"][1], 1.0);
    EXPECT_EQ(documents[0]["tangentSpace"], false);
    EXPECT_EQ(documents[1]["format"], "kmt");
    EXPECT_EQ(documents[1]["materials"][0]["name"], "Стекло");
    EXPECT_EQ(documents[1]["materials"][0]["blend"], true);
    EXPECT_EQ(documents[1]["materials"][0]["textures"][0], "data\\glass.png");

    const auto [text, textErr] = test::captured(
        [] {
            return RunInfo({{"tri.mes", "lib.kmt"}, false});
        },
        status);
    EXPECT_THAT(text, HasSubstr("vertices: 3"));
    EXPECT_THAT(text, HasSubstr("material \"Стекло\""));
}

TEST_F(Ra7Tool, ConsoleRunsLinesOnAStartedEngineAndWritesTheLog)
{
    test::installEngineData();
    test::saveMesh(*test::triangleMesh("data/models/tri.mes"), "data/models/tri.mes");
    int status = -1;
    auto [out, err] = test::captured(
        [] {
            return RunConsole({{"help", "glinfo", "addmesh <DATA\\Models\\tri.mes>"}, true});
        },
        status);
    // A mesh that did not load would fail the run.
    EXPECT_EQ(status, 0) << "the mesh is found whatever the case of its name";
    EXPECT_TRUE(out.empty());
    const std::string log = test::readFile("log.txt");
    EXPECT_THAT(log, HasSubstr(utf8ToCp1251("* Консоль создана...")));
    EXPECT_THAT(log, HasSubstr("> glinfo"));
    EXPECT_THAT(log, HasSubstr("Mesa")); // the driver's description
    EXPECT_THAT(log.substr(log.find("> addmesh")), ::testing::Not(HasSubstr("! ")));
    EXPECT_TRUE(std::filesystem::exists("config.txt"));
    EXPECT_EQ(SceneObjects, nullptr);

    std::tie(out, err) = test::captured([] { return RunConsole({{"nonsense", "help"}, false}); }, status);
    EXPECT_EQ(status, 1) << "an unknown word fails the run";
    EXPECT_THAT(out, HasSubstr("1 help")) << "the lines after it still run";
}

TEST_F(Ra7Tool, ConsoleAddmeshOfAMissingFileIsAFailureNamingIt)
{
    test::installEngineData();
    int status = -1;
    const auto [out, err] = test::captured(
        [] {
            return RunConsole({{"addmesh <meshes\\gone.mes>", "help"}, false});
        },
        status);
    EXPECT_EQ(status, 1);
    EXPECT_THAT(out, HasSubstr("! meshes\\gone.mes: cannot open file: No such file or directory"));
    EXPECT_THAT(out, HasSubstr("1 help")) << "the lines after it still run";
}

TEST_F(Ra7Tool, ConsoleWithoutEngineDataSaysWhatIsMissing)
{
    int status = -1;
    const auto [out, err] = test::captured([] { return RunConsole({{"help"}, true}); }, status);
    EXPECT_EQ(status, 1);
    EXPECT_THAT(err, HasSubstr("data\\shaders"));
    EXPECT_THAT(test::readFile("log.txt"), HasSubstr("data\\shaders"));
}

} // namespace
} // namespace ra7
