// `ra7 convert` as a user runs it: a real model in, then the written scene,
// materials and meshes read back with the engine's own readers.
#include "ConvertCommand.h"

#include "engine/GLTestSupport.h"
#include "resources/Ka7Material.h"
#include "resources/Ka7Mesh.h"
#include "runtime/RecordFile.h"
#include "runtime/TextCodec.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/SceneFile.h"

#include <gmock/gmock.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>

namespace ra7 {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;

const fs::path kModels = "/usr/share/assimp/models/OBJ";

class Ra7Convert : public test::ScratchDirectoryTest {
protected:
    void SetUp() override
    {
        ScratchDirectoryTest::SetUp();
        // The test process holds a context of its own, so the driver stays
        // loaded between the command's runs (and its allocations have names).
        test::sharedContext();
    }

    // Runs the command quietly; the log is in log.txt.
    int run(ConvertOptions options)
    {
        options.quiet = true;
        std::ostringstream err;
        std::streambuf* old = std::cerr.rdbuf(err.rdbuf());
        const int status = RunConvert(options);
        std::cerr.rdbuf(old);
        errors = err.str();
        return status;
    }

    static SceneFileContents readScene(const std::string& name)
    {
        RecordReader file = RecordReader::openFile(name);
        return ReadSceneFileContents(file);
    }

    static std::unique_ptr<KaMesh> readMesh(const std::string& name)
    {
        auto mesh = std::make_unique<KaMesh>();
        RecordReader file = RecordReader::openFile(name);
        ReadMeshFile(file, *mesh);
        return mesh;
    }

    static std::string log() { return cp1251ToUtf8(test::readFile("log.txt")); }

    std::string errors;
};

TEST_F(Ra7Convert, SpiderBecomesAKgfWhoseObjectsAndMeshesLoadBack)
{
    if (!fs::exists(kModels / "spider.obj"))
        RA7_SKIP_WITHOUT("assimp-testmodels is not installed (scripts/packages.txt lists it)");
    // The textures are expected beside the meshes: one is there, the others not.
    fs::create_directories("out/spider");
    fs::copy_file(kModels / "wal67ar_small.jpg", "out/spider/wal67ar_small.jpg");

    ConvertOptions options;
    options.model = (kModels / "spider.obj").string();
    options.folder = "out/spider";
    options.output = "out/spider";
    options.tangent = 1;
    ASSERT_EQ(run(options), 0) << errors << log();

    // 19 groups with faces (1368 triangles), counted with awk over the file.
    const SceneFileContents scene = readScene("out\\spider.kgf");
    ASSERT_EQ(scene.Objects.size(), 19u);
    EXPECT_THAT(scene.Lines, Contains("addmat <out\\spider.kmt>"));
    std::int32_t vertices = 0;
    std::int32_t meshLines = 0;
    std::int32_t withTangents = 0;
    for (const std::string& line : scene.Lines) {
        if (line.rfind("addmesh <", 0) != 0)
            continue;
        ++meshLines;
        const auto mesh = readMesh(line.substr(9, line.size() - 10));
        EXPECT_EQ(mesh->IndexCount, mesh->VertexCount);
        ASSERT_EQ(mesh->Tangents.size(), static_cast<std::size_t>(mesh->VertexCount));
        // Triangles without texture area leave zero tangents, but no part is
        // made only of those.
        withTangents += std::any_of(mesh->Tangents.begin(), mesh->Tangents.end(),
                                    [](const Vector3& t) { return t != kZeroVector; });
        vertices += mesh->VertexCount;
    }
    EXPECT_EQ(meshLines, 19);
    EXPECT_EQ(withTangents, 19) << "tangents were computed before saving";
    EXPECT_EQ(vertices, 3 * 1368);
    const auto& body = static_cast<const KaGeometry&>(*scene.Objects[0]);
    EXPECT_EQ(body.MeshName, "out\\spider\\HLEIB01.mes");

    // Every group has its own material. The skin's texture was in the mesh
    // folder already; the others, found beside the model, were copied there.
    const std::vector<std::string> materials = DescribeMaterialFile("out/spider.kmt");
    std::ostringstream text;
    for (const std::string& line : materials)
        text << line << '\n';
    EXPECT_THAT(text.str(), HasSubstr("out\\spider\\.\\WAL67AR_SMALL.JPG"));
    EXPECT_THAT(text.str(), HasSubstr("out\\spider\\.\\DRKWOOD2.JPG"));
    EXPECT_TRUE(fs::exists("out/spider/DRKWOOD2.JPG"));
    EXPECT_EQ(test::readFile("out/spider/DRKWOOD2.JPG"), test::readFile(kModels / "drkwood2.jpg"));
    EXPECT_FALSE(fs::exists("out/spider/WAL67AR_SMALL.JPG")) << "the copy already there is used";
    EXPECT_THAT(log(), HasSubstr("- Текстура "));
    EXPECT_THAT(log(), HasSubstr("--Конвертер: конвертация окончена за "));
}

TEST_F(Ra7Convert, MeshMenderMethodWritesTheMendedMeshes)
{
    test::writeFile("quad.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                                "g quad\nf 1/1 2/2 3/3\nf 1/1 3/3 4/4\n");
    ConvertOptions options;
    options.model = "quad.obj";
    options.folder = "meshes";
    options.output = "quad.kgf";
    options.tangent = 3;
    ASSERT_EQ(run(options), 0) << errors << log();
    const auto mesh = readMesh("meshes\\QUAD.mes");
    ASSERT_GE(mesh->VertexCount, 4);
    for (const Vector3& tangent : mesh->Tangents)
        EXPECT_NEAR(tangent.x, 1.0f, 1e-5f);
    EXPECT_EQ(readScene("quad.kgf").Objects.size(), 1u);
}

TEST_F(Ra7Convert, WrongInputsAreNamedInTheLog)
{
    ConvertOptions options;
    options.model = "missing.obj";
    options.folder = "meshes";
    options.output = "scene.kgf";
    EXPECT_EQ(run(options), 1);
    EXPECT_THAT(errors, HasSubstr("missing.obj: no such file"));

    test::writeFile("model.3ds", "");
    options.model = "model.3ds";
    EXPECT_EQ(run(options), 1);
    EXPECT_THAT(errors, HasSubstr("must be an .obj or .gms file"));

    test::writeFile("model.obj", "v 0 0 0\nf 1 1 1\n");
    options.model = "model.obj";
    for (const float scale : {std::nanf(""), 0.0f, -1.0f}) {
        options.scale = scale;
        EXPECT_EQ(run(options), 1) << scale;
        EXPECT_THAT(errors, HasSubstr("the scale must be a number above 0")) << scale;
    }
    options.scale = 1;
    options.mender.WeightNormalsByArea = std::nanf("");
    EXPECT_EQ(run(options), 1);
    EXPECT_THAT(errors, HasSubstr("must be numbers"));
    options.mender.WeightNormalsByArea = 1;
    options.folder.clear();
    EXPECT_EQ(run(options), 1);
    EXPECT_THAT(errors, HasSubstr("--folder is required"));
}

TEST_F(Ra7Convert, GmsObjectsAreWrittenUnderTheirOwnMeshNames)
{
    test::writeFile("level.gms", "gmax\r\nNew Object\r\n{\r\n1 2 3\r\nFloor\r\ntrimesh()\r\nmesh\r\n3 1 0\r\n"
                                 "vertices\r\n0 0 0\r\n1 0 0\r\n1 1 0\r\nend\r\nfaces\r\n0 1 2\r\nend\r\n"
                                 "normals\r\n0 0 1\r\n0 0 1\r\n0 0 1\r\nend\r\ntexcoords\r\nend\r\n"
                                 "texfaces\r\n0 0 0\r\nend\r\n}\r\n");
    ConvertOptions options;
    options.model = "level.gms";
    options.output = "level.kgf";
    options.tangent = 2;
    ASSERT_EQ(run(options), 0) << errors << log();
    const SceneFileContents scene = readScene("level.kgf");
    ASSERT_EQ(scene.Objects.size(), 1u);
    EXPECT_EQ(scene.Objects[0]->Trans->Position, (Vector3{1, 2, 3}));
    EXPECT_EQ(scene.Lines, (std::vector<std::string>{"addmesh <FloorMesh>"}));
    EXPECT_EQ(readMesh("FloorMesh")->VertexCount, 3);

    options.scale = 2;
    EXPECT_EQ(run(options), 1);
    EXPECT_THAT(errors, HasSubstr("--scale applies to OBJ models only"));
}

} // namespace
} // namespace ra7
