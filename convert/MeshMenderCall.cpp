#include "MeshMenderCall.h"

#include "meshmender/MeshMender.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace ra7 {

namespace {

std::vector<std::string> candidatePaths(const std::string& fileName)
{
    std::vector<std::string> paths{fileName};
    if (fileName.find('/') != std::string::npos)
        return paths;
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        paths.push_back((program.parent_path() / fileName).string());
#ifdef RA7_MESHMENDER_BUILD_DIR
    paths.push_back((fs::path(RA7_MESHMENDER_BUILD_DIR) / fileName).string());
#endif
    return paths;
}

} // namespace

MeshMenderLibrary::~MeshMenderLibrary()
{
    if (handle_)
        ::dlclose(handle_);
}

std::unique_ptr<MeshMenderLibrary> MeshMenderLibrary::Open(const std::string& fileName, std::string& whyNot)
{
    std::string firstError;
    for (const std::string& path : candidatePaths(fileName)) {
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            if (firstError.empty())
                firstError = ::dlerror();
            continue;
        }
        std::unique_ptr<MeshMenderLibrary> library(new MeshMenderLibrary);
        library->handle_ = handle;
        library->mend_ = ::dlsym(handle, "Mend");
        library->dispose_ = ::dlsym(handle, "DisposeMem");
        if (!library->mend_ || !library->dispose_) {
            whyNot = "NVMeshMender: " + path +
                     " does not export Mend and DisposeMem; the third tangent-space "
                     "method is disabled";
            return nullptr;
        }
        whyNot.clear();
        return library;
    }
    whyNot = "NVMeshMender: cannot load " + fileName + " (" + firstError +
             "); the third tangent-space method is disabled";
    return nullptr;
}

bool MeshMenderLibrary::Apply(MeshArrays& mesh, const MeshMenderOptions& options) const
{
    const std::size_t count = mesh.Vertices.size();
    mesh.Tangents.assign(count, kZeroVector);
    mesh.Binormals.assign(count, kZeroVector);

    // Our own two blocks: the vertex records and the indices.
    std::vector<float> records(kMendRecordSingles * count, 0.0f);
    for (std::size_t v = 0; v < count; ++v) {
        float* r = records.data() + kMendRecordSingles * v;
        r[0] = mesh.Vertices[v].x;
        r[1] = mesh.Vertices[v].y;
        r[2] = mesh.Vertices[v].z;
        if (v < mesh.TexCoords.size()) {
            r[3] = mesh.TexCoords[v].x;
            r[4] = mesh.TexCoords[v].y;
        }
        if (v < mesh.Normals.size()) {
            r[5] = mesh.Normals[v].x;
            r[6] = mesh.Normals[v].y;
            r[7] = mesh.Normals[v].z;
        }
    }
    std::vector<std::uint32_t> indices(mesh.Indices.begin(), mesh.Indices.end());

    uintptr_t vertexBlock = reinterpret_cast<uintptr_t>(records.data());
    uintptr_t vertexCount = count;
    uintptr_t indexBlock = reinterpret_cast<uintptr_t>(indices.data());
    uintptr_t indexCount = indices.size();
    const auto mend = reinterpret_cast<MendFunction>(mend_);
    const auto dispose = reinterpret_cast<DisposeMemFunction>(dispose_);
    const int ok = mend(&vertexBlock, &vertexCount, &indexBlock, &indexCount, options.MinNormalCreaseCos,
                        options.MinTangentCreaseCos, options.MinBinormalCreaseCos,
                        options.WeightNormalsByArea, options.CalculateNormals ? -1 : 0,
                        options.RespectSplits ? -1 : 0, options.FixCylindrical ? -1 : 0);
    if (ok == 0)
        return false;

    // The library hands its blocks back as pointer-sized handles.
    const float* out = reinterpret_cast<const float*>(vertexBlock); // NOLINT(performance-no-int-to-ptr)
    const auto* outIndices =
        reinterpret_cast<const std::uint32_t*>(indexBlock); // NOLINT(performance-no-int-to-ptr)
    mesh.Vertices.resize(vertexCount);
    mesh.TexCoords.resize(vertexCount);
    mesh.Normals.resize(vertexCount);
    mesh.Tangents.resize(vertexCount);
    mesh.Binormals.resize(vertexCount);
    for (std::size_t v = 0; v < vertexCount; ++v) {
        const float* r = out + kMendRecordSingles * v;
        mesh.Vertices[v] = {r[0], r[1], r[2]};
        mesh.TexCoords[v] = {r[3], r[4]};
        // The records carry the normals through unchanged when they are not
        // recomputed; taking them always keeps every array one entry a
        // vertex when vertices were split.
        mesh.Normals[v] = {r[5], r[6], r[7]};
        mesh.Tangents[v] = {r[8], r[9], r[10]};
        mesh.Binormals[v] = {r[11], r[12], r[13]};
    }
    mesh.Indices.assign(outIndices, outIndices + indexCount);
    dispose(vertexBlock);
    dispose(indexBlock);
    return true;
}

} // namespace ra7
