// Frames per second of the frame routine on Mesa's software renderer for
// scenes of n geometries under 1 or 4 lights, beside the floor: a bare loop
// that places each object and calls the same display list once per light,
// as many draws as the engine makes, with no engine work at all.
#include "effects/Ka7Light.h"
#include "render/FrameRoutine.h"
#include "render/Ka7Scene.h"
#include "render/RenderTargets.h"
#include "resources/DrawState.h"
#include "resources/Ka7Material.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "runtime/Capabilities.h"
#include "runtime/DotWindow.h"
#include "runtime/FrameTime.h"
#include "runtime/HeadlessContext.h"
#include "runtime/Ka7GlobalEngine.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace ra7 {
namespace {

constexpr int kViewSize = 256;

TDotContext& benchContext()
{
    static std::unique_ptr<TDotContext> context = [] {
        ::setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        auto made = std::make_unique<TDotContext>(std::make_unique<HeadlessContext>(kViewSize, kViewSize));
        made->SetBufferBits(24, 8, 24, 8);
        if (!made->InitGL())
            throw std::runtime_error("cannot create a headless OpenGL context");
        return made;
    }();
    context->MakeCurrent();
    return *context;
}

// n squares on a grid facing a camera that sees all of them, `lights`
// lights of range 0 (each reaches every object).
class BenchScene {
public:
    BenchScene(std::int32_t count, std::int32_t lights)
    {
        benchContext();
        ResetSettings();
        Settings.ScreenWidth = kViewSize;
        Settings.ScreenHeight = kViewSize;
        Settings.UseFrustumCulling = true;
        DetectCapabilities(benchContext());
        ResetDrawState();
        FrameTime = 16.0f;
        Meshes = std::make_unique<KaMeshList>();
        Materials = std::make_unique<KaMaterialList>();
        DefaultMaterial = std::make_unique<KaMaterial>(MakeDefaultMaterial());
        SceneObjects = std::make_unique<KaObjArray>();
        SceneObjects->SetMaterialCatalog(Materials.get());
        Scene = std::make_unique<KaScene>();

        auto mesh = std::make_unique<KaMesh>();
        mesh->Name = "tile";
        mesh->Vertices = {{-0.4f, -0.4f, 0}, {0.4f, -0.4f, 0}, {0.4f, 0.4f, 0}, {-0.4f, 0.4f, 0}};
        mesh->Normals.assign(4, Vector3{0, 0, 1});
        mesh->TexCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        mesh->Indices = {0, 1, 2, 0, 2, 3};
        mesh->VertexCount = 4;
        mesh->IndexCount = 6;
        mesh_ = Meshes->Add(std::move(mesh));
        KaMaterial plain;
        plain.Name = "plain";
        Materials->AddCopy(plain);

        const auto side = static_cast<std::int32_t>(std::ceil(std::sqrt(static_cast<double>(count))));
        // One rebuild of the render lists at the end rather than one per object.
        SceneObjects->BeginUpdate();
        for (std::int32_t i = 0; i < count; ++i) {
            auto geometry = std::make_unique<KaGeometry>();
            geometry->SetName("g" + std::to_string(i));
            geometry->MeshName = geometry->MeshLod1 = "tile";
            geometry->MaterialName = "plain";
            geometry->Trans->Position = {static_cast<float>(i % side) - static_cast<float>(side) / 2,
                                         static_cast<float>(i / side) - static_cast<float>(side) / 2, 0};
            SceneObjects->Add(std::move(geometry));
        }
        for (std::int32_t i = 0; i < lights; ++i) {
            auto light = std::make_unique<KaLight>();
            light->SetName("l" + std::to_string(i));
            light->LightParams[0] = 0;
            light->Trans->Position = {static_cast<float>(i), 0, 5};
            SceneObjects->Add(std::move(light));
        }
        auto camera = std::make_unique<KaCamera>();
        camera->SetName("view");
        camera->Trans->Position = {0, 0, static_cast<float>(side) * 1.25f + 2};
        SceneObjects->Add(std::move(camera));
        ActiveCameraName = "view";
        SceneObjects->EndUpdate();
        Scene->ShowMarkers = false;

        ApplyStartupGLState();
        ResetProjection();
        SceneObjects->ActiveCamera()->Trans->ApplyView();
        mesh_->BuildDisplayList();
    }

    ~BenchScene()
    {
        Scene.reset();
        SceneObjects.reset();
        ActiveCameraName.clear();
        Materials.reset();
        Meshes.reset();
        DefaultMaterial.reset();
    }

    KaMesh& mesh() { return *mesh_; }

private:
    KaMesh* mesh_ = nullptr;
};

void finishFrame()
{
    benchContext().SwapBuffers();
}

void BM_FrameRoutine(benchmark::State& state)
{
    const auto count = static_cast<std::int32_t>(state.range(0));
    const auto lights = static_cast<std::int32_t>(state.range(1));
    BenchScene scene(count, lights);
    FrameOptions options;
    options.ShowAxes = false;
    options.ShowGrid = false;
    const FrameHooks hooks;
    for (auto _ : state) {
        UpdateScene(hooks);
        RenderFrame(options, hooks);
        finishFrame();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The floor: the same display list, placed and called once per object and
// light, lit by the driver's first light, no engine work.
void BM_DisplayListFloor(benchmark::State& state)
{
    const auto count = static_cast<std::int32_t>(state.range(0));
    const auto lights = static_cast<std::int32_t>(state.range(1));
    BenchScene scene(count, lights);
    const GLuint list = scene.mesh().DisplayList();
    std::vector<Matrix4> placements;
    for (const std::int32_t index : SceneObjects->GeomList)
        placements.push_back(SceneObjects->GetItem(index)->Trans->ModelMatrix());
    const KaTransformation view = *SceneObjects->ActiveCamera()->Trans;
    glEnable(GL_LIGHT0);
    for (auto _ : state) {
        glClearColor(0.6f, 0.6f, 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        view.ApplyView();
        for (const Matrix4& placement : placements)
            for (std::int32_t pass = 0; pass < lights; ++pass) {
                glPushMatrix();
                glMultMatrixf(placement.data());
                glCallList(list);
                glPopMatrix();
            }
        finishFrame();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void frameArguments(benchmark::internal::Benchmark* b)
{
    for (const std::int64_t count : {100, 1000, 10000})
        for (const std::int64_t lights : {1, 4})
            b->Args({count, lights});
    b->ArgNames({"objects", "lights"})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_FrameRoutine)->Apply(frameArguments);
BENCHMARK(BM_DisplayListFloor)->Apply(frameArguments);

} // namespace
} // namespace ra7
