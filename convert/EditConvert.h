#pragma once
// The converter's pure part: checks and edits of a loaded OBJ model, and the
// arrays and file name of the mesh each group becomes.

#include "MeshArrays.h"
#include "OBJLoader.h"

#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

// True when no face of any group has more than three corners.
bool IsTriangulated(const TModel& model);

// Multiplies every vertex position by `factor`; a factor of exactly 1 changes nothing.
void ScaleModel(TModel& model, float factor);

// A factor that ScaleModel may be given: finite and above 0. Zero would
// collapse the model, a negative factor mirror it (turning every face
// inside out) and a non-finite one poison every position.
bool IsUsableScale(float factor);

// The number of faces of all groups; a model without any gives nothing to
// convert (a missing or empty OBJ file reads as such a model).
std::int64_t ModelFaceCount(const TModel& model);

// The mesh arrays of group `group` (1-based): every triangle corner becomes a
// vertex of its own, indices 0 .. n−1. A corner without a normal gets its
// face's normal, one without a texture coordinate (0, 0). Tangents and
// binormals are zero. Expects a triangulated model.
MeshArrays BuildGroupMesh(const TModel& model, std::int32_t group);

// A material's shininess from the library's Ns: rounded to the nearest
// integer, halves to the even one. A value outside 0 .. 255 (MTL allows up
// to 1000) is clamped to it with a "! " log line naming the material.
std::int32_t MaterialShininess(const TMaterial& material);

// What conversion makes of one group: its index and the mesh's name.
struct GroupMeshPlan {
    std::int32_t Group = 0;
    std::string MeshName; // directory + "\" + file name + ".mes"
};

// One plan per group that has faces, in group order. The file name is the
// group's name; a group whose name another group already took gets the
// first free "_1", "_2", … so that no mesh file overwrites another.
std::vector<GroupMeshPlan> PlanGroupMeshes(const TModel& model, std::string_view directory);

} // namespace ra7
