#include "SceneTangentSpace.h"

#include "TangentSpace.h"

#include "resources/Ka7MeshList.h"
#include "runtime/Ka7Log.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <set>
#include <string>

namespace ra7 {

namespace {

MeshArrays takeArrays(KaMesh& mesh)
{
    MeshArrays arrays;
    arrays.Vertices = std::move(mesh.Vertices);
    arrays.Normals = std::move(mesh.Normals);
    arrays.TexCoords = std::move(mesh.TexCoords);
    arrays.Indices = std::move(mesh.Indices);
    return arrays;
}

void giveArrays(KaMesh& mesh, MeshArrays arrays)
{
    mesh.Vertices = std::move(arrays.Vertices);
    mesh.Normals = std::move(arrays.Normals);
    mesh.TexCoords = std::move(arrays.TexCoords);
    mesh.Tangents = std::move(arrays.Tangents);
    mesh.Binormals = std::move(arrays.Binormals);
    mesh.Indices = std::move(arrays.Indices);
    mesh.VertexCount = static_cast<std::int32_t>(mesh.Vertices.size());
    mesh.IndexCount = static_cast<std::int32_t>(mesh.Indices.size());
}

void compute(KaMesh& mesh, TangentMethod method, const MeshMenderLibrary* mender,
             const MeshMenderOptions& options)
{
    mesh.Tangents.clear();
    mesh.Binormals.clear();
    switch (method) {
    case TangentMethod::Gradients:
        TangentSpaceGradients(mesh.Vertices, mesh.Indices, mesh.TexCoords, mesh.Tangents, mesh.Binormals);
        break;
    case TangentMethod::IsoLines:
        TangentSpaceIsoLines(mesh.Vertices, mesh.Indices, mesh.Normals, mesh.TexCoords, mesh.Tangents,
                             mesh.Binormals);
        break;
    case TangentMethod::MeshMender: {
        MeshArrays arrays = takeArrays(mesh);
        mender->Apply(arrays, options);
        giveArrays(mesh, std::move(arrays));
        break;
    }
    case TangentMethod::None:
        break;
    }
    mesh.ResetDisplayList();
}

// Every mesh of the list that still holds its arrays is written to its
// file. A mesh whose arrays went to vertex buffers is left out: writing it
// would replace its file with an empty mesh.
void saveMeshesInMemory()
{
    LogLine("--Cохраняю...");
    for (std::int32_t i = 0; i < Meshes->Count(); ++i) {
        const KaMesh& mesh = Meshes->Get(i);
        if (mesh.VertexCount > 0 && mesh.Vertices.empty()) {
            LogLine("! Меш \"" + mesh.Name + "\" в буферах видеокарты, файл не перезаписан");
            continue;
        }
        RecordWriter file(mesh.Name);
        mesh.SaveToFile(file);
        file.commit();
    }
    LogLine("--Cохранено...");
}

} // namespace

std::int32_t ApplyTangentSpace(TangentMethod method, const MeshMenderLibrary* mender,
                               const MeshMenderOptions& options)
{
    if (method == TangentMethod::None || (method == TangentMethod::MeshMender && !mender))
        return 0;
    std::set<std::string> done;
    std::int32_t computed = 0;
    for (std::int32_t i = 0; i < SceneObjects->Count(); ++i) {
        const KaSceneObj* object = SceneObjects->GetItem(i);
        if (!object || object->Kind() != KaObjKind::Geometry)
            continue;
        const std::string& meshName = static_cast<const KaGeometry&>(*object).MeshName;
        KaMesh* mesh = Meshes->Find(meshName);
        if (!mesh || mesh->Vertices.empty() || !done.insert(meshName).second)
            continue;
        compute(*mesh, method, mender, options);
        ++computed;
    }
    if (method == TangentMethod::MeshMender)
        saveMeshesInMemory();
    return computed;
}

} // namespace ra7
