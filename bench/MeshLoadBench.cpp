// Loading a `.mes` file of one million vertices: with client arrays, and with
// USE VBO (uploaded to GPU buffers, no CPU copy left), next to reading the
// same bytes with one plain fread, the floor. Bytes per second are the file's.
#include "resources/Ka7Mesh.h"
#include "runtime/DotWindow.h"
#include "runtime/HeadlessContext.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/RecordFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <numeric>
#include <vector>

namespace {

constexpr std::int32_t kVertices = 1000000;

const std::filesystem::path& meshFile()
{
    static const std::filesystem::path path = [] {
        const auto file = std::filesystem::temp_directory_path() / "ra7bench-million.mes";
        ra7::KaMesh mesh;
        mesh.Name = "million.mes";
        mesh.VertexCount = kVertices;
        mesh.IndexCount = kVertices;
        mesh.Vertices.resize(kVertices);
        for (std::size_t i = 0; i < mesh.Vertices.size(); ++i)
            mesh.Vertices[i] = {static_cast<float>(i), 1, 2};
        mesh.Normals.assign(kVertices, ra7::Vector3{0, 0, 1});
        mesh.TexCoords.assign(kVertices, ra7::Vector2{0.5f, 0.5f});
        mesh.Tangents.assign(kVertices, ra7::Vector3{1, 0, 0});
        mesh.Binormals.assign(kVertices, ra7::Vector3{0, 1, 0});
        mesh.Indices.resize(kVertices);
        std::iota(mesh.Indices.begin(), mesh.Indices.end(), 0u);
        ra7::RecordWriter writer(file.string());
        mesh.SaveToFile(writer);
        writer.commit();
        return file;
    }();
    return path;
}

std::int64_t fileBytes()
{
    return static_cast<std::int64_t>(std::filesystem::file_size(meshFile()));
}

ra7::TDotContext& benchContext()
{
    static const std::unique_ptr<ra7::TDotContext> context = [] {
        auto made = std::make_unique<ra7::TDotContext>(std::make_unique<ra7::HeadlessContext>(16, 16));
        made->InitGL();
        return made;
    }();
    return *context;
}

void BM_ReadMeshBytesFloor(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(fileBytes());
    for (auto _ : state) {
        std::unique_ptr<char[]> bytes(new char[size]);
        std::FILE* file = std::fopen(meshFile().c_str(), "rb");
        const std::size_t got = std::fread(bytes.get(), 1, size, file);
        std::fclose(file);
        benchmark::DoNotOptimize(bytes.get());
        if (got != size)
            state.SkipWithError("short read");
    }
    state.SetBytesProcessed(state.iterations() * fileBytes());
}
BENCHMARK(BM_ReadMeshBytesFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadMeshClientArrays(benchmark::State& state)
{
    ra7::Settings.UseVBO = false;
    for (auto _ : state) {
        ra7::RecordReader reader = ra7::RecordReader::openFile(meshFile().string());
        ra7::KaMesh mesh;
        ra7::ReadMeshFile(reader, mesh);
        benchmark::DoNotOptimize(mesh.Vertices.data());
    }
    state.SetBytesProcessed(state.iterations() * fileBytes());
}
BENCHMARK(BM_LoadMeshClientArrays)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadMeshUseVBO(benchmark::State& state)
{
    if (!benchContext().HasContext()) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
    ra7::Settings.UseVBO = true;
    std::size_t leftOnCpu = 0;
    for (auto _ : state) {
        ra7::RecordReader reader = ra7::RecordReader::openFile(meshFile().string());
        ra7::KaMesh mesh;
        reader.skip(ra7::kTagSize);
        mesh.LoadFromFile(reader);
        leftOnCpu = mesh.Vertices.capacity() + mesh.Normals.capacity() + mesh.TexCoords.capacity() +
                    mesh.Tangents.capacity() + mesh.Binormals.capacity() + mesh.Indices.capacity();
    }
    ra7::Settings.UseVBO = false;
    state.SetBytesProcessed(state.iterations() * fileBytes());
    state.counters["cpu_elements_left"] = static_cast<double>(leftOnCpu);
}
BENCHMARK(BM_LoadMeshUseVBO)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
