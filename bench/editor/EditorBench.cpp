// The editor's costs that grow with the scene: rebuilding the hierarchy tree
// (after every change of the object list, and for each keystroke in the
// filter box) and undoing a large deletion.
#include "core/EditorDocument.h"
#include "core/SceneBackup.h"
#include "core/SceneTree.h"
#include "core/TreeEdits.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"
#include "ui/DialogService.h"
#include "ui/EditorPage.h"
#include "ui/THierarchyPanel.h"

#include <QApplication>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace ra7;
using namespace ra7::editor;

// `count` objects, half of them roots and half the child of the root before.
std::unique_ptr<KaObjArray> buildScene(std::int32_t count)
{
    auto scene = std::make_unique<KaObjArray>();
    scene->BeginUpdate();
    for (std::int32_t i = 0; i < count; ++i) {
        auto object = std::make_unique<KaGeometry>();
        object->SetName("box_" + std::to_string(i));
        KaSceneObj& added = *scene->Add(std::move(object));
        if (i % 2 == 1)
            scene->GetItem(i - 1)->AddChild(added);
    }
    scene->EndUpdate();
    return scene;
}

struct TreeFixture {
    explicit TreeFixture(std::int32_t count)
        : scene(buildScene(count)), document(*scene), dialogs(nullptr), services(dialogs), panel(services)
    {
        services.document = &document;
        panel.Attach(document);
    }
    std::unique_ptr<KaObjArray> scene;
    EditorDocument document;
    QtDialogService dialogs;
    EditorServices services;
    THierarchyPanel panel;
};

// The tree's nodes alone, without widgets.
void BM_TreeNodes(benchmark::State& state)
{
    std::unique_ptr<KaObjArray> scene = buildScene(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildTree(*scene));
}

void BM_TreeRebuild(benchmark::State& state)
{
    TreeFixture fixture(static_cast<std::int32_t>(state.range(0)));
    for (auto _ : state)
        fixture.panel.RebuildTree();
}

// One keystroke in the filter box: the tree is rebuilt with the matches.
void BM_TreeFilterKeystroke(benchmark::State& state)
{
    TreeFixture fixture(static_cast<std::int32_t>(state.range(0)));
    bool shorter = false;
    for (auto _ : state) {
        fixture.panel.Filter().setText(shorter ? QStringLiteral("box_1") : QStringLiteral("box_12"));
        shorter = !shorter;
    }
}

// Undoing the deletion of 1 000 selected objects, half of them parents.
void BM_UndoDeleteOfSelection(benchmark::State& state)
{
    std::unique_ptr<KaObjArray> scene = buildScene(static_cast<std::int32_t>(state.range(0)));
    EditorDocument document(*scene);
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < 1000; ++i)
        names.push_back("box_" + std::to_string(i * 7));
    for (auto _ : state) {
        state.PauseTiming();
        document.Select(names);
        DeleteSelected(document);
        state.ResumeTiming();
        document.Undo();
    }
}

// One autosave of a 10 000-object scene, as the editor's timer runs it on
// the GUI thread: every object, its resource lines and the sidecar.
void BM_AutosaveBackup(benchmark::State& state)
{
    const auto folder = std::filesystem::temp_directory_path() / "ra7-autosave-bench";
    std::filesystem::create_directories(folder);
    std::unique_ptr<KaObjArray> scene = buildScene(static_cast<std::int32_t>(state.range(0)));
    for (std::int32_t i = 0; i < scene->Count(); ++i)
        static_cast<KaGeometry*>(scene->GetItem(i))->MeshName =
            "meshes\\box" + std::to_string(i % 50) + ".mes";
    EditorDocument document(*scene);
    document.MarkSaved((folder / "level.kgf").string());
    for (auto _ : state)
        WriteBackup(document, {});
    std::filesystem::remove_all(folder);
}

BENCHMARK(BM_AutosaveBackup)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeNodes)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeRebuild)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeFilterKeystroke)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoDeleteOfSelection)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Widgets without a display: the tree's own costs, not the screen's.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
