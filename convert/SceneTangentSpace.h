#pragma once
// The converter page's three tangent-space commands, applied to the meshes
// of the scene's geometry objects (`SceneObjects`, `Meshes`).

#include "MeshMenderCall.h"

#include <cstdint>

namespace ra7 {

enum class TangentMethod : std::int32_t {
    None = 0,
    Gradients = 1, // "Посчитать tangent space"
    IsoLines = 2,  // "Посчитать tangent space2"
    MeshMender = 3 // "NVMeshMender"
};

// For every geometry object, the mesh named by its MeshName gets new tangents
// and binormals by `method`; its display list is rebuilt at the next draw.
// Each mesh is computed once even when several objects use it. Meshes whose
// arrays went to vertex buffers (empty here) are left alone. Method 3 needs
// `mender` (a null one does nothing) and afterwards saves every mesh of the
// list that holds its arrays to its file (an uploaded mesh is skipped with a
// log line). Returns the number of meshes computed.
std::int32_t ApplyTangentSpace(TangentMethod method, const MeshMenderLibrary* mender = nullptr,
                               const MeshMenderOptions& options = {});

} // namespace ra7
