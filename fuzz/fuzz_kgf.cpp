// KGF scene files merged, as "Загрузить KGF" merges them, into a scene that
// already holds objects whose names the seed files also use and which are
// linked as parent and child, on the engine started headless (stored command
// lines load the seed meshes, materials and texture). Any bytes load or stop
// with one of the engine's errors, keeping the objects read so far. Then:
// - every name in the scene is unique, and the objects that were there keep
//   their names, slots and links (a merged object never takes their names
//   nor becomes their parent or child);
// - a frame's update runs over whatever hierarchy the file built;
// - the merged objects, saved with the engine's writer, read back whole.
#include "FuzzSupport.h"

#include "effects/Ka7Sprite.h"
#include "runtime/Errors.h"
#include "runtime/LeakChecker.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/SceneFile.h"
#include "scene/SceneObjectKinds.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

RA7_LEAK_CHECKER_HOOKS()

namespace {

struct PresentObject {
    const char* name;
    ra7::KaObjKind kind;
    const char* parent; // nullptr for a root
};

// Names the seed scenes use too, and a taken "_1" name, so that the merge has
// to rename and to skip a suffix.
const PresentObject kPresent[] = {
    {"Geom1", ra7::KaObjKind::Geometry, nullptr},  {"spr1", ra7::KaObjKind::Sprite, "Geom1"},
    {"cam1", ra7::KaObjKind::Camera, nullptr},     {"lig1", ra7::KaObjKind::Light, "cam1"},
    {"Geom1_1", ra7::KaObjKind::Geometry, "spr1"},
};
constexpr std::int32_t kPresentCount = sizeof kPresent / sizeof kPresent[0];

void buildPresentScene(ra7::KaObjArray& scene)
{
    for (const PresentObject& present : kPresent) {
        std::unique_ptr<ra7::KaSceneObj> object = ra7::CreateSceneObject(present.kind);
        object->SetName(present.name);
        ra7::KaSceneObj* added = scene.Add(std::move(object));
        if (present.parent)
            scene.FindByName(present.parent)->AddChild(*added);
    }
    ra7::ActiveCameraName = "cam1";
}

void checkPresentSceneKept(const ra7::KaObjArray& scene)
{
    for (std::int32_t slot = 0; slot < kPresentCount; ++slot) {
        const ra7::KaSceneObj* object = scene.GetItem(slot);
        const PresentObject& present = kPresent[slot];
        if (object->Name() != present.name || object->ParentName != (present.parent ? present.parent : ""))
            std::abort();
        for (const std::string& child : object->Children) {
            const ra7::KaSceneObj* linked = scene.FindByName(child);
            if (!linked || linked->Slot() >= kPresentCount)
                std::abort();
        }
    }
}

void checkNamesUnique(const ra7::KaObjArray& scene)
{
    for (std::int32_t slot = 0; slot < scene.Count(); ++slot)
        if (scene.IndexOfName(scene.GetItem(slot)->Name()) != slot)
            std::abort();
}

// What the engine writes of the merged objects it must read back.
void checkSavedMergeReadsBack(ra7::KaObjArray& scene)
{
    std::vector<std::int32_t> merged(static_cast<std::size_t>(scene.Count() - kPresentCount));
    if (merged.empty())
        return;
    std::iota(merged.begin(), merged.end(), kPresentCount);
    const std::string path = (ra7::fuzz::ScratchFolder() / "saved.kgf").string();
    try {
        scene.SaveObjects(path, merged, {});
    } catch (const ra7::Error&) {
        return; // a link leaves the saved set: refused before writing
    }
    ra7::RecordReader file = ra7::RecordReader::openFile(path);
    if (ra7::ReadSceneFileContents(file).Objects.size() != merged.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::fuzz::StartedEngine();
    ra7::KaObjArray& scene = *ra7::SceneObjects;
    buildPresentScene(scene);
    const std::string path = ra7::fuzz::WriteScratchFile("fuzz.kgf", data, size);
    try {
        scene.LoadFromFile(path);
    } catch (const ra7::Error&) {
    }
    checkNamesUnique(scene);
    checkPresentSceneKept(scene);
    scene.UpdateRoots();
    checkSavedMergeReadsBack(scene);
    return 0;
}
