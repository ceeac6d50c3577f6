#pragma once
// The converter's own two tangent-space methods, over a mesh's arrays. Both
// take the triangles from the index list (three indices each), so an indexed
// mesh (GMS, or one the mesh mender welded) gets the same answer as the
// converter's one-vertex-per-corner layout. Both give one tangent and one
// binormal per vertex; a vertex that no triangle uses keeps zero vectors. A
// triangle naming a vertex past the end, and indices that make no whole
// triangle, are left out.

#include "resources/DArrays.h"

namespace ra7 {

// Accumulated texture-space gradients ("Посчитать tangent space"): the
// normalised sum over the vertex's triangles of T = (t₂E₁ − t₁E₂)/det and
// B = (s₁E₂ − s₂E₁)/det. A triangle whose texture coordinates have no area
// (det = 0) adds nothing, so its vertices keep finite vectors.
void TangentSpaceGradients(const KaGeomData3& vertices, const KaCarArr& indices, const KaGeomData2& texCoords,
                           KaGeomData3& tangents, KaGeomData3& binormals);

// Iso-parameter lines ("Посчитать tangent space2"): at each corner the
// tangent follows the triangle's line of constant v through its middle
// corner (by v), the binormal the line of constant u, each pointing from
// higher to lower coordinate and orthogonalised against the corner's normal;
// a vertex takes the normalised sum over its corners.
void TangentSpaceIsoLines(const KaGeomData3& vertices, const KaCarArr& indices, const KaGeomData3& normals,
                          const KaGeomData2& texCoords, KaGeomData3& tangents, KaGeomData3& binormals);

} // namespace ra7
