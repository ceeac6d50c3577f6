#include "resources/Ka7MeshList.h"

#include "runtime/Ka7Log.h"
#include "runtime/RecordFile.h"

namespace ra7 {

std::unique_ptr<KaMeshList> Meshes;

KaMesh* KaMeshList::LoadMesh(std::string_view fileName)
{
    if (fileName.empty() || IndexOf(fileName) >= 0)
        return nullptr;
    // A missing file is a failure naming it, as for materials and textures:
    // a scene whose mesh is gone must say so.
    RecordReader file = RecordReader::openFile(fileName);
    auto mesh = std::make_unique<KaMesh>();
    file.skip(kTagSize);
    mesh->LoadFromFile(file);
    if (IndexOf(mesh->Name) >= 0) {
        LogLine("! Меш \"" + mesh->Name + "\" из файла " + std::string(fileName) + " уже загружен");
        return nullptr;
    }
    return Add(std::move(mesh));
}

KaMesh* KaMeshList::AddCopy(const KaMesh& mesh)
{
    if (IndexOf(mesh.Name) >= 0)
        return nullptr;
    auto copy = std::make_unique<KaMesh>();
    copy->Assign(mesh);
    return Add(std::move(copy));
}

void KaMeshList::Delete(std::int32_t index)
{
    KaResourceList::Delete(index);
    Changed = true;
}

void KaMeshList::SaveAll()
{
    LogLine("--Cохраняю...");
    for (std::int32_t i = 0; i < Count(); ++i) {
        const KaMesh& mesh = Get(i);
        RecordWriter file(mesh.Name);
        mesh.SaveToFile(file);
        file.commit();
    }
    LogLine("--Cохранено...");
}

} // namespace ra7
