#include "engine/GLTestSupport.h"

#include "resources/Ka7MeshList.h"
#include "runtime/Capabilities.h"
#include "runtime/Errors.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "runtime/RecordFile.h"

#include <epoxy/gl.h>

#include <gmock/gmock.h>

#include <cstring>

namespace ra7 {
namespace {

using test::saveMesh;

using ::testing::HasSubstr;

// A square of two triangles covering [-s, s]² at z = 0, facing +z, with
// tangent space along x and y.
void fillSquare(KaMesh& mesh, const std::string& name, float s = 0.5f, bool tangents = true)
{
    mesh.Name = name;
    mesh.Vertices = {{-s, -s, 0}, {s, -s, 0}, {s, s, 0}, {-s, s, 0}};
    mesh.Normals.assign(4, Vector3{0, 0, 1});
    mesh.TexCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    if (tangents) {
        mesh.Tangents.assign(4, Vector3{1, 0, 0});
        mesh.Binormals.assign(4, Vector3{0, 1, 0});
    }
    mesh.Indices = {0, 1, 2, 0, 2, 3};
    mesh.VertexCount = 4;
    mesh.IndexCount = 6;
}

std::string meshBytes(const std::string& name, float s = 0.5f)
{
    KaMesh mesh;
    fillSquare(mesh, name, s);
    saveMesh(mesh, "scratch.mes");
    std::string bytes = test::readFile("scratch.mes");
    std::filesystem::remove("scratch.mes");
    return bytes;
}

void putInt32(std::string& bytes, std::size_t offset, std::int32_t value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

class MeshTest : public test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        Meshes = std::make_unique<KaMeshList>();
    }

    // Draws the mesh in white with fixed-function state and returns the frame.
    std::vector<std::uint8_t> drawn(KaMesh& mesh)
    {
        beginFrame();
        mesh.Draw();
        return frame();
    }

    static bool covered(const std::vector<std::uint8_t>& frame, int x0, int y0, int x1, int y1)
    {
        return regionMean(frame, x0, y0, x1, y1)[0] > 250;
    }
};

TEST_F(MeshTest, FileLayoutIsTagNameCountsIndicesThenFiveVertexBlocks)
{
    const std::string bytes = meshBytes("dir\\box.mes");
    ASSERT_EQ(bytes.size(), 268u + 4 * 6 + 56 * 4);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x03mes", 4));
    EXPECT_EQ(bytes[4], 11);
    EXPECT_EQ(bytes.substr(5, 11), "dir\\box.mes");
    std::int32_t counts[2];
    std::memcpy(counts, bytes.data() + 260, sizeof counts);
    EXPECT_EQ(counts[0], 4);
    EXPECT_EQ(counts[1], 6);
    float firstVertex[3];
    std::memcpy(firstVertex, bytes.data() + 268 + 24, sizeof firstVertex);
    EXPECT_EQ(firstVertex[0], -0.5f);
    float lastBinormal[3];
    std::memcpy(lastBinormal, bytes.data() + bytes.size() - 12, sizeof lastBinormal);
    EXPECT_EQ(lastBinormal[1], 1.0f);
}

TEST_F(MeshTest, SavedMeshReadsBackAndSavesAgainByteForByte)
{
    KaMesh original;
    fillSquare(original, "box.mes");
    original.Vertices[2] = {0.25f, -3.5e-7f, 1e30f};
    saveMesh(original, "box.mes");

    KaMesh* loaded = Meshes->LoadMesh("box.mes");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Name, "box.mes");
    EXPECT_EQ(loaded->VertexCount, 4);
    EXPECT_EQ(loaded->IndexCount, 6);
    EXPECT_EQ(loaded->Vertices, original.Vertices);
    EXPECT_EQ(loaded->Normals, original.Normals);
    EXPECT_EQ(loaded->TexCoords, original.TexCoords);
    EXPECT_EQ(loaded->Tangents, original.Tangents);
    EXPECT_EQ(loaded->Binormals, original.Binormals);
    EXPECT_EQ(loaded->Indices, original.Indices);

    saveMesh(*loaded, "again.mes");
    EXPECT_EQ(test::readFile("again.mes"), test::readFile("box.mes"));
}

TEST_F(MeshTest, LoadingTheSamePathTwiceKeepsOneMeshAndLeavesChangedAlone)
{
    KaMesh mesh;
    fillSquare(mesh, "box.mes");
    saveMesh(mesh, "box.mes");
    ASSERT_NE(Meshes->LoadMesh("box.mes"), nullptr);
    EXPECT_TRUE(Meshes->TakeChanged());
    EXPECT_EQ(Meshes->LoadMesh("box.mes"), nullptr);
    EXPECT_EQ(Meshes->Count(), 1);
    EXPECT_FALSE(Meshes->TakeChanged());
}

TEST_F(MeshTest, ASecondFileStoringATakenNameIsLoggedAndLeftOut)
{
    KaMesh mesh;
    fillSquare(mesh, "shared name");
    saveMesh(mesh, "a.mes");
    saveMesh(mesh, "b.mes");
    ASSERT_NE(Meshes->LoadMesh("a.mes"), nullptr);
    EXPECT_EQ(Meshes->LoadMesh("b.mes"), nullptr);
    EXPECT_EQ(Meshes->Count(), 1);
    EXPECT_EQ(LogLines().back(), FormatLogLine("! Меш \"shared name\" из файла b.mes уже загружен"));
}

TEST_F(MeshTest, AMissingFileIsAnErrorNamingItAndAnEmptyNameLoadsNothing)
{
    EXPECT_THAT([] { Meshes->LoadMesh("meshes\\nothing.mes"); },
                ::testing::ThrowsMessage<FileError>(
                    ::testing::StrEq("meshes\\nothing.mes: cannot open file: No such file or directory")));
    std::filesystem::create_directory("folder.mes");
    EXPECT_THROW(Meshes->LoadMesh("folder.mes"), FileError);
    EXPECT_EQ(Meshes->LoadMesh(""), nullptr);
    EXPECT_EQ(Meshes->Count(), 0);
    EXPECT_FALSE(Meshes->Changed);
}

struct Damage {
    const char* what;
    void (*apply)(std::string& bytes);
    std::uint64_t offset;
    const char* message;
};

class DamagedMeshTest : public MeshTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedMeshTest, IsRefusedWithFileAndOffsetAndLeavesTheListAlone)
{
    KaMesh good;
    fillSquare(good, "good.mes");
    saveMesh(good, "good.mes");
    ASSERT_NE(Meshes->LoadMesh("good.mes"), nullptr);
    Meshes->TakeChanged();

    std::string bytes = meshBytes("bad.mes");
    GetParam().apply(bytes);
    test::writeFile("bad.mes", bytes);
    try {
        Meshes->LoadMesh("bad.mes");
        FAIL() << GetParam().what << " was accepted";
    } catch (const FileError& error) {
        EXPECT_EQ(error.fileName(), "bad.mes");
        EXPECT_EQ(error.place().kind, FilePlace::Kind::Offset);
        EXPECT_EQ(error.place().value, GetParam().offset);
        EXPECT_THAT(error.detail(), HasSubstr(GetParam().message));
    }
    EXPECT_EQ(Meshes->Count(), 1);
    EXPECT_EQ(Meshes->IndexOf("bad.mes"), -1);
    EXPECT_FALSE(Meshes->Changed);
}

INSTANTIATE_TEST_SUITE_P(
    Meshes, DamagedMeshTest,
    ::testing::Values(
        Damage{"a negative vertex count", [](std::string& b) { putInt32(b, 260, -4); }, 260,
               "vertex count -4"},
        Damage{"a negative index count", [](std::string& b) { putInt32(b, 264, -6); }, 264, "index count -6"},
        Damage{"index count 0", [](std::string& b) { putInt32(b, 264, 0); }, 264, "at least one index"},
        Damage{"a vertex count larger than the file", [](std::string& b) { putInt32(b, 260, 0x7fffffff); },
               260, "the file has"},
        Damage{"an index count larger than the file", [](std::string& b) { putInt32(b, 264, 1000); }, 260,
               "1000 indices"},
        Damage{"an index past the vertex count", [](std::string& b) { putInt32(b, 268 + 4 * 4, 4); },
               268 + 4 * 4, "index 4 is 4, not below the vertex count 4"},
        Damage{"a file cut inside the binormals", [](std::string& b) { b.resize(b.size() - 5); }, 260,
               "the file has"},
        Damage{"a file cut inside the name", [](std::string& b) { b.resize(100); }, 4, "unexpected end"},
        Damage{"a file cut inside the counts", [](std::string& b) { b.resize(262); }, 260,
               "unexpected end"}));

TEST_F(MeshTest, SavingRefusesIncompleteMeshes)
{
    KaMesh noIndex;
    fillSquare(noIndex, "a.mes");
    noIndex.Indices.clear();
    noIndex.IndexCount = 0;
    EXPECT_THROW(saveMesh(noIndex, "a.mes"), Error);

    KaMesh noTangents;
    fillSquare(noTangents, "b.mes", 0.5f, false);
    EXPECT_THROW(saveMesh(noTangents, "b.mes"), Error);
    EXPECT_FALSE(std::filesystem::exists("a.mes"));
    EXPECT_FALSE(std::filesystem::exists("b.mes"));
}

TEST_F(MeshTest, UploadWithoutVertexBufferObjectsIsRefused)
{
    KaMesh mesh;
    fillSquare(mesh, "a");
    try {
        mesh.Upload();
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "VBO not support");
    }
}

TEST_F(MeshTest, UploadMovesTheDataIntoSixBuffersAndLeavesNoCpuCopy)
{
    detect(true, false, false);
    ASSERT_TRUE(Settings.UseVBO);
    KaMesh mesh;
    fillSquare(mesh, "plain", 0.5f, false);
    mesh.Upload();
    EXPECT_TRUE(mesh.Vertices.empty() && mesh.Normals.empty() && mesh.TexCoords.empty() &&
                mesh.Indices.empty() && mesh.Vertices.capacity() == 0 && mesh.Indices.capacity() == 0);
    const std::array<GLint, 6> expectedSizes = {48, 48, 32, 24, 0, 0};
    const auto buffers = mesh.Buffers();
    for (std::size_t i = 0; i < 6; ++i) {
        ASSERT_NE(buffers[i], 0u);
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, buffers[i]);
        GLint size = -1;
        glGetBufferParameterivARB(GL_ARRAY_BUFFER_ARB, GL_BUFFER_SIZE_ARB, &size);
        EXPECT_EQ(size, expectedSizes[i]) << "buffer " << i;
    }
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    // Without client arrays there is nothing left to save.
    EXPECT_THROW(saveMesh(mesh, "plain.mes"), Error);
    // The mesh still draws from its buffers, tangent-space buffers left out.
    EXPECT_TRUE(covered(drawn(mesh), 20, 20, 44, 44));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MeshTest, DrawsFromClientArraysAndFromBuffersAlike)
{
    KaMesh client;
    fillSquare(client, "client");
    auto pixels = drawn(client);
    EXPECT_TRUE(covered(pixels, 20, 20, 44, 44));
    EXPECT_EQ(regionMean(pixels, 0, 0, 10, 10)[0], 0.0);

    detect(true, false, false);
    KaMesh uploaded;
    fillSquare(uploaded, "uploaded", 0.25f);
    uploaded.Upload();
    pixels = drawn(uploaded);
    EXPECT_TRUE(covered(pixels, 26, 26, 38, 38));
    EXPECT_EQ(regionMean(pixels, 16, 16, 22, 22)[0], 0.0) << "the smaller square only";
}

TEST_F(MeshTest, ResettingTheDisplayListRecompilesChangedArrays)
{
    KaMesh mesh;
    fillSquare(mesh, "m", 0.25f);
    drawn(mesh);
    const std::uint32_t first = mesh.DisplayList();
    fillSquare(mesh, "m", 0.9f);
    EXPECT_EQ(regionMean(drawn(mesh), 6, 6, 10, 10)[0], 0.0) << "the old list still draws the old square";
    mesh.ResetDisplayList();
    EXPECT_TRUE(covered(drawn(mesh), 6, 6, 10, 10));
    EXPECT_FALSE(glIsList(first)) << "the old list is deleted";
}

TEST_F(MeshTest, DeletingTheFirstOfThreeMovesTheLastWithItsOwnGpuObjects)
{
    detect(true, false, false);
    const float sizes[3] = {0.9f, 0.5f, 0.25f};
    for (int i = 0; i < 3; ++i) {
        KaMesh mesh;
        fillSquare(mesh, "m" + std::to_string(i) + ".mes", sizes[i]);
        saveMesh(mesh, mesh.Name);
        ASSERT_NE(Meshes->LoadMesh(mesh.Name), nullptr);
    }
    for (int i = 0; i < 3; ++i)
        drawn(Meshes->Get(i));
    const auto deletedBuffers = Meshes->Get(0).Buffers();
    const std::uint32_t deletedList = Meshes->Get(0).DisplayList();
    const auto movedBuffers = Meshes->Get(2).Buffers();
    const std::uint32_t movedList = Meshes->Get(2).DisplayList();
    Meshes->TakeChanged();

    Meshes->Delete(0);
    EXPECT_TRUE(Meshes->Changed);
    ASSERT_EQ(Meshes->Count(), 2);
    EXPECT_EQ(Meshes->Get(0).Name, "m2.mes");
    EXPECT_EQ(Meshes->Get(0).DisplayList(), movedList);
    EXPECT_EQ(Meshes->Get(0).Buffers(), movedBuffers);
    EXPECT_FALSE(glIsList(deletedList));
    EXPECT_FALSE(glIsBufferARB(deletedBuffers[0]));
    EXPECT_TRUE(glIsBufferARB(movedBuffers[0]));

    const auto pixels = drawn(Meshes->Get(0));
    EXPECT_TRUE(covered(pixels, 26, 26, 38, 38));
    EXPECT_EQ(regionMean(pixels, 4, 4, 10, 10)[0], 0.0);
    EXPECT_THROW(Meshes->Delete(2), Error);
}

TEST_F(MeshTest, ACopySharesGpuObjectsAndOutlivesTheOriginal)
{
    detect(true, false, false);
    KaMesh mesh;
    fillSquare(mesh, "a.mes");
    saveMesh(mesh, "a.mes");
    KaMesh* original = Meshes->LoadMesh("a.mes");
    drawn(*original);
    EXPECT_EQ(Meshes->AddCopy(*original), nullptr) << "the name is taken";
    KaMesh* copy = nullptr;
    {
        KaMesh renamed;
        renamed.Assign(*original);
        renamed.Name = "b.mes";
        copy = Meshes->AddCopy(renamed);
    }
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Buffers(), original->Buffers());
    EXPECT_EQ(copy->DisplayList(), original->DisplayList());

    const auto buffers = original->Buffers();
    Meshes->Delete(0);
    ASSERT_EQ(Meshes->Get(0).Name, "b.mes");
    EXPECT_TRUE(glIsBufferARB(buffers[0])) << "still in use by the copy";
    EXPECT_TRUE(covered(drawn(Meshes->Get(0)), 20, 20, 44, 44));
    Meshes->Clear();
    EXPECT_FALSE(glIsBufferARB(buffers[0]));
}

TEST_F(MeshTest, SaveAllWritesEveryMeshToItsNameBetweenTwoLogLines)
{
    KaMesh a;
    fillSquare(a, "a.mes");
    KaMesh b;
    fillSquare(b, "sub\\b.mes", 0.3f);
    std::filesystem::create_directory("sub");
    Meshes->AddCopy(a);
    Meshes->AddCopy(b);
    Meshes->SaveAll();
    EXPECT_EQ(test::readFile("a.mes"), meshBytes("a.mes"));
    EXPECT_EQ(test::readFile("sub/b.mes"), meshBytes("sub\\b.mes", 0.3f));
    const auto& log = LogLines();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], FormatLogLine("--Cохраняю..."));
    EXPECT_EQ(log.back(), FormatLogLine("--Cохранено..."));
}

TEST_F(MeshTest, DescriptionNamesCountsAndBounds)
{
    KaMesh mesh;
    fillSquare(mesh, "box.mes", 2);
    saveMesh(mesh, "box.mes");
    const auto lines = DescribeMeshFile("box.mes");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "mesh \"box.mes\"");
    EXPECT_EQ(lines[1], "vertices: 4");
    EXPECT_EQ(lines[2], "indices: 6 (2 triangles)");
    EXPECT_THAT(lines[3], HasSubstr("-2.000000"));
}

} // namespace
} // namespace ra7
