// The `.mes` reader on arbitrary bytes: a mesh is read completely or refused
// with a FileError; counts never allocate more than the input holds and every
// index of an accepted mesh is below its vertex count.
#include "resources/Ka7Mesh.h"
#include "runtime/Errors.h"
#include "runtime/RecordFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::RecordReader reader("fuzz.mes", std::string_view(reinterpret_cast<const char*>(data), size));
    ra7::KaMesh mesh;
    try {
        ra7::ReadMeshFile(reader, mesh);
    } catch (const ra7::FileError&) {
        return 0;
    }
    const auto vertices = static_cast<std::size_t>(mesh.VertexCount);
    if (mesh.IndexCount <= 0 || mesh.Indices.size() != static_cast<std::size_t>(mesh.IndexCount) ||
        mesh.Vertices.size() != vertices || mesh.Binormals.size() != vertices)
        std::abort();
    for (std::uint32_t index : mesh.Indices)
        if (index >= vertices)
            std::abort();
    return 0;
}
