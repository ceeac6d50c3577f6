#pragma once
// A triangle mesh: per-vertex positions, normals, texture coordinates,
// tangents and binormals with a 32-bit index list, read from and written to
// the `.mes` file, uploaded to vertex buffers when USE VBO is on, and drawn
// through a display list compiled on its first draw.
//
// The display list feeds the vertex programs this contract: texture unit 0
// carries (u, v), unit 1 the tangent, unit 2 the binormal, plus the normal
// and the position.

#include "resources/DArrays.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

class RecordReader;
class RecordWriter;
struct GLMeshBuffers;
struct GLDisplayList;

// The smallest axis-aligned box around a set of points.
struct KaBounds {
    Vector3 Min;
    Vector3 Max;
};

// Nothing for an empty set.
std::optional<KaBounds> BoundsOf(const KaGeomData3& points);

class KaMesh {
public:
    KaMesh();
    ~KaMesh();
    KaMesh(const KaMesh&) = delete;
    KaMesh& operator=(const KaMesh&) = delete;

    std::string Name = "Mesh1";
    KaGeomData3 Vertices;
    KaGeomData3 Normals;
    KaGeomData3 Tangents;  // may be empty
    KaGeomData3 Binormals; // may be empty
    KaGeomData2 TexCoords;
    KaCarArr Indices;
    std::int32_t VertexCount = 0;
    std::int32_t IndexCount = 0;

    // The box around Vertices; nothing for a mesh without vertices.
    std::optional<KaBounds> Bounds() const { return BoundsOf(Vertices); }

    // 0 until compiled.
    std::uint32_t DisplayList() const;
    // All 0 until uploaded.
    std::array<std::uint32_t, 6> Buffers() const;
    // The next draw compiles a fresh list (after the arrays changed).
    void ResetDisplayList();

    // Writes the whole record, "mes" tag first. Refuses a mesh whose arrays
    // do not all hold VertexCount entries or that has no index.
    void SaveToFile(RecordWriter& file) const;
    // Reads everything after the tag (the caller consumes it) and checks it;
    // with USE VBO the data is then uploaded. On an error the mesh is left
    // as it was.
    void LoadFromFile(RecordReader& file);
    // LoadFromFile without the upload.
    void ReadRecord(RecordReader& file);

    // Loads the arrays into six new GPU buffers and empties them. Throws
    // "VBO not support" without USE VBO.
    void Upload();
    // Lets go of the GPU buffers (deleted when no copy shares them).
    void ReleaseBuffers();
    // Copies the fields and arrays; the copy shares the GPU buffers and the
    // display list.
    void Assign(const KaMesh& source);
    // Compiles the display list.
    void BuildDisplayList();
    // Calls the display list, compiling it first when there is none.
    void Draw();

private:
    std::shared_ptr<GLMeshBuffers> buffers_;
    std::shared_ptr<GLDisplayList> list_;
};

// Reads a whole `.mes` file (the tag, ignored, then the record) into `mesh`
// without uploading it: for tools and fuzzing, no GL involved.
void ReadMeshFile(RecordReader& file, KaMesh& mesh);

// A readable description of a `.mes` file: name, counts, bounds, index range.
std::vector<std::string> DescribeMeshFile(std::string_view storedName);

} // namespace ra7
