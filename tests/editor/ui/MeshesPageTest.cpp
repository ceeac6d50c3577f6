// The Meshes page under a real main window: meshes written by the engine's
// own saver, loaded, renamed, deleted and written again through the page's
// buttons, with every refusal the user must see.

#include "editor/ui/ConverterTestSupport.h"

#include "WorkProgress.h"
#include "core/EditorDocument.h"
#include "resources/Ka7MeshList.h"
#include "runtime/FileIO.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <QListWidget>

#include <gmock/gmock.h>

namespace fs = std::filesystem;

namespace ra7::editor {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A one-triangle mesh file whose record carries `storedName`.
void writeMesh(const fs::path& file, const std::string& storedName, float size = 1)
{
    ra7::test::saveMesh(*ra7::test::triangleMesh(storedName, size), file);
}

class MeshesWindow : public ConverterWindow {
protected:
    void load(const fs::path& file)
    {
        dialogs.answers.push_back(file.string());
        pressMeshes("LoadMeshButton");
    }
    void select(const std::string& name)
    {
        QListWidget& list = meshesPage().List();
        const auto found = list.findItems(QString::fromStdString(name), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name;
        list.setCurrentItem(found.front());
    }
    std::vector<std::string> listed()
    {
        std::vector<std::string> names;
        QListWidget& list = meshesPage().List();
        for (int i = 0; i < list.count(); ++i)
            names.push_back(list.item(i)->text().toStdString());
        return names;
    }
    // A geometry object in the scene naming meshes at its three levels.
    static void addGeometry(const std::string& name, const std::string& mesh, const std::string& lod1,
                            const std::string& lod2)
    {
        auto geometry = std::make_unique<KaGeometry>();
        geometry->SetName(name);
        geometry->MeshName = mesh;
        geometry->MeshLod1 = lod1;
        geometry->MeshLod2 = lod2;
        SceneObjects->Add(std::move(geometry));
    }
    static const KaGeometry& geometry(const std::string& name)
    {
        return dynamic_cast<const KaGeometry&>(*SceneObjects->FindByName(name));
    }
    // A mesh whose arrays went to vertex buffers: only its counts are left.
    static void addMeshInVideoMemory(const std::string& name)
    {
        auto mesh = std::make_unique<KaMesh>();
        mesh->Name = name;
        mesh->VertexCount = 3;
        mesh->IndexCount = 3;
        Meshes->Add(std::move(mesh));
    }
};

TEST_F(MeshesWindow, LoadKeepsTheNameAsChosenAndRefusesMissingOrLoadedFiles)
{
    startWithEditorData();
    writeMesh(dir() / "rock.MES", "rock.MES");
    load(dir() / "rock.MES");
    EXPECT_THAT(listed(), ElementsAre("rock.MES")) << "no rock.MES.mes";
    EXPECT_TRUE(hasLine("  --Загружено..."));
    EXPECT_EQ(form->Document()->UndoLabel(), "Загрузить меш rock.MES");

    load(dir() / "rock.MES");
    EXPECT_TRUE(hasLine("! Меш <rock.MES> уже загружен"));
    load(dir() / "gone");
    EXPECT_TRUE(hasLine("! Файл <gone.mes> не найден"));
    const auto lines = logLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  --Загружено..."), 1) << "a refusal is no success";
    EXPECT_THAT(listed(), ElementsAre("rock.MES"));

    action("ActionUndo")->trigger();
    EXPECT_TRUE(listed().empty());
    action("ActionRedo")->trigger();
    EXPECT_THAT(listed(), ElementsAre("rock.MES"));
}

TEST_F(MeshesWindow, SaveWritesFirstThenTheMeshAndEveryUserTakeTheNewName)
{
    startWithEditorData();
    writeMesh(dir() / "rock.mes", "rock.mes");
    load(dir() / "rock.mes");
    addGeometry("wall", "rock.mes", "other.mes", "rock.mes");
    fs::create_directory(dir() / "stones");
    select("rock.mes");
    dialogs.answers.push_back((dir() / "stones" / "Big").string());
    pressMeshes("SaveMeshButton");
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();

    const std::string renamed = "stones\\big.mes";
    EXPECT_THAT(listed(), ElementsAre(renamed));
    EXPECT_EQ(geometry("wall").MeshName, renamed);
    EXPECT_EQ(geometry("wall").MeshLod1, "other.mes");
    EXPECT_EQ(geometry("wall").MeshLod2, renamed);
    KaMesh saved;
    RecordReader file = RecordReader::openFile(renamed);
    ReadMeshFile(file, saved);
    EXPECT_EQ(saved.Name, renamed) << "the file holds the name it is saved under";
    EXPECT_TRUE(hasLine("  --Cохранено..."));

    action("ActionUndo")->trigger();
    EXPECT_THAT(listed(), ElementsAre("rock.mes"));
    EXPECT_EQ(geometry("wall").MeshName, "rock.mes");
    EXPECT_EQ(geometry("wall").MeshLod1, "other.mes");
    EXPECT_EQ(geometry("wall").MeshLod2, "rock.mes");
}

TEST_F(MeshesWindow, SaveUnderAnotherMeshsNameIsRefused)
{
    startWithEditorData();
    writeMesh(dir() / "rock.mes", "rock.mes");
    writeMesh(dir() / "tree.mes", "tree.mes", 2);
    load(dir() / "rock.mes");
    load(dir() / "tree.mes");
    const std::string treeFile = ra7::test::readFile(dir() / "tree.mes");
    select("rock.mes");
    dialogs.answers.push_back((dir() / "TREE.mes").string());
    pressMeshes("SaveMeshButton");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_THAT(dialogs.errors[0], HasSubstr("уже занято"));
    EXPECT_THAT(listed(), ElementsAre("rock.mes", "tree.mes"));
    EXPECT_EQ(ra7::test::readFile(dir() / "tree.mes"), treeFile);
}

TEST_F(MeshesWindow, AMeshThatCannotBeWrittenKeepsItsName)
{
    startWithEditorData();
    addMeshInVideoMemory("uploaded.mes");
    addGeometry("wall", "uploaded.mes", "", "");
    meshesPage().Refresh();
    select("uploaded.mes");
    dialogs.answers.push_back((dir() / "saved").string());
    pressMeshes("SaveMeshButton");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_THAT(dialogs.errors[0], HasSubstr("не записан"));
    EXPECT_THAT(listed(), ElementsAre("uploaded.mes"));
    EXPECT_EQ(geometry("wall").MeshName, "uploaded.mes");
    EXPECT_FALSE(fs::exists(dir() / "saved.mes"));
    EXPECT_FALSE(form->Document()->CanUndo());
}

TEST_F(MeshesWindow, DeletingAUsedMeshNamesItsUsersAndUndoPutsItBackInItsSlot)
{
    startWithEditorData();
    for (const char* name : {"a.mes", "b.mes", "c.mes"}) {
        writeMesh(dir() / name, name);
        load(dir() / name);
    }
    addGeometry("wall", "a.mes", "", "");
    addGeometry("door", "b.mes", "", "a.mes");
    const KaMesh* a = Meshes->Find("a.mes");
    select("a.mes");
    dialogs.confirmations.push_back(false);
    pressMeshes("DeleteMeshButton");
    EXPECT_THAT(dialogs.questions.back(), HasSubstr("wall, door"));
    EXPECT_THAT(listed(), ElementsAre("a.mes", "b.mes", "c.mes"));

    dialogs.confirmations.push_back(true);
    pressMeshes("DeleteMeshButton");
    EXPECT_THAT(listed(), ElementsAre("c.mes", "b.mes")) << "the last mesh moves into the gap";
    EXPECT_EQ(geometry("wall").MeshName, "a.mes") << "users keep the name";
    action("ActionUndo")->trigger();
    EXPECT_THAT(listed(), ElementsAre("a.mes", "b.mes", "c.mes"));
    EXPECT_EQ(Meshes->Find("a.mes"), a) << "the very mesh, with its GPU objects";
}

TEST_F(MeshesWindow, DeletingAMeshWithoutAFileWarnsAndTheEditorsOwnAreRefused)
{
    startWithEditorData();
    addMeshInVideoMemory("FloorMesh"); // as a GMS file leaves it: no file yet
    addMeshInVideoMemory("data\\arrow\\arrow.mes");
    meshesPage().SetEditorMeshes({"data\\arrow\\arrow.mes"});
    meshesPage().Refresh();
    select("FloorMesh");
    dialogs.confirmations.push_back(false);
    pressMeshes("DeleteMeshButton");
    EXPECT_THAT(dialogs.questions.back(), HasSubstr("не записан в файл"));
    EXPECT_NE(Meshes->Find("FloorMesh"), nullptr);

    select("data\\arrow\\arrow.mes");
    pressMeshes("DeleteMeshButton");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_THAT(dialogs.errors[0], HasSubstr("нужен моделям редактора"));
    EXPECT_NE(Meshes->Find("data\\arrow\\arrow.mes"), nullptr);
}

TEST_F(MeshesWindow, SaveAllWritesEveryMeshItCanAndNamesTheOthers)
{
    startWithEditorData();
    writeMesh(dir() / "a.mes", "a.mes");
    load(dir() / "a.mes");
    addMeshInVideoMemory("uploaded.mes");
    Meshes->AddCopy(*Meshes->Find("a.mes"));
    Meshes->Get(0).Name = "a.mes";
    auto gms = std::make_unique<KaMesh>();
    gms->Assign(*Meshes->Find("a.mes"));
    gms->Name = "FloorMesh"; // a GMS mesh: a bare name in the working directory
    Meshes->Add(std::move(gms));
    fs::remove(dir() / "a.mes");
    pressMeshes("SaveAllMeshesButton");
    EXPECT_TRUE(fs::exists(dir() / "a.mes"));
    EXPECT_TRUE(fs::exists(dir() / "FloorMesh")) << "the mesh after the failure was written too";
    EXPECT_FALSE(fs::exists(dir() / "uploaded.mes"));
    EXPECT_TRUE(hasLine("! Меш <uploaded.mes> не записан"));
    EXPECT_TRUE(hasLine("  --Cохранено..."));
    EXPECT_TRUE(hasLine("- Записано мешей: 2 из 3"));
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_THAT(dialogs.errors[0], HasSubstr("Записано мешей: 2 из 3"));
}

TEST_F(MeshesWindow, SaveAllStoppedHalfWayLeavesEveryFileAsItWas)
{
    startWithEditorData();
    for (const char* name : {"a.mes", "b.mes", "c.mes"}) {
        writeMesh(dir() / name, name);
        load(dir() / name);
    }
    for (std::int32_t i = 0; i < Meshes->Count(); ++i)
        Meshes->Get(i).Vertices[1] = Vector3{5, 0, 0}; // changed in memory
    const std::string before = ra7::test::readFile(dir() / "a.mes");
    meshesPage().onWork = [](WorkProgress& progress) {
        progress.Observer = [&progress](const WorkProgress::State& state) {
            if (state.done == 2)
                progress.Cancel();
        };
    };
    pressMeshes("SaveAllMeshesButton");
    EXPECT_EQ(ra7::test::readFile(dir() / "a.mes"), before);
    EXPECT_THAT(filesUnder(dir()), ::testing::IsSupersetOf({"a.mes", "b.mes", "c.mes"}));
    for (const std::string& file : filesUnder(dir()))
        EXPECT_EQ(file.find(".staged-"), std::string::npos) << file;
    EXPECT_TRUE(hasLine("- Сохранение мешей: отменено, ничего не изменено"));
}

} // namespace
} // namespace ra7::editor
