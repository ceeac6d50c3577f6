#pragma once
// Writing meshes to the files their names give, many at a time: the
// converter's files, the mesh mender's saving of every mesh, and the
// editor's "Сохранить все...". Files are staged and put in place at the end
// (StagedFiles), and one mesh that cannot be written does not stop the rest.

#include <string>
#include <vector>

namespace ra7 {

class KaMesh;
class StagedFiles;
class WorkProgress;

struct MeshWriteFailure {
    std::string Name;
    std::string Reason;
};

// True when the mesh's arrays went to vertex buffers (USE VBO): only its
// counts stay in memory, and writing it would give an empty file.
bool MeshInVideoMemory(const KaMesh& mesh);

// Stages the file of one mesh (SaveToFile into the file its name gives).
// Throws when the mesh cannot be written.
void StageMesh(StagedFiles& files, const KaMesh& mesh);

// Every mesh of `Meshes`, in list order.
std::vector<const KaMesh*> AllMeshes();

// Stages every mesh, in order, one progress unit each. A mesh that cannot
// be written (its arrays in video memory, a file that cannot be created) is
// returned with the reason, and the others are staged all the same.
std::vector<MeshWriteFailure> StageMeshes(StagedFiles& files, const std::vector<const KaMesh*>& meshes,
                                          WorkProgress* progress);

// The line for the log and the user: "Меш <name> не записан: reason".
std::string MeshWriteFailureLine(const MeshWriteFailure& failure);

} // namespace ra7
