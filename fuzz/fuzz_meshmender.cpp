// The mesh mender's C interface: any records, indices and settings either
// mend or fail; returned blocks are always given back.
#include "MeshMender.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Layout: 1 byte flags, 1 byte vertex count, then vertex records, then indices.
    if (size < 2)
        return 0;
    const unsigned flags = data[0];
    const std::size_t vertices = data[1];
    data += 2;
    size -= 2;
    const std::size_t recordBytes = vertices * kMendRecordSingles * sizeof(float);
    if (size < recordBytes)
        return 0;
    std::vector<float> records(vertices * kMendRecordSingles);
    if (recordBytes != 0)
        std::memcpy(records.data(), data, recordBytes);
    std::vector<std::uint32_t> indices((size - recordBytes) / sizeof(std::uint32_t));
    if (!indices.empty())
        std::memcpy(indices.data(), data + recordBytes, indices.size() * sizeof(std::uint32_t));
    for (std::uint32_t& index : indices)
        index %= 300; // mostly in range, sometimes past the end

    uintptr_t vertexBlock = reinterpret_cast<uintptr_t>(records.data());
    uintptr_t vertexCount = vertices;
    uintptr_t indexBlock = reinterpret_cast<uintptr_t>(indices.data());
    uintptr_t indexCount = indices.size();
    const float cosines[4] = {-1.0f, 0.0f, 0.5f, 0.99f};
    if (Mend(&vertexBlock, &vertexCount, &indexBlock, &indexCount, cosines[flags & 3],
             cosines[(flags >> 2) & 3], cosines[(flags >> 4) & 3], (flags & 64) ? 1.0f : 0.0f,
             (flags & 128) ? -1 : 0, (flags & 1) ? -1 : 0, (flags & 2) ? -1 : 0) != 0) {
        DisposeMem(vertexBlock);
        DisposeMem(indexBlock);
    }
    return 0;
}
