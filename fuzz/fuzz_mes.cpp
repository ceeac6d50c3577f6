// `.mes` files through the loader "addmesh" runs (the mesh list's LoadMesh,
// without uploading to the GPU): a mesh is read completely or refused with a
// FileError, leaving the list as it was; counts never allocate more than the
// file holds and every index of an accepted mesh is below its vertex count.
#include "FuzzSupport.h"

#include "resources/Ka7MeshList.h"
#include "runtime/Errors.h"
#include "runtime/Ka7GlobalEngine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::Settings.UseVBO = false; // no context: the mesh stays in memory
    const std::string path = ra7::fuzz::WriteScratchFile("fuzz.mes", data, size);
    ra7::KaMeshList list;
    const ra7::KaMesh* mesh = nullptr;
    try {
        mesh = list.LoadMesh(path);
    } catch (const ra7::FileError&) {
        if (list.Count() != 0)
            std::abort();
        return 0;
    }
    if (!mesh || list.Count() != 1)
        std::abort();
    const auto vertices = static_cast<std::size_t>(mesh->VertexCount);
    if (mesh->IndexCount <= 0 || mesh->Indices.size() != static_cast<std::size_t>(mesh->IndexCount) ||
        mesh->Vertices.size() != vertices || mesh->Binormals.size() != vertices)
        std::abort();
    for (std::uint32_t index : mesh->Indices)
        if (index >= vertices)
            std::abort();
    return 0;
}
