#include "MeshFiles.h"

#include "StagedFiles.h"
#include "WorkProgress.h"

#include "resources/Ka7MeshList.h"
#include "runtime/RecordFile.h"

namespace ra7 {

bool MeshInVideoMemory(const KaMesh& mesh)
{
    return mesh.VertexCount > 0 && mesh.Vertices.empty();
}

std::vector<const KaMesh*> AllMeshes()
{
    std::vector<const KaMesh*> meshes;
    for (std::int32_t i = 0; i < Meshes->Count(); ++i)
        meshes.push_back(&Meshes->Get(i));
    return meshes;
}

void StageMesh(StagedFiles& files, const KaMesh& mesh)
{
    files.Stage(mesh.Name, [&mesh](RecordWriter& file) { mesh.SaveToFile(file); });
}

std::vector<MeshWriteFailure> StageMeshes(StagedFiles& files, const std::vector<const KaMesh*>& meshes,
                                          WorkProgress* progress)
{
    std::vector<MeshWriteFailure> failures;
    BeginWork(progress, "Запись мешей", static_cast<std::int64_t>(meshes.size()));
    for (std::size_t i = 0; i < meshes.size(); ++i) {
        const KaMesh& mesh = *meshes[i];
        if (MeshInVideoMemory(mesh)) {
            failures.push_back({mesh.Name, "данные меша в буферах видеокарты (USE VBO), записывать нечего"});
        } else {
            try {
                StageMesh(files, mesh);
            } catch (const std::exception& e) {
                failures.push_back({mesh.Name, e.what()});
            }
        }
        ReachWork(progress, static_cast<std::int64_t>(i) + 1);
    }
    return failures;
}

std::string MeshWriteFailureLine(const MeshWriteFailure& failure)
{
    return "Меш <" + failure.Name + "> не записан: " + failure.Reason;
}

} // namespace ra7
