#include "SceneTangentSpace.h"

#include "TangentSpace.h"
#include "WorkProgress.h"

#include "resources/Ka7MeshList.h"
#include "runtime/Errors.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <set>
#include <string>
#include <unordered_map>
#include <utility>

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

// Returns false when the mesh mender refused the mesh (its tangents are zero then).
bool compute(KaMesh& mesh, TangentMethod method, const MeshMenderLibrary* mender,
             const MeshMenderOptions& options)
{
    bool done = true;
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
        done = mender->Apply(arrays, options);
        giveArrays(mesh, std::move(arrays));
        break;
    }
    case TangentMethod::None:
        break;
    }
    return done;
}

// A copy of the mesh's name and arrays, without its GL objects, so that it
// can be computed, written and dropped on any thread.
std::unique_ptr<KaMesh> copyArrays(const KaMesh& mesh)
{
    auto copy = std::make_unique<KaMesh>();
    copy->Name = mesh.Name;
    copy->Vertices = mesh.Vertices;
    copy->Normals = mesh.Normals;
    copy->TexCoords = mesh.TexCoords;
    copy->Tangents = mesh.Tangents;
    copy->Binormals = mesh.Binormals;
    copy->Indices = mesh.Indices;
    copy->VertexCount = mesh.VertexCount;
    copy->IndexCount = mesh.IndexCount;
    return copy;
}

void swapArrays(KaMesh& a, KaMesh& b)
{
    std::swap(a.Vertices, b.Vertices);
    std::swap(a.Normals, b.Normals);
    std::swap(a.TexCoords, b.TexCoords);
    std::swap(a.Tangents, b.Tangents);
    std::swap(a.Binormals, b.Binormals);
    std::swap(a.Indices, b.Indices);
    std::swap(a.VertexCount, b.VertexCount);
    std::swap(a.IndexCount, b.IndexCount);
}

} // namespace

TangentSpaceJob::TangentSpaceJob() = default;
TangentSpaceJob::~TangentSpaceJob() = default;
TangentSpaceJob::TangentSpaceJob(TangentSpaceJob&&) noexcept = default;
TangentSpaceJob& TangentSpaceJob::operator=(TangentSpaceJob&&) noexcept = default;

TangentSpaceJob PlanTangentSpace(TangentMethod method, const MeshMenderLibrary* mender,
                                 const MeshMenderOptions& options)
{
    TangentSpaceJob job;
    job.Method = method;
    job.Mender = mender;
    job.Options = options;
    if (method == TangentMethod::None || (method == TangentMethod::MeshMender && !mender))
        return job;
    std::set<std::string> seen;
    for (std::int32_t i = 0; i < SceneObjects->Count(); ++i) {
        const KaSceneObj* object = SceneObjects->GetItem(i);
        if (!object || object->Kind() != KaObjKind::Geometry)
            continue;
        const std::string& meshName = static_cast<const KaGeometry&>(*object).MeshName;
        const KaMesh* mesh = Meshes->Find(meshName);
        if (!mesh || !seen.insert(meshName).second)
            continue;
        if (MeshInVideoMemory(*mesh))
            job.Report.InVideoMemory.push_back(meshName);
        else if (!mesh->Vertices.empty())
            job.Meshes.push_back(copyArrays(*mesh));
    }
    if (method == TangentMethod::MeshMender) {
        std::unordered_map<std::string, const KaMesh*> copies;
        for (const auto& copy : job.Meshes)
            copies.emplace(copy->Name, copy.get());
        for (std::int32_t i = 0; i < Meshes->Count(); ++i) {
            const KaMesh& mesh = Meshes->Get(i);
            const auto copy = copies.find(mesh.Name);
            job.ToSave.push_back(copy != copies.end() ? copy->second : &mesh);
        }
    }
    return job;
}

void ComputeTangentSpace(TangentSpaceJob& job, WorkProgress* progress)
{
    BeginWork(progress, "Tangent space", static_cast<std::int64_t>(job.Meshes.size()));
    for (std::size_t i = 0; i < job.Meshes.size(); ++i) {
        KaMesh& mesh = *job.Meshes[i];
        if (compute(mesh, job.Method, job.Mender, job.Options))
            ++job.Report.Computed;
        else
            job.Report.MenderFailures.push_back(mesh.Name);
        ReachWork(progress, static_cast<std::int64_t>(i) + 1);
    }
    // The mesh mender's run ends with every mesh written.
    if (job.Method == TangentMethod::MeshMender && !job.ToSave.empty()) {
        job.Report.SaveFailures = StageMeshes(job.Files, job.ToSave, progress);
        job.Report.Saved = static_cast<std::int32_t>(job.ToSave.size() - job.Report.SaveFailures.size());
    }
}

void SwapTangentArrays(TangentSpaceJob& job)
{
    std::vector<KaMesh*> live;
    for (const auto& copy : job.Meshes) {
        KaMesh* mesh = Meshes->Find(copy->Name);
        if (!mesh)
            throw Error("Меш <" + copy->Name + "> не найден");
        live.push_back(mesh);
    }
    for (std::size_t i = 0; i < live.size(); ++i) {
        swapArrays(*live[i], *job.Meshes[i]);
        live[i]->ResetDisplayList();
    }
}

TangentSpaceReport ApplyTangentSpace(TangentMethod method, const MeshMenderLibrary* mender,
                                     const MeshMenderOptions& options)
{
    TangentSpaceJob job = PlanTangentSpace(method, mender, options);
    ComputeTangentSpace(job);
    job.Files.Commit();
    SwapTangentArrays(job);
    return job.Report;
}

} // namespace ra7
