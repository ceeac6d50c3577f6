#pragma once
// The arrays of one converted mesh, before they become an engine mesh: one
// entry per vertex in Vertices, Normals, TexCoords, Tangents and Binormals,
// three indices per triangle.

#include "resources/DArrays.h"

namespace ra7 {

struct MeshArrays {
    KaGeomData3 Vertices;
    KaGeomData3 Normals;
    KaGeomData2 TexCoords;
    KaGeomData3 Tangents;
    KaGeomData3 Binormals;
    KaCarArr Indices;
};

} // namespace ra7
