#pragma once
// The converter page's three tangent-space commands, applied to the meshes
// of the scene's geometry objects (`SceneObjects`, `Meshes`).
//
// A run has three steps so that the editor can compute on a worker thread
// and `ra7 convert` does the same work in one go: PlanTangentSpace (on the
// engine's thread: which meshes, copies of their arrays), ComputeTangentSpace
// (any thread: the copies get their vectors; the mesh mender's run also
// stages the file of every mesh), then, after the files were committed,
// SwapTangentArrays (the engine's thread again: the computed arrays take
// the meshes' place).

#include "MeshFiles.h"
#include "MeshMenderCall.h"
#include "StagedFiles.h"

#include "resources/Ka7Mesh.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ra7 {

class WorkProgress;

enum class TangentMethod : std::int32_t {
    None = 0,
    Gradients = 1, // "Посчитать tangent space"
    IsoLines = 2,  // "Посчитать tangent space2"
    MeshMender = 3 // "NVMeshMender"
};

// What a run did, for the user.
struct TangentSpaceReport {
    std::int32_t Computed = 0;               // meshes that got new tangents and binormals
    std::vector<std::string> MenderFailures; // meshes Mend refused: their tangents are zero
    // Meshes whose arrays went to vertex buffers (USE VBO): nothing to compute.
    std::vector<std::string> InVideoMemory;
    // The mesh mender's saving: meshes written, and those that could not be.
    std::int32_t Saved = 0;
    std::vector<MeshWriteFailure> SaveFailures;
};

struct TangentSpaceJob {
    TangentSpaceJob();
    ~TangentSpaceJob();
    TangentSpaceJob(TangentSpaceJob&&) noexcept;
    TangentSpaceJob& operator=(TangentSpaceJob&&) noexcept;

    TangentMethod Method = TangentMethod::None;
    const MeshMenderLibrary* Mender = nullptr;
    MeshMenderOptions Options;
    // Copies (name and arrays, no GL objects) of the meshes to compute, in
    // the order of the geometry objects naming them, each once.
    std::vector<std::unique_ptr<KaMesh>> Meshes;
    // The mesh mender's run: every mesh of the list, in list order, to be
    // written afterwards (the copy where the job computes that mesh).
    std::vector<const KaMesh*> ToSave;
    StagedFiles Files;
    TangentSpaceReport Report;
};

// For every geometry object, the mesh named by its MeshName, each mesh once.
// Meshes whose arrays went to vertex buffers are named in the report and
// left out. Method 3 needs `mender` (a null one plans nothing).
TangentSpaceJob PlanTangentSpace(TangentMethod method, const MeshMenderLibrary* mender = nullptr,
                                 const MeshMenderOptions& options = {});

// Computes the copies (one progress unit a mesh); method 3 then stages the
// file of every mesh of ToSave (a mesh that cannot be written is named in
// the report, the others are written all the same). Touches no engine
// global. A stop (WorkCancelled) leaves no staged file.
void ComputeTangentSpace(TangentSpaceJob& job, WorkProgress* progress = nullptr);

// Exchanges the arrays of the job's meshes with those of the list's meshes
// of the same names, whose display lists are rebuilt at the next draw. The
// job then holds the arrays the meshes had, so calling it again puts them
// back (an undo). Throws when a mesh is no longer in the list, changing
// nothing.
void SwapTangentArrays(TangentSpaceJob& job);

// The three steps in one, with the files committed: the tangents and
// binormals of every mesh named by a geometry object by `method`; method 3
// afterwards writes every mesh of the list to its file.
TangentSpaceReport ApplyTangentSpace(TangentMethod method, const MeshMenderLibrary* mender = nullptr,
                                     const MeshMenderOptions& options = {});

} // namespace ra7
