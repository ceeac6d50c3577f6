// The converter's long work in steps: files staged and committed together,
// a stop half-way that leaves nothing behind, progress that reaches its end,
// converting again over the same meshes, and tangent space that can be
// swapped back exactly.
#include "ConvertSceneFixture.h"
#include "ConvertToScene.h"
#include "ConverterLines.h"
#include "EditConvert.h"
#include "MeshFiles.h"
#include "SceneTangentSpace.h"
#include "StagedFiles.h"
#include "WorkProgress.h"

#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Log.h"
#include "runtime/PathResolver.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>
#include <gmock/gmock.h>

#include <cmath>
#include <filesystem>
#include <limits>

namespace ra7 {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Two triangles per group, as many groups as asked, named g0, g1, ...
std::string groupsModel(int groups)
{
    std::string text = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n";
    for (int g = 0; g < groups; ++g)
        text += "g g" + std::to_string(g) + "\nf 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";
    return text;
}

std::vector<std::string> filesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class StagedWorkTest : public test::ConvertSceneTest {
protected:
    void SetUp() override
    {
        ConvertSceneTest::SetUp();
        fs::create_directory("meshes");
    }
    TModel model(int groups)
    {
        test::writeFile("model.obj", groupsModel(groups));
        return LoadOBJ("model.obj");
    }
};

TEST_F(StagedWorkTest, StagedFilesReplaceTheirTargetsOnlyWhenCommitted)
{
    test::writeFile("meshes/old.bin", "old");
    StagedFiles files;
    files.Stage("meshes\\old.bin", [](RecordWriter& file) { file.writeInt32(7); });
    files.Stage("meshes\\new.bin", [](RecordWriter& file) { file.writeInt32(8); });
    EXPECT_EQ(test::readFile("meshes/old.bin"), "old");
    EXPECT_FALSE(fs::exists("meshes/new.bin"));
    files.Commit();
    EXPECT_EQ(test::readFile("meshes/old.bin"), std::string("\x07\0\0\0", 4));
    EXPECT_EQ(test::readFile("meshes/new.bin"), std::string("\x08\0\0\0", 4));
    EXPECT_THAT(filesIn("meshes"), ElementsAre("new.bin", "old.bin"));
}

TEST_F(StagedWorkTest, StagedFilesDroppedWithoutCommitLeaveTheFolderAsItWas)
{
    test::writeFile("meshes/old.bin", "old");
    {
        StagedFiles files;
        files.Stage("meshes\\old.bin", [](RecordWriter& file) { file.writeInt32(7); });
        files.Stage("meshes\\other.bin", [](RecordWriter& file) { file.writeInt32(8); });
        EXPECT_EQ(filesIn("meshes").size(), 3u);
    }
    EXPECT_THAT(filesIn("meshes"), ElementsAre("old.bin"));
    EXPECT_EQ(test::readFile("meshes/old.bin"), "old");
}

TEST_F(StagedWorkTest, AStagingThatThrowsLeavesNoTemporaryFile)
{
    StagedFiles files;
    EXPECT_THROW(files.Stage("meshes\\broken.bin",
                             [](RecordWriter& file) {
                                 file.writeInt32(1);
                                 throw Error("no more");
                             }),
                 Error);
    EXPECT_TRUE(files.Empty());
    EXPECT_TRUE(filesIn("meshes").empty());
}

TEST_F(StagedWorkTest, ConversionStoppedAtTheThirdGroupLeavesNoFileAndAddsNothing)
{
    const TModel read = model(6);
    WorkProgress progress;
    progress.Observer = [&progress](const WorkProgress::State& state) {
        if (state.done == 3)
            progress.Cancel();
    };
    EXPECT_THROW(PrepareOBJConversion(read, "meshes", &progress), WorkCancelled);
    EXPECT_TRUE(filesIn("meshes").empty());
    EXPECT_EQ(Meshes->Count(), 0);
    EXPECT_EQ(SceneObjects->Count(), 0);
}

TEST_F(StagedWorkTest, PreparedConversionWritesNothingUntilCommittedAndAddsOnlyWhenAsked)
{
    const TModel read = model(3);
    WorkProgress progress;
    std::vector<std::int64_t> reached;
    progress.Observer = [&](const WorkProgress::State& state) { reached.push_back(state.done); };
    PreparedConversion prepared = PrepareOBJConversion(read, "meshes", &progress);
    EXPECT_THAT(reached, ElementsAre(0, 1, 2, 3));
    EXPECT_EQ(progress.Read().total, 3);
    EXPECT_EQ(filesIn("meshes").size(), 3u) << "three staged files, no target yet";
    EXPECT_FALSE(fs::exists("meshes/G0.mes"));
    EXPECT_EQ(Meshes->Count(), 0);
    prepared.Files.Commit();
    EXPECT_THAT(filesIn("meshes"), ElementsAre("G0.mes", "G1.mes", "G2.mes"));
    const ConversionResult result = AddConvertedModel(read, prepared);
    EXPECT_THAT(result.ObjectNames, ElementsAre("G0", "G1", "G2"));
    EXPECT_EQ(Meshes->Count(), 3);
}

TEST_F(StagedWorkTest, ConvertingAgainReplacesTheMeshInItsSlotAndHandsBackTheOldOne)
{
    // A mesh that another model left in the list stays in slot 0.
    auto other = std::make_unique<KaMesh>();
    other->Name = "other.mes";
    Meshes->Add(std::move(other));
    TModel read = model(1);
    ConvertOBJModel(read, "meshes");
    ASSERT_EQ(Meshes->Get(1).Name, "meshes\\G0.mes");
    EXPECT_EQ(Meshes->Get(1).Vertices[1], (Vector3{1, 0, 0}));

    ScaleModel(read, 2);
    ConversionResult again = ConvertOBJModel(read, "meshes");
    ASSERT_EQ(Meshes->Count(), 2);
    EXPECT_EQ(Meshes->Get(0).Name, "other.mes");
    EXPECT_EQ(Meshes->Get(1).Vertices[1], (Vector3{2, 0, 0})) << "the scene draws what the file holds";
    ASSERT_EQ(again.ReplacedMeshes.size(), 1u);
    EXPECT_EQ(again.ReplacedMeshes[0]->Vertices[1], (Vector3{1, 0, 0}));
    KaMesh saved;
    RecordReader file = RecordReader::openFile("meshes\\G0.mes");
    ReadMeshFile(file, saved);
    EXPECT_EQ(saved.Vertices, Meshes->Get(1).Vertices);
}

TEST_F(StagedWorkTest, StagedCopyAppearsOnlyWhenCommittedAndAMissingSourceStagesNothing)
{
    test::writeFile("wood.tga", "wood");
    StagedFiles files;
    EXPECT_FALSE(files.StageCopy("meshes\\WOOD.TGA", "wood.tga"));
    EXPECT_TRUE(files.Holds("meshes\\WOOD.TGA"));
    EXPECT_FALSE(fs::exists("meshes/WOOD.TGA"));
    EXPECT_TRUE(files.StageCopy("meshes\\GONE.TGA", "gone.tga")) << "an error for a missing source";
    EXPECT_FALSE(files.Holds("meshes\\GONE.TGA"));
    files.Commit();
    EXPECT_THAT(filesIn("meshes"), ElementsAre("WOOD.TGA"));
    EXPECT_EQ(test::readFile("meshes/WOOD.TGA"), "wood");
}

// Three groups sharing one material whose texture lies beside the model.
class StagedTextureTest : public StagedWorkTest {
protected:
    TModel texturedModel()
    {
        test::writeFile("model.mtl", "newmtl painted\nmap_Kd beside.tga\n");
        test::writeSolidTga("beside.tga", 2, 255, 0, 0);
        std::string text = "mtllib model.mtl\n" + groupsModel(0);
        for (int g = 0; g < 3; ++g)
            text += "g g" + std::to_string(g) + "\nusemtl painted\nf 1/1/1 2/2/1 3/3/1\n";
        test::writeFile("model.obj", text);
        return LoadOBJ("model.obj");
    }
};

TEST_F(StagedTextureTest, ATextureCopyIsStagedWithTheMeshesSoAStopLeavesNoCopy)
{
    const TModel read = texturedModel();
    WorkProgress progress;
    progress.Observer = [&progress](const WorkProgress::State& state) {
        if (state.done == 2)
            progress.Cancel();
    };
    EXPECT_THROW(PrepareOBJConversion(read, "meshes", &progress), WorkCancelled);
    EXPECT_TRUE(filesIn("meshes").empty()) << "neither the meshes nor the texture's copy";
    EXPECT_FALSE(test::logHas("Текстура")) << "nothing was copied, so nothing is told";
}

TEST_F(StagedTextureTest, ATextureSharedByThreeGroupsIsCopiedOnceAndToldWhenAdded)
{
    const TModel read = texturedModel();
    PreparedConversion prepared = PrepareOBJConversion(read, "meshes");
    EXPECT_THAT(prepared.Files.Targets(),
                ElementsAre("meshes\\G0.mes", "meshes\\BESIDE.TGA", "meshes\\G1.mes", "meshes\\G2.mes"));
    EXPECT_FALSE(fs::exists("meshes/BESIDE.TGA"));
    EXPECT_FALSE(test::logHas("Текстура")) << "the worker thread leaves the log alone";
    prepared.Files.Commit();
    const ConversionResult result = AddConvertedModel(read, prepared);
    EXPECT_EQ(test::readFile("meshes/BESIDE.TGA"), test::readFile("beside.tga"));
    EXPECT_THAT(result.TextureNames, ElementsAre("meshes\\BESIDE.TGA"));
    EXPECT_EQ(std::count_if(LogLines().begin(), LogLines().end(),
                            [](const std::string& line) {
                                return line.starts_with("- Текстура ") &&
                                       line.ends_with(" скопирована в meshes\\BESIDE.TGA");
                            }),
              1);
    for (const std::string& name : result.MaterialNames)
        EXPECT_EQ(Materials->Find(name)->Textures[0], "meshes\\BESIDE.TGA") << name;
}

TEST_F(StagedWorkTest, ConversionFolderIsRelativeUnderTheWorkingDirectoryAndAbsoluteOutside)
{
    fs::create_directories("meshes/rocks");
    EXPECT_EQ(ConversionFolder((dir() / "meshes" / "rocks").string()), "meshes\\rocks");
    EXPECT_EQ(ConversionFolder("meshes/rocks"), "meshes\\rocks");
    const fs::path outside = dir().parent_path();
    EXPECT_EQ(ConversionFolder(outside.string()), storedForm(outside.string()))
        << "a folder outside is kept whole, never cut to garbage";
}

TEST_F(StagedWorkTest, ScaleMustBeAFiniteNumberAboveZero)
{
    EXPECT_TRUE(IsUsableScale(2));
    EXPECT_TRUE(IsUsableScale(0.001f));
    EXPECT_FALSE(IsUsableScale(0));
    EXPECT_FALSE(IsUsableScale(-1));
    EXPECT_FALSE(IsUsableScale(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(IsUsableScale(std::numeric_limits<float>::quiet_NaN()));
}

TEST_F(StagedWorkTest, ReadingReportsEveryByteAndStopsWhenAsked)
{
    test::writeFile("model.obj", groupsModel(40000));
    const auto size = static_cast<std::int64_t>(fs::file_size("model.obj"));
    ASSERT_GT(size, std::int64_t{1} << 20) << "more than one block";
    WorkProgress progress;
    const TModel read = LoadOBJ("model.obj", {}, &progress);
    EXPECT_EQ(progress.Read().done, size);
    EXPECT_EQ(progress.Read().total, size);
    EXPECT_EQ(ModelFaceCount(read), 80000);

    WorkProgress stopped;
    stopped.Cancel();
    EXPECT_THROW(LoadOBJ("model.obj", {}, &stopped), WorkCancelled);
}

// Tangent space in its three steps.
class StagedTangentTest : public StagedWorkTest {
protected:
    void SetUp() override
    {
        StagedWorkTest::SetUp();
        ConvertOBJModel(model(2), "meshes");
    }
};

TEST_F(StagedTangentTest, SwappingTwicePutsTheArraysBackExactly)
{
    const KaGeomData3 before = Meshes->Get(0).Tangents;
    TangentSpaceJob job = PlanTangentSpace(TangentMethod::Gradients);
    ComputeTangentSpace(job);
    EXPECT_EQ(Meshes->Get(0).Tangents, before) << "nothing changes before the swap";
    SwapTangentArrays(job);
    EXPECT_EQ(Meshes->Get(0).Tangents, KaGeomData3(6, Vector3{1, 0, 0}));
    SwapTangentArrays(job);
    EXPECT_EQ(Meshes->Get(0).Tangents, before);
}

TEST_F(StagedTangentTest, SwapRefusesWhenAMeshIsGoneAndChangesNothing)
{
    TangentSpaceJob job = PlanTangentSpace(TangentMethod::Gradients);
    ComputeTangentSpace(job);
    Meshes->Delete(Meshes->IndexOf("meshes\\G1.mes"));
    EXPECT_THROW(SwapTangentArrays(job), Error);
    EXPECT_EQ(Meshes->Get(0).Tangents, KaGeomData3(6));
}

TEST_F(StagedTangentTest, MeshesInVideoMemoryAreNamedAndTheReasonSaysUseVbo)
{
    for (std::int32_t i = 0; i < Meshes->Count(); ++i) {
        KaMesh& mesh = Meshes->Get(i);
        mesh.Vertices.clear(); // as Upload leaves them
        mesh.Normals.clear();
        mesh.TexCoords.clear();
    }
    const TangentSpaceReport report = ApplyTangentSpace(TangentMethod::IsoLines);
    EXPECT_EQ(report.Computed, 0);
    EXPECT_THAT(report.InVideoMemory, ElementsAre("meshes\\G0.mes", "meshes\\G1.mes"));
    EXPECT_THAT(TangentNothingDoneReason(report), HasSubstr("USE VBO"));
    EXPECT_THAT(TangentReportLines(report).front(), HasSubstr("Tangent space не посчитан"));
}

TEST_F(StagedTangentTest, MenderRunStoppedWhileWritingLeavesEveryFileAsItWas)
{
    std::string whyNot;
    const auto library = MeshMenderLibrary::Open(RA7_MESHMENDER_PATH, whyNot);
    ASSERT_TRUE(library) << whyNot;
    const std::string before = test::readFile("meshes/G0.mes");
    TangentSpaceJob job = PlanTangentSpace(TangentMethod::MeshMender, library.get());
    WorkProgress progress;
    progress.Observer = [&progress](const WorkProgress::State& state) {
        if (state.what == "Запись мешей" && state.done == 1)
            progress.Cancel();
    };
    EXPECT_THROW(ComputeTangentSpace(job, &progress), WorkCancelled);
    job.Files.Discard();
    EXPECT_EQ(test::readFile("meshes/G0.mes"), before);
    EXPECT_THAT(filesIn("meshes"), ElementsAre("G0.mes", "G1.mes"));
    EXPECT_EQ(Meshes->Get(0).Tangents, KaGeomData3(6)) << "the list's meshes are untouched";
}

TEST_F(StagedTangentTest, OneMeshThatCannotBeWrittenDoesNotStopTheOthers)
{
    auto uploaded = std::make_unique<KaMesh>();
    uploaded->Name = "meshes\\uploaded.mes";
    uploaded->VertexCount = 3;
    uploaded->IndexCount = 3;
    Meshes->InsertAt(0, std::move(uploaded)); // first in the list
    test::writeFile("meshes/G0.mes", "stale");
    StagedFiles files;
    const auto failures = StageMeshes(files, AllMeshes(), nullptr);
    files.Commit();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].Name, "meshes\\uploaded.mes");
    EXPECT_THAT(MeshWriteFailureLine(failures[0]), HasSubstr("не записан"));
    EXPECT_NE(test::readFile("meshes/G0.mes"), "stale") << "the meshes after the failure were written";
    EXPECT_FALSE(fs::exists("meshes/uploaded.mes"));
}

} // namespace
} // namespace ra7
