#pragma once
// Owners of GL object names. Copies of a resource (`Assign`) share the same
// GL objects through a shared owner, so the objects are deleted exactly once,
// when the last resource that refers to them goes. Deleting needs the
// context that made them to be current.

#include <array>
#include <cstdint>

namespace ra7 {

// The six buffers of a mesh: 0 vertices, 1 normals, 2 texture coordinates,
// 3 indices, 4 binormals, 5 tangents.
struct GLMeshBuffers {
    GLMeshBuffers();
    ~GLMeshBuffers();
    GLMeshBuffers(const GLMeshBuffers&) = delete;
    GLMeshBuffers& operator=(const GLMeshBuffers&) = delete;

    std::array<std::uint32_t, 6> names{};
    std::array<bool, 6> filled{}; // whether data was loaded into each
};

struct GLDisplayList {
    GLDisplayList();
    ~GLDisplayList();
    GLDisplayList(const GLDisplayList&) = delete;
    GLDisplayList& operator=(const GLDisplayList&) = delete;

    std::uint32_t name = 0;
};

struct GLTextureName {
    GLTextureName();
    ~GLTextureName();
    GLTextureName(const GLTextureName&) = delete;
    GLTextureName& operator=(const GLTextureName&) = delete;

    std::uint32_t name = 0;
};

} // namespace ra7
