#pragma once
// The reading part of GMS text models: objects with a world position and a
// triangle mesh whose positions and texture coordinates are merged into one
// vertex numbering.

#include "MeshArrays.h"

#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

class WorkProgress;

struct GmsObject {
    std::string Name; // the geometry object's name; its mesh is Name + "Mesh"
    Vector3 Position; // world position
    MeshArrays Mesh;  // merged, tangents and binormals zero
};

// Reads every "trimesh()" object of a GMS file, appending each one to
// `objects` as soon as it is complete: when a damaged object stops the read
// with a FileError, the objects before it are kept. Objects of other types
// are skipped (their position belongs to them, not to the object before).
// Reports its lines read to `progress` (which may stop it with WorkCancelled;
// the objects read before are kept then too).
void ReadGMS(std::string_view fileName, std::vector<GmsObject>& objects, WorkProgress* progress = nullptr);
void ReadGMSText(std::string_view cp1251Text, std::string_view displayName, std::vector<GmsObject>& objects,
                 WorkProgress* progress = nullptr);

// Merges positions (and their normals), indexed by `vertexIndices`, with
// texture coordinates indexed by `texIndices` (three per triangle each):
// - more texture coordinates than positions: the texture indices become the
//   mesh's, and positions and normals are re-laid so that slot t holds those
//   of the corner whose texture index is t;
// - otherwise the vertex indices become the mesh's, and texture-coordinate
//   slot v holds the one of the corner whose vertex index is v.
// Indices must be in range (the reader checks them).
MeshArrays MergeGmsMesh(const KaGeomData3& positions, const KaGeomData3& normals,
                        const KaGeomData2& texCoords, const KaCarArr& vertexIndices,
                        const KaCarArr& texIndices);

} // namespace ra7
