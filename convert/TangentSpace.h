#pragma once
// The converter's own two tangent-space methods, over a mesh's arrays. Both
// take the vertices three at a time as triangles (3k, 3k+1, 3k+2), as the
// converter lays them out; the index list is not used.

#include "resources/DArrays.h"

namespace ra7 {

// Accumulated texture-space gradients ("Посчитать tangent space"). Tangents
// and binormals get one entry per vertex: the normalised sum over the
// vertex's triangle of T = (t₂E₁ − t₁E₂)/det and B = (s₁E₂ − s₂E₁)/det.
// A triangle whose texture coordinates have no area (det = 0) adds nothing,
// so its vertices keep finite vectors. Trailing vertices that make no whole
// triangle keep zero vectors.
void TangentSpaceGradients(const KaGeomData3& vertices, const KaGeomData2& texCoords, KaGeomData3& tangents,
                           KaGeomData3& binormals);

// Iso-parameter lines, one result per corner ("Посчитать tangent space2"):
// the tangent follows the line of constant v through the middle corner (by
// v), the binormal the line of constant u, each pointing from higher to lower
// coordinate, orthogonalised against the corner's normal and normalised.
// Corners of an incomplete last triangle get no entry.
void TangentSpaceIsoLines(const KaGeomData3& vertices, const KaGeomData3& normals,
                          const KaGeomData2& texCoords, KaGeomData3& tangents, KaGeomData3& binormals);

} // namespace ra7
