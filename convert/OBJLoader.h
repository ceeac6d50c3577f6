#pragma once
// The in-memory model of a Wavefront OBJ file with its MTL material library,
// and the reader that fills it. All arrays are 1-based: element 0 exists and
// is unused, so the indices written in the file address them directly.

#include "math/DotMath.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

// One corner of a face: OBJ indices, already made absolute (relative indices
// are resolved while reading). 0 = the corner has no such index.
struct TCorner {
    std::int32_t Vertex = 0;
    std::int32_t TexCoord = 0;
    std::int32_t Normal = 0;
};

// A face refers to `Count` consecutive corners of its group's corner array.
// One array per group instead of three per face keeps a million-face model
// small and quick to read.
struct TFace {
    std::int32_t First = 0;
    std::int32_t Count = 0;
};

struct TGroup {
    std::string Name;
    std::int32_t FaceCount = 0;
    std::vector<TFace> Faces{TFace{}}; // 1-based
    std::vector<TCorner> Corners;      // 0-based, shared by the faces
    std::int32_t MaterialIndex = 0;    // into TModel::Materials, 0 = none

    const TCorner* FaceCorners(std::int32_t face) const { return Corners.data() + Faces[face].First; }
};

struct TMaterial {
    std::string Name;
    Vector3 Ambient, Diffuse, Specular;
    float Shininess = 60.0f;
    std::string MapName;           // as written in the library, upper case
    std::filesystem::path MapPath; // the texture file found for it; empty when missing
};

struct TModel {
    std::string Name; // the file name up to its first "."
    bool HasMaterials = false;
    std::int32_t VertexCount = 0, NormalCount = 0, TexCoordCount = 0, GroupCount = 0, MaterialCount = 0;
    std::vector<Vector3> Vertices{Vector3{}};
    std::vector<Vector3> Normals{Vector3{}};
    std::vector<Vector2> TexCoords{Vector2{}};
    std::vector<TGroup> Groups{TGroup{}};
    std::vector<TMaterial> Materials{TMaterial{}};
};

// The name of the group that receives faces written before the first "g" line.
inline constexpr std::string_view kImplicitGroupName = "DEFAULT";

// Shows the user a message box (caption, text); the editor answers it through
// its dialog interface. May be empty: the message is then dropped.
using ModelMessageBox = std::function<void(const std::string& caption, const std::string& text)>;

class WorkProgress;

// Reads an OBJ file named as stored. Library and texture names written in it
// are taken relative to the OBJ file's folder. A missing file gives an empty
// model; a damaged one throws FileError naming the file and the line. The
// bytes read go to `progress` block by block (which may stop the read with
// WorkCancelled). Touches no engine global, so it may run on any thread;
// `showMessage` is then called on that thread.
TModel LoadOBJ(std::string_view fileName, const ModelMessageBox& showMessage = {},
               WorkProgress* progress = nullptr);

// The same read over bytes in memory; `folder` is where library names resolve.
void ReadOBJText(TModel& model, std::string_view bytes, std::string_view displayName,
                 const std::filesystem::path& folder, const ModelMessageBox& showMessage = {});

// Adds the entries of an MTL library held in memory to the model. Texture
// names resolve in `folder`.
void ReadMTLText(TModel& model, std::string_view bytes, std::string_view displayName,
                 const std::filesystem::path& folder);

// Empties every array and zeroes every count.
void ClearModel(TModel& model);

} // namespace ra7
