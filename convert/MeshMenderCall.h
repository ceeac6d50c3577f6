#pragma once
// The third tangent-space method: libmeshmender.so, opened at run time by
// file name. When it is missing the method is unavailable and the reason can
// be shown to the user.

#include "MeshArrays.h"

#include <memory>
#include <string>

namespace ra7 {

// The converter page's settings: the crease cosines and the area weight are
// slider positions / 100, the flags are its check boxes.
struct MeshMenderOptions {
    float MinNormalCreaseCos = 0;
    float MinTangentCreaseCos = 0;
    float MinBinormalCreaseCos = 0;
    float WeightNormalsByArea = 1;
    bool CalculateNormals = true;
    bool RespectSplits = false;
    bool FixCylindrical = false;
};

inline constexpr const char* kMeshMenderFileName = "libmeshmender.so";

class MeshMenderLibrary {
public:
    ~MeshMenderLibrary();
    MeshMenderLibrary(const MeshMenderLibrary&) = delete;
    MeshMenderLibrary& operator=(const MeshMenderLibrary&) = delete;

    // Opens the library by file name: through the system's search path, then
    // beside the running program, then in the build tree. Empty, with
    // `whyNot` set to a message for the user, when it cannot be used.
    static std::unique_ptr<MeshMenderLibrary> Open(const std::string& fileName, std::string& whyNot);

    // Runs Mend over the mesh. On success the mesh takes the returned
    // vertices (positions, texture coordinates, normals, tangents, binormals)
    // and indices, which may be more than before where vertices were split.
    // On failure the mesh keeps its positions, texture coordinates and
    // normals, and its tangents and binormals are zero.
    bool Apply(MeshArrays& mesh, const MeshMenderOptions& options) const;

private:
    MeshMenderLibrary() = default;

    void* handle_ = nullptr;
    void* mend_ = nullptr;
    void* dispose_ = nullptr;
};

} // namespace ra7
