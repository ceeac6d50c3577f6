// The converter page against ra7 convert on the same model. The page runs
// the same steps, but reads and converts on a worker thread under the
// progress window and adds the result as an undoable step; it must cost no
// more than 1.2 times what ra7 convert's steps cost (wall-clock time).
#include "ConvertToScene.h"
#include "WorkProgress.h"
#include "core/ConversionCommands.h"
#include "core/EditorDocument.h"
#include "host/Ka7ConsoleCommands.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7Console.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/LongWork.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace ra7;
using namespace ra7::editor;

// A grid of side × side vertices with texture coordinates and normals, its
// triangles spread over `groups` groups: about 11 MB for side 256, 100 MB
// for side 770.
void writeGridModel(const fs::path& path, int side, int groups)
{
    std::ofstream out(path);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            out << "v " << x * 0.1 << ' ' << y * 0.1 << " 0\nvt " << x / double(side) << ' '
                << y / double(side) << "\nvn 0 0 1\n";
    const int cells = (side - 1) * (side - 1);
    for (int cell = 0; cell < cells; ++cell) {
        if (cell % (cells / groups) == 0)
            out << "g part" << cell / (cells / groups) << '\n';
        const int x = cell % (side - 1);
        const int y = cell / (side - 1);
        const int a = y * side + x + 1;
        const int b = a + 1;
        const int c = a + side + 1;
        const int d = a + side;
        out << "f " << a << '/' << a << '/' << a << ' ' << b << '/' << b << '/' << b << ' ' << c << '/' << c
            << '/' << c << "\nf " << a << '/' << a << '/' << a << ' ' << c << '/' << c << '/' << c << ' ' << d
            << '/' << d << '/' << d << '\n';
    }
}

// A scratch project with a model of `side` × `side` vertices, the console
// open and the lists the converter fills, fresh for every run.
class ConverterProject {
public:
    explicit ConverterProject(int side)
    {
        previous_ = fs::current_path();
        folder_ = fs::temp_directory_path() / ("ra7-converter-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        fs::current_path(folder_);
        writeGridModel("grid.obj", side, 64);
        InitConsole();
    }
    ~ConverterProject()
    {
        DoneConsole();
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }
    void freshLists()
    {
        fs::remove_all("meshes");
        fs::create_directory("meshes");
        SceneObjects = std::make_unique<KaObjArray>();
        Meshes = std::make_unique<KaMeshList>();
        Materials = std::make_unique<KaMaterialList>();
        Textures = std::make_unique<KaTextureArray>();
    }

private:
    fs::path previous_;
    fs::path folder_;
};

// What ra7 convert does: read, then convert in one go.
void BM_ConvertLikeRa7Convert(benchmark::State& state)
{
    ConverterProject project(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        project.freshLists();
        state.ResumeTiming();
        const TModel model = LoadOBJ("grid.obj");
        benchmark::DoNotOptimize(ConvertOBJModel(model, "meshes").MeshNames.data());
    }
}

// What the page does: read and prepare on a worker under the progress
// window, then commit the files and add the result as one undoable step.
void BM_ConvertLikeTheConverterPage(benchmark::State& state)
{
    ConverterProject project(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        project.freshLists();
        EditorDocument document(*SceneObjects);
        state.ResumeTiming();
        TModel model;
        WorkProgress reading;
        RunLongWork(nullptr, QStringLiteral("Загрузка модели"), reading,
                    [&] { model = LoadOBJ("grid.obj", {}, &reading); });
        PreparedConversion prepared;
        WorkProgress converting;
        RunLongWork(nullptr, QStringLiteral("Конвертация"), converting,
                    [&] { prepared = PrepareOBJConversion(model, "meshes", &converting); });
        prepared.Files.Commit();
        document.Execute(std::make_unique<AddConvertedCommand>(
            "Конвертация", [&] { return AddConvertedModel(model, prepared); }));
    }
}

// About 11 MB, then about 100 MB of OBJ text.
BENCHMARK(BM_ConvertLikeRa7Convert)->Arg(256)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_ConvertLikeTheConverterPage)
    ->Arg(256)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK(BM_ConvertLikeRa7Convert)->Arg(770)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_ConvertLikeTheConverterPage)
    ->Arg(770)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

} // namespace
