#pragma once
// The mender's computation, over plain arrays.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace meshmender {

struct MendSettings {
    float minNormalCreaseCos = 0;
    float minTangentCreaseCos = 0;
    float minBinormalCreaseCos = 0;
    float weightNormalsByArea = 1;
    bool calculateNormals = true;
    bool respectSplits = false;
    bool fixCylindrical = false;
};

struct MendOutput {
    std::vector<float> records; // 14 singles a vertex
    std::vector<std::uint32_t> indices;
};

// False when the input cannot be mended (index count not a multiple of 3, an
// index outside the vertices, a value that is not finite).
bool mendMesh(const float* records, std::size_t vertexCount, const std::uint32_t* indices,
              std::size_t indexCount, const MendSettings& settings, MendOutput& out);

} // namespace meshmender
