// Picking and the gizmo on Mesa's software renderer at 1024 × 768: a click's
// pick (the pass over every object and the read of one pixel) in a scene of
// 10 000 objects, and a frame of that scene while the gizmo is dragged
// against the same frame with nothing selected.
#include "MeshShapes.h"
#include "core/EditorDocument.h"
#include "core/EditorFrame.h"
#include "core/ViewInput.h"
#include "effects/Ka7Light.h"
#include "render/FrameRoutine.h"
#include "render/Ka7Scene.h"
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

#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace ra7::editor {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr Viewport kView{0, 0, kWidth, kHeight};

TDotContext& pickContext()
{
    static std::unique_ptr<TDotContext> context = [] {
        ::setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        auto made = std::make_unique<TDotContext>(std::make_unique<HeadlessContext>(kWidth, kHeight));
        made->SetBufferBits(24, 8, 24, 8);
        if (!made->InitGL())
            throw std::runtime_error("cannot create a headless OpenGL context");
        return made;
    }();
    context->MakeCurrent();
    return *context;
}

// `count` small boxes on a square grid facing a camera that sees them all,
// one light, and the editor's three arrows.
class PickScene {
public:
    explicit PickScene(std::int32_t count)
    {
        TDotContext& context = pickContext();
        ResetSettings();
        Settings.UseFrustumCulling = true;
        DetectCapabilities(context);
        ResetDrawState();
        FrameTime = 16.0f;
        Meshes = std::make_unique<KaMeshList>();
        Materials = std::make_unique<KaMaterialList>();
        DefaultMaterial = std::make_unique<KaMaterial>(MakeDefaultMaterial());
        SceneObjects = std::make_unique<KaObjArray>();
        SceneObjects->SetMaterialCatalog(Materials.get());
        Scene = std::make_unique<KaScene>();

        auto box = std::make_unique<KaMesh>();
        datagen::AppendBox(*box, {0, 0, 0}, {0.4f, 0.4f, 0.4f});
        Meshes->Add(datagen::FinishMesh(std::move(box), "box"));
        auto arrow = std::make_unique<KaMesh>();
        datagen::AppendCylinderX(*arrow, 0.0f, 0.75f, 0.03f, 12);
        datagen::AppendConeX(*arrow, 0.75f, 1.0f, 0.08f, 16);
        Meshes->Add(datagen::FinishMesh(std::move(arrow), "arrow"));
        KaMaterial plain;
        plain.Name = "plain";
        Materials->AddCopy(plain);

        side_ = static_cast<std::int32_t>(std::ceil(std::sqrt(static_cast<double>(count))));
        SceneObjects->BeginUpdate();
        for (std::int32_t i = 0; i < count; ++i) {
            auto geometry = std::make_unique<KaGeometry>();
            geometry->SetName("g" + std::to_string(i));
            geometry->MeshName = "box";
            geometry->MaterialName = "plain";
            geometry->Trans->Position = positionOf(i);
            SceneObjects->Add(std::move(geometry));
        }
        auto light = std::make_unique<KaLight>();
        light->SetName("light");
        light->LightParams[0] = 0;
        light->Trans->Position = {0, 0, 20};
        SceneObjects->Add(std::move(light));
        auto camera = std::make_unique<KaCamera>();
        camera->SetName("view");
        camera->Trans->Position = {0, 0, static_cast<float>(side_) * 1.3f + 2};
        SceneObjects->Add(std::move(camera));
        SceneObjects->EndUpdate();
        ActiveCameraName = "view";
        Scene->ShowMarkers = false;
        for (const Matrix3& turn : {kIdentityMatrix3, RotationZ(DegToRad(90)), RotationY(DegToRad(-90))}) {
            auto model = std::make_unique<KaGeometry>();
            model->MeshName = "arrow";
            model->Trans->Rotation = turn;
            arrows_.push_back(std::move(model));
        }
        ApplyStartupGLState();
        document_ = std::make_unique<EditorDocument>(*SceneObjects);
        ViewInput::Services services;
        services.makeCurrent = [] { pickContext(); };
        services.geometry = [] { return ViewGeometry{kView, kHeight, 1.0}; };
        input_ = std::make_unique<ViewInput>(
            *document_, GizmoArrows{arrows_[0].get(), arrows_[1].get(), arrows_[2].get()},
            std::move(services));
        // One frame builds the display lists and the render lists.
        frame(false);
    }

    ~PickScene()
    {
        pickContext();
        input_->ReleaseGL();
        input_.reset();
        document_.reset();
        arrows_.clear();
        Scene.reset();
        SceneObjects.reset();
        ActiveCameraName.clear();
        Materials.reset();
        Meshes.reset();
        DefaultMaterial.reset();
    }

    Vector3 positionOf(std::int32_t i) const
    {
        return {static_cast<float>(i % side_) - static_cast<float>(side_) / 2,
                static_cast<float>(i / side_) - static_cast<float>(side_) / 2, 0};
    }

    // Where a world point shows in the view, in widget pixels (top left origin).
    static PointerState pointerAt(const Vector3& world)
    {
        const Matrix4 m =
            MatrixMultiply4(SceneObjects->ActiveCamera()->Trans->ViewMatrix(), ProjectionFor(kView));
        const float v[4] = {world.x, world.y, world.z, 1};
        float clip[4] = {};
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                clip[i] += m[static_cast<std::size_t>(j * 4 + i)] * v[j];
        PointerState pointer;
        pointer.x = std::floor((clip[0] / clip[3] + 1) / 2 * kWidth) + 0.5;
        pointer.y = kHeight - 1 - std::floor((clip[1] / clip[3] + 1) / 2 * kHeight) + 0.5;
        return pointer;
    }

    // One pass of the editor's loop: the update and the frame with the
    // editor's picking pass, outlines and gizmo.
    void frame(bool withEditorParts)
    {
        ra7::UpdateScene(FrameHooks{});
        FrameInputs inputs;
        inputs.view = kView;
        inputs.clientWidth = kWidth;
        inputs.clientHeight = kHeight;
        inputs.showGrid = true;
        if (withEditorParts) {
            inputs.picking = [this] { return input_->PickingPass(); };
            inputs.outlines = [this] { input_->DrawOutlines(); };
            inputs.gizmo = [this] { input_->DrawGizmo(); };
        }
        paintFrame(inputs);
        pickContext().SwapBuffers();
    }

    EditorDocument& document() { return *document_; }
    ViewInput& input() { return *input_; }

private:
    std::int32_t side_ = 1;
    std::vector<std::unique_ptr<KaGeometry>> arrows_;
    std::unique_ptr<EditorDocument> document_;
    std::unique_ptr<ViewInput> input_;
};

// A click's pick: every object drawn in its colour around the pixel, one pixel read.
void BM_PickObject(benchmark::State& state)
{
    PickScene scene(static_cast<std::int32_t>(state.range(0)));
    const std::int32_t target = static_cast<std::int32_t>(state.range(0)) / 2 + 7;
    const PointerState at = PickScene::pointerAt(scene.positionOf(target));
    std::string found;
    for (auto _ : state)
        found = scene.input().ObjectAt(at.x, at.y);
    if (found != "g" + std::to_string(target))
        state.SkipWithError(("picked <" + found + ">").c_str());
}

// The gizmo's pick of one press.
void BM_PickGizmo(benchmark::State& state)
{
    PickScene scene(static_cast<std::int32_t>(state.range(0)));
    scene.document().Select({"g0"});
    const auto picture = PictureFor(*SceneObjects, scene.document().Selection(), scene.input().Gizmo());
    if (!picture) {
        state.SkipWithError("no gizmo");
        return;
    }
    const GizmoPlacement& placement = picture->placement;
    const PointerState at =
        PickScene::pointerAt(VectorAdd(VectorAdd(placement.origin, placement.shift), {0.8f, 0, 0}));
    std::array<float, 3> colour{};
    for (auto _ : state)
        colour = scene.input().GizmoColourAt(at.x, at.y);
    if (colour[0] != 1.0f)
        state.SkipWithError("the red arrow was not found");
}

// The frame with nothing selected.
void BM_FrameWithoutGizmo(benchmark::State& state)
{
    PickScene scene(static_cast<std::int32_t>(state.range(0)));
    scene.frame(true);
    for (auto _ : state)
        scene.frame(true);
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The frame while the red arrow is dragged: a move (one merged step of the
// drag), the picking pass, the outlines and the gizmo.
void BM_FrameWithGizmoDragged(benchmark::State& state)
{
    PickScene scene(static_cast<std::int32_t>(state.range(0)));
    const std::string name = "g" + std::to_string(state.range(0) / 2);
    scene.document().Select({name});
    const auto picture = PictureFor(*SceneObjects, scene.document().Selection(), scene.input().Gizmo());
    if (!picture) {
        state.SkipWithError("no gizmo");
        return;
    }
    PointerState pointer = PickScene::pointerAt(
        VectorAdd(VectorAdd(picture->placement.origin, picture->placement.shift), {0.8f, 0, 0}));
    scene.input().Move(pointer);
    pointer.left = true;
    scene.input().Press(MouseButton::Left, pointer);
    if (!scene.input().Dragging()) {
        state.SkipWithError("the press grabbed no arrow");
        return;
    }
    scene.frame(true); // the arrows' display lists
    int step = 0;
    for (auto _ : state) {
        pointer.x += (step++ % 40 < 20) ? 1 : -1;
        scene.input().Move(pointer);
        scene.frame(true);
    }
    pointer.left = false;
    scene.input().Release(MouseButton::Left, pointer);
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_PickObject)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PickGizmo)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FrameWithoutGizmo)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_FrameWithGizmoDragged)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace
} // namespace ra7::editor
