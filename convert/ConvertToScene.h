#pragma once
// The converter's engine side: a loaded OBJ model or a GMS file becomes
// meshes in `Meshes`, materials in `Materials` and geometry objects in
// `SceneObjects` (all three must exist).

#include "OBJLoader.h"

#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

inline constexpr const char* kNotTriangulatedMessage =
    "Не правильный файл obj, нужно триангулировать полигоны!";

// What one conversion added, in group order.
struct ConversionResult {
    std::vector<std::string> MeshNames;   // one per converted group, each written to its file
    std::vector<std::string> ObjectNames; // the geometry objects added to the scene
    std::vector<std::string> MaterialNames;
};

// Converts every group with faces: its mesh (one vertex per corner, indices
// 0 .. n−1) is written to directory + "\" + group + ".mes" (names made
// distinct, see PlanGroupMeshes) and added to `Meshes` (uploaded with USE
// VBO); the group's MTL entry becomes a material under a unique name; a
// geometry object under a unique name uses both. The material's texture is
// directory + "\" + map name: a file found only beside the model is copied
// there; one found nowhere leaves the slot empty with a "! " line. A
// shininess outside 0 .. 255 is clamped (MaterialShininess). A model with a
// face of more than three corners is refused with kNotTriangulatedMessage
// through `showMessage` and nothing is written. A file that cannot be
// written stops the conversion; the groups before stay converted. Groups
// without a material get no material.
ConversionResult ConvertOBJModel(const TModel& model, std::string_view directory,
                                 const ModelMessageBox& showMessage = {});

// Reads a GMS file and adds each "trimesh()" object: its mesh (object name +
// "Mesh") to `Meshes`, a geometry object (its name made unique) at the stored
// world position to the scene. No file is written. A damaged file stops the
// read with a FileError after the objects before the damage were added.
ConversionResult LoadGMS(std::string_view fileName);

} // namespace ra7
