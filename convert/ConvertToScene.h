#pragma once
// The converter's engine side: a loaded OBJ model or a GMS file becomes
// meshes in `Meshes`, materials in `Materials` and geometry objects in
// `SceneObjects` (all three must exist).
//
// A conversion runs in three steps so that the editor can do the long part
// on a worker thread and `ra7 convert` does exactly the same work in one go:
// PrepareOBJConversion (meshes built, files staged; no engine globals), the
// staged files' Commit, then AddConvertedModel (the engine's lists, on the
// thread that owns them).

#include "GMSReader.h"
#include "OBJLoader.h"
#include "StagedFiles.h"

#include "resources/Ka7Mesh.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

class WorkProgress;

inline constexpr const char* kNotTriangulatedMessage =
    "Не правильный файл obj, нужно триангулировать полигоны!";

// What one conversion added, in group order.
struct ConversionResult {
    std::vector<std::string> MeshNames;   // the meshes put into the list (added, or replacing one)
    std::vector<std::string> ObjectNames; // the geometry objects added to the scene
    std::vector<std::string> MaterialNames;
    std::vector<std::string> TextureNames; // textures the materials brought into `Textures`
    // Meshes the list already held under a converted mesh's name: the new
    // mesh took each one's place (so converting again after a change is
    // what the scene draws), and the old ones come back here, still holding
    // their GL objects, for an undo to put back or for the caller to drop.
    std::vector<std::unique_ptr<KaMesh>> ReplacedMeshes;
};

// One group's mesh, built and staged, not yet in the engine.
struct PreparedGroup {
    std::int32_t Group = 0;
    std::unique_ptr<KaMesh> Mesh;
};

struct PreparedConversion {
    PreparedConversion();
    ~PreparedConversion();
    PreparedConversion(PreparedConversion&&) noexcept;
    PreparedConversion& operator=(PreparedConversion&&) noexcept;

    std::string Directory;
    std::vector<PreparedGroup> Groups;
    StagedFiles Files; // each group's mesh file and copied texture; Commit puts them in place
    // Lines for the log about the textures, written by AddConvertedModel
    // (the log belongs to the thread that owns the engine).
    std::vector<std::string> TextureLines;
};

// The first step, free of engine globals (it may run on a worker thread):
// every group with faces gets its mesh (one vertex per corner, indices
// 0 .. n−1) named directory + "\" + group + ".mes" (names made distinct,
// see PlanGroupMeshes), and its file staged; one progress unit per group.
// The material's texture is directory + "\" + map name: a file found only
// beside the model is staged as a copy there; one found nowhere (or that
// cannot be copied) leaves the slot empty with a "! " line. An error (a mesh
// file that cannot be written) or a stop leaves no file behind. Expects a
// triangulated model.
PreparedConversion PrepareOBJConversion(const TModel& model, std::string_view directory,
                                        WorkProgress* progress = nullptr);

// The last step, after the files were committed: each prepared mesh joins
// `Meshes` (uploaded with USE VBO), taking the place of a mesh of the same
// name; the group's MTL entry becomes a material under a unique name (a
// shininess outside 0 .. 255 is clamped, see MaterialShininess); a geometry
// object under a unique name uses both. Groups without a material get no
// material. `prepared` is emptied of its meshes.
ConversionResult AddConvertedModel(const TModel& model, PreparedConversion& prepared);

// The three steps in one. A model with a face of more than three corners is
// refused with kNotTriangulatedMessage through `showMessage` and nothing is
// written. An error stops the conversion before anything is written or
// added.
ConversionResult ConvertOBJModel(const TModel& model, std::string_view directory,
                                 const ModelMessageBox& showMessage = {});

// A chosen target folder as the converter names its meshes: relative to the
// working directory when it lies under it (absolute otherwise), "\" between
// folders. Never made by cutting characters.
std::string ConversionFolder(std::string_view chosenFolder);

// Adds the objects read from a GMS file: each one's mesh (object name +
// "Mesh"; a mesh of that name already in the list is kept and used) to
// `Meshes`, a geometry object (its name made unique) at the stored world
// position to the scene. No file is written. `objects` is emptied.
ConversionResult AddGmsObjects(std::vector<GmsObject>& objects);

// ReadGMS and AddGmsObjects. A damaged file stops the read with a FileError
// after the objects before the damage were added.
ConversionResult LoadGMS(std::string_view fileName);

} // namespace ra7
