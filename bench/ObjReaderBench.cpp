// Reading a large OBJ model: throughput next to a plain read of the same file
// (the floor), and the reader's peak heap against the file's size. Also the
// mesh mender's cost per vertex.
#include "MeshMenderCall.h"
#include "OBJLoader.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

// Heap accounting for the peak-memory counter: every allocation of the
// program goes through these.
namespace {
std::atomic<std::size_t> heapNow{0};
std::atomic<std::size_t> heapPeak{0};

void* countedAlloc(std::size_t size)
{
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p)
        throw std::bad_alloc();
    const std::size_t now = heapNow += malloc_usable_size(p);
    std::size_t peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void countedFree(void* p) noexcept
{
    if (!p)
        return;
    heapNow -= malloc_usable_size(p);
    std::free(p);
}
} // namespace

void* operator new(std::size_t size)
{
    return countedAlloc(size);
}
void* operator new[](std::size_t size)
{
    return countedAlloc(size);
}
void operator delete(void* p) noexcept
{
    countedFree(p);
}
void operator delete[](void* p) noexcept
{
    countedFree(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    countedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    countedFree(p);
}

namespace {

// A grid of 708 × 708 vertices: 1 000 000 triangles in 500 000 "f v/t/n" lines
// each way, with texture coordinates and normals, as exporters write them.
const std::filesystem::path& largeModel()
{
    static const std::filesystem::path path = [] {
        const auto file = std::filesystem::temp_directory_path() / "ra7bench-grid.obj";
        constexpr int kSide = 708;
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(file.c_str(), "wb"), std::fclose);
        std::fprintf(out.get(), "# generated grid\nmtllib none.mtl\n");
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                std::fprintf(out.get(), "v %.6f %.6f %.6f\n", x * 0.01, y * 0.01,
                             0.05 * ((x * 7 + y * 3) % 11));
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                std::fprintf(out.get(), "vt %.6f %.6f\n", x / double(kSide - 1), y / double(kSide - 1));
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                std::fprintf(out.get(), "vn %.6f %.6f %.6f\n", 0.0, 0.2 * (x % 3), 0.979796);
        std::fprintf(out.get(), "g grid\nusemtl none\n");
        for (int y = 0; y + 1 < kSide; ++y)
            for (int x = 0; x + 1 < kSide; ++x) {
                const int a = y * kSide + x + 1, b = a + 1, c = a + kSide + 1, d = a + kSide;
                std::fprintf(out.get(), "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b, b, b, c, c, c);
                std::fprintf(out.get(), "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, c, c, c, d, d, d);
            }
        return file;
    }();
    return path;
}

void BM_PlainFileRead(benchmark::State& state)
{
    const auto& path = largeModel();
    const auto size = std::filesystem::file_size(path);
    std::unique_ptr<char[]> block(new char[1 << 20]);
    for (auto _ : state) {
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), std::fclose);
        std::size_t total = 0, got = 0;
        while ((got = std::fread(block.get(), 1, 1 << 20, in.get())) > 0)
            total += got;
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_PlainFileRead)->Unit(benchmark::kMillisecond);

void BM_LoadOBJ(benchmark::State& state)
{
    const auto& path = largeModel();
    const auto size = std::filesystem::file_size(path);
    std::size_t faces = 0;
    double peakRatio = 0;
    for (auto _ : state) {
        const std::size_t before = heapNow.load();
        heapPeak = before;
        {
            const ra7::TModel model = ra7::LoadOBJ(path.string());
            faces = static_cast<std::size_t>(model.Groups[1].FaceCount);
            benchmark::DoNotOptimize(model.Vertices.data());
        }
        peakRatio = static_cast<double>(heapPeak.load() - before) / static_cast<double>(size);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.counters["file_MB"] = static_cast<double>(size) / 1e6;
    state.counters["triangles"] = static_cast<double>(faces);
    state.counters["peak_heap_per_file_byte"] = peakRatio;
}
BENCHMARK(BM_LoadOBJ)->Unit(benchmark::kMillisecond);

// An indexed grid of side × side vertices, the way meshes reach the mender.
ra7::MeshArrays gridMesh(int side)
{
    ra7::MeshArrays mesh;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            mesh.Vertices.push_back({static_cast<float>(x) * 0.1f, static_cast<float>(y) * 0.1f,
                                     0.02f * static_cast<float>((x * 7 + y * 3) % 5)});
            mesh.TexCoords.push_back({static_cast<float>(x) / static_cast<float>(side - 1),
                                      static_cast<float>(y) / static_cast<float>(side - 1)});
            mesh.Normals.push_back({0, 0, 1});
        }
    for (int y = 0; y + 1 < side; ++y)
        for (int x = 0; x + 1 < side; ++x) {
            const auto a = static_cast<std::uint32_t>(y * side + x), b = a + 1;
            const auto d = a + static_cast<std::uint32_t>(side), c = d + 1;
            mesh.Indices.insert(mesh.Indices.end(), {a, b, c, a, c, d});
        }
    return mesh;
}

void BM_MeshMenderPerVertex(benchmark::State& state)
{
    std::string whyNot;
    const auto library = ra7::MeshMenderLibrary::Open(ra7::kMeshMenderFileName, whyNot);
    if (!library) {
        state.SkipWithError(whyNot.c_str());
        return;
    }
    const ra7::MeshArrays source = gridMesh(static_cast<int>(state.range(0)));
    ra7::MeshMenderOptions options;
    options.MinNormalCreaseCos = 0.7f;
    options.MinTangentCreaseCos = 0.7f;
    options.MinBinormalCreaseCos = 0.7f;
    for (auto _ : state) {
        state.PauseTiming();
        ra7::MeshArrays mesh = source;
        state.ResumeTiming();
        benchmark::DoNotOptimize(library->Apply(mesh, options));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * source.Vertices.size()));
}
BENCHMARK(BM_MeshMenderPerVertex)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);

} // namespace
