#include "MeshMender.h"

#include "MendMesh.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Copies `bytes` into a block that DisposeMem frees.
void* newBlock(const void* source, std::size_t bytes)
{
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block && bytes != 0)
        std::memcpy(block, source, bytes);
    return block;
}

} // namespace

extern "C" int Mend(uintptr_t* vertexBlock, uintptr_t* vertexCount, uintptr_t* indexBlock,
                    uintptr_t* indexCount, float minNormalCreaseCos, float minTangentCreaseCos,
                    float minBinormalCreaseCos, float weightNormalsByArea, int calculateNormals,
                    int respectSplits, int fixCylindrical)
{
    if (!vertexBlock || !vertexCount || !indexBlock || !indexCount)
        return 0;
    if ((*vertexCount != 0 && *vertexBlock == 0) || (*indexCount != 0 && *indexBlock == 0))
        return 0;
    try {
        meshmender::MendSettings settings;
        settings.minNormalCreaseCos = minNormalCreaseCos;
        settings.minTangentCreaseCos = minTangentCreaseCos;
        settings.minBinormalCreaseCos = minBinormalCreaseCos;
        settings.weightNormalsByArea = weightNormalsByArea;
        settings.calculateNormals = calculateNormals != 0;
        settings.respectSplits = respectSplits != 0;
        settings.fixCylindrical = fixCylindrical != 0;
        meshmender::MendOutput out;
        // The blocks arrive as pointer-sized handles.
        const auto* given = reinterpret_cast<const float*>(*vertexBlock); // NOLINT(performance-no-int-to-ptr)
        const auto* givenIndices =
            reinterpret_cast<const std::uint32_t*>(*indexBlock); // NOLINT(performance-no-int-to-ptr)
        if (!meshmender::mendMesh(given, *vertexCount, givenIndices, *indexCount, settings, out))
            return 0;
        void* vertices = newBlock(out.records.data(), out.records.size() * sizeof(float));
        void* indices = newBlock(out.indices.data(), out.indices.size() * sizeof(std::uint32_t));
        if (!vertices || !indices) {
            std::free(vertices);
            std::free(indices);
            return 0;
        }
        *vertexBlock = reinterpret_cast<uintptr_t>(vertices);
        *vertexCount = out.records.size() / kMendRecordSingles;
        *indexBlock = reinterpret_cast<uintptr_t>(indices);
        *indexCount = out.indices.size();
        return 1;
    } catch (...) {
        return 0; // nothing may cross the C boundary
    }
}

extern "C" void DisposeMem(uintptr_t block)
{
    std::free(reinterpret_cast<void*>(block)); // NOLINT(performance-no-int-to-ptr): a handle from Mend
}
