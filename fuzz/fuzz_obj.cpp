// OBJ models: any bytes either read or stop with a FileError naming the line.
// A model that reads and is triangulated is converted to its group meshes,
// which must keep one entry per vertex in every array and indices in range.
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
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ra7::TModel model;
    try {
        // Library names resolve in a folder that does not exist: only the
        // "cannot find" path is taken, the file system stays untouched.
        ra7::ReadOBJText(model, bytes, "fuzz.obj", "/nonexistent-ra7-fuzz");
    } catch (const ra7::Error&) {
        return 0;
    }
    checkConversion(model);
    return 0;
}
