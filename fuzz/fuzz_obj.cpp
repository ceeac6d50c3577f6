// OBJ models through the converter's loader (LoadOBJ, block by block, with
// the seed MTL libraries beside the file for "mtllib"): any bytes either read
// or stop with a FileError naming the line. A model that reads and is
// triangulated is converted to its group meshes, which must keep one entry
// per vertex in every array and indices in range.
#include "FuzzSupport.h"

#include "EditConvert.h"
#include "OBJLoader.h"
#include "runtime/Errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void checkConversion(const ra7::TModel& model)
{
    if (!ra7::IsTriangulated(model))
        return;
    for (const ra7::GroupMeshPlan& plan : ra7::PlanGroupMeshes(model, "fuzz")) {
        const ra7::MeshArrays mesh = ra7::BuildGroupMesh(model, plan.Group);
        const std::size_t n = mesh.Vertices.size();
        if (mesh.Normals.size() != n || mesh.TexCoords.size() != n || mesh.Tangents.size() != n ||
            mesh.Binormals.size() != n || mesh.Indices.size() != n || n % 3 != 0 || n == 0)
            std::abort();
        for (const std::uint32_t index : mesh.Indices)
            if (index >= n)
                std::abort();
    }
    for (std::int32_t m = 1; m <= model.MaterialCount; ++m) {
        try {
            (void)ra7::MaterialShininess(model.Materials[m]);
        } catch (const ra7::Error&) {
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::fuzz::PlaceSeedFiles();
    const std::string path = ra7::fuzz::WriteScratchFile("fuzz.obj", data, size);
    ra7::TModel model;
    try {
        model = ra7::LoadOBJ(path);
    } catch (const ra7::Error&) {
        return 0;
    }
    checkConversion(model);
    return 0;
}
