// Meshes chosen on the geometry panel: the stored name, the mesh's own name
// in the field, shared meshes that stay, damaged and missing files.

#include "core/ChosenResources.h"
#include "core/EditorDocument.h"
#include "core/PropertyEdits.h"
#include "core/PropertyFields.h"
#include "engine/SceneTestSupport.h"
#include "engine/TestSupport.h"
#include "resources/Ka7MeshList.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7SceneGeom.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace ra7::editor {
namespace {

namespace fs = std::filesystem;
using Outcome = ChosenResource::Outcome;

void writeMesh(const fs::path& file, const std::string& meshName)
{
    ra7::test::saveMesh(*ra7::test::triangleMesh(meshName), file);
}

class ChosenMeshes : public ra7::test::SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        Meshes = std::make_unique<KaMeshList>();
        document = std::make_unique<EditorDocument>(scene());
    }
    void TearDown() override
    {
        document.reset();
        Meshes.reset();
        SceneTest::TearDown();
    }
    std::string chosen(const std::string& relative) const { return (dir() / relative).string(); }

    std::unique_ptr<EditorDocument> document;
};

// A converted mesh keeps its file's path in its original letter case as its
// name, while the chosen file is stored in lower case: the field used to get
// the file name, which named no mesh.
TEST_F(ChosenMeshes, TheFieldGetsTheMeshsOwnNameAndAChoiceAgainFindsItLoaded)
{
    writeMesh(dir() / "Meshes" / "Crate.mes", "Meshes\\Crate.mes");
    const ChosenResource first = LoadChosenMesh(chosen("Meshes/Crate.mes"));
    EXPECT_EQ(first.outcome, Outcome::Loaded);
    EXPECT_EQ(first.storedName, "meshes\\crate.mes");
    EXPECT_EQ(first.fieldValue, "Meshes\\Crate.mes");
    EXPECT_EQ(first.ConsoleLine(), "Файл <meshes\\crate.mes> добавлен");
    ASSERT_EQ(Meshes->Count(), 1);

    const ChosenResource again = LoadChosenMesh(chosen("Meshes/Crate.mes"));
    EXPECT_EQ(again.outcome, Outcome::Loaded);
    EXPECT_EQ(again.fieldValue, "Meshes\\Crate.mes");
    EXPECT_EQ(Meshes->Count(), 1);
}

// Choosing a level of detail used to delete the mesh the box named before,
// blanking every other object (and level) that shared it.
TEST_F(ChosenMeshes, AMeshOtherObjectsShareStaysWhenOneObjectTakesAnother)
{
    writeMesh(dir() / "crate.mes", "crate.mes");
    writeMesh(dir() / "barrel.mes", "barrel.mes");
    const ChosenResource crate = LoadChosenMesh(chosen("crate.mes"));
    auto& a = add<KaGeometry>("a");
    auto& b = add<KaGeometry>("b");
    for (KaGeometry* geometry : {&a, &b})
        geometry->MeshName = geometry->MeshLod1 = crate.fieldValue;

    const ChosenResource barrel = LoadChosenMesh(chosen("barrel.mes"));
    document->Execute(NameEdit(scene(), "a", GeometryMeshFields()[0], barrel.fieldValue));
    EXPECT_EQ(a.MeshName, "barrel.mes");
    EXPECT_EQ(a.MeshLod1, "crate.mes");
    EXPECT_EQ(b.MeshName, "crate.mes");
    EXPECT_GE(Meshes->IndexOf("crate.mes"), 0);
    EXPECT_GE(Meshes->IndexOf("barrel.mes"), 0);
    document->Undo();
    EXPECT_EQ(a.MeshName, "crate.mes");
}

TEST_F(ChosenMeshes, ADamagedFileFailsWithItsReasonAndLoadsNothing)
{
    test::writeFile(dir() / "broken.mes", std::string("\3mes\5crate", 10));
    const ChosenResource broken = LoadChosenMesh(chosen("broken.mes"));
    EXPECT_EQ(broken.outcome, Outcome::Failed);
    EXPECT_THAT(broken.error, ::testing::HasSubstr("broken.mes"));
    EXPECT_THAT(broken.ConsoleLine(), ::testing::StartsWith("! "));
    EXPECT_EQ(Meshes->Count(), 0);
}

TEST_F(ChosenMeshes, AMissingFileIsReportedAndStillNamesTheField)
{
    const ChosenResource missing = LoadChosenMesh(chosen("Gone.MES"));
    EXPECT_EQ(missing.outcome, Outcome::Missing);
    EXPECT_EQ(missing.fieldValue, "gone.mes");
    EXPECT_EQ(missing.ConsoleLine(), "Файл <gone.mes> не найден");
}

// The chosen path used to be cut by the length of the working directory,
// storing a mangled name for a file outside it.
TEST_F(ChosenMeshes, AFileOutsideTheWorkingDirectoryKeepsItsWholePath)
{
    const fs::path outside = dir().parent_path() / (dir().filename().string() + "-elsewhere");
    writeMesh(outside / "rock.mes", "rock");
    const ChosenResource rock = LoadChosenMesh((outside / "rock.mes").string());
    fs::remove_all(outside);
    EXPECT_EQ(rock.outcome, Outcome::Loaded);
    EXPECT_TRUE(fs::path(rock.storedName).is_absolute() || rock.storedName.starts_with("\\"))
        << rock.storedName;
    EXPECT_EQ(rock.fieldValue, "rock");
}

} // namespace
} // namespace ra7::editor
