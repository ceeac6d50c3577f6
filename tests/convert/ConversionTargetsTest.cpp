// What a conversion is about to write, checked before it writes: a model
// without faces, and the mesh files it would replace (the converter page
// asks about the same list that `ra7 convert` refuses with).
#include "ConversionTargets.h"

#include "engine/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ra7 {
namespace {

class ConversionTargets : public test::ScratchDirectoryTest {
protected:
    TModel read(std::string_view text)
    {
        TModel model;
        ReadOBJText(model, text, "model.obj", dir());
        return model;
    }
};

constexpr std::string_view kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

TEST_F(ConversionTargets, OnlyAModelWithAFaceHasSomethingToConvert)
{
    EXPECT_FALSE(ModelHasFaces(read("")));
    EXPECT_FALSE(ModelHasFaces(read(kTriangle)));
    EXPECT_FALSE(ModelHasFaces(read(std::string(kTriangle) + "g empty\n"))) << "a group without faces";
    EXPECT_TRUE(ModelHasFaces(read(std::string(kTriangle) + "g empty\ng full\nf 1 2 3\n")));
    EXPECT_TRUE(ModelHasFaces(read(std::string(kTriangle) + "f 1 2 3\n"))) << "the implicit DEFAULT group";
}

TEST_F(ConversionTargets, MeshFilesAlreadyThereAreListedInGroupOrder)
{
    const TModel model = read(std::string(kTriangle) + "g wall\nf 1 2 3\ng door\nf 1 2 3\ng wall\nf 3 2 1\n");
    EXPECT_TRUE(MeshFilesInTheWay(model, "meshes").empty());

    std::filesystem::create_directories("meshes");
    test::writeFile("meshes/door.mes", "x"); // another letter case: opened all the same
    test::writeFile("meshes/WALL_1.mes", "x");
    EXPECT_EQ(MeshFilesInTheWay(model, "meshes"),
              (std::vector<std::string>{"meshes\\DOOR.mes", "meshes\\WALL_1.mes"}));
    EXPECT_TRUE(MeshFilesInTheWay(model, "other").empty());
}

TEST_F(ConversionTargets, TheTextNamesUpToThreeFiles)
{
    EXPECT_EQ(FilesInTheWayText({"a.mes"}), "a.mes is already there");
    EXPECT_EQ(FilesInTheWayText({"a.mes", "b.mes"}), "a.mes, b.mes are already there");
    EXPECT_EQ(FilesInTheWayText({"a.mes", "b.mes", "c.mes", "d.mes", "e.mes"}),
              "a.mes, b.mes, c.mes and 2 more are already there");
}

TEST_F(ConversionTargets, ExistingMeshFilesKeepTheGivenOrder)
{
    test::writeFile("bMesh", "x");
    test::writeFile("aMesh", "x");
    EXPECT_EQ(ExistingMeshFiles({"bMesh", "cMesh", "aMesh"}), (std::vector<std::string>{"bMesh", "aMesh"}));
}

} // namespace
} // namespace ra7
