#include "resources/Ka7MeshList.h"

#include "runtime/Ka7Log.h"
#include "runtime/PathResolver.h"
#include "runtime/RecordFile.h"

#include <filesystem>
#include <system_error>

namespace ra7 {

std::unique_ptr<KaMeshList> Meshes;

KaMesh* KaMeshList::LoadMesh(std::string_view fileName)
{
    if (IndexOf(fileName) >= 0)
        return nullptr;
    std::error_code error;
    if (fileName.empty() || !std::filesystem::is_regular_file(resolvePath(fileName), error))
        return nullptr;
    auto mesh = std::make_unique<KaMesh>();
    RecordReader file = RecordReader::openFile(fileName);
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
