#include "SceneBenchSupport.h"

#include "effects/Ka7Light.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"

#include <filesystem>
#include <malloc.h>
#include <stdlib.h>
#include <string>

namespace ra7::bench {

void enterScratchDirectory()
{
    static bool done = false;
    if (done)
        return;
    std::string pattern = (std::filesystem::temp_directory_path() / "ra7bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        std::filesystem::current_path(pattern);
    done = true;
}

namespace {
std::unique_ptr<KaSceneObj> objectOfKind(std::int32_t i)
{
    switch (i % 10) {
    case 0:
    case 1:
    case 2:
    case 3: {
        auto geometry = std::make_unique<KaGeometry>();
        geometry->MeshName = "data\\models\\crate.mes";
        geometry->MeshLod1 = "data\\models\\crate_lod1.mes";
        return geometry;
    }
    case 4:
    case 5:
        return std::make_unique<KaLight>();
    case 6:
    case 7: {
        auto sprite = std::make_unique<KaSprite>();
        sprite->Texture1 = "data\\textures\\glow.png";
        return sprite;
    }
    case 8:
        return std::make_unique<KaSound>();
    default:
        return std::make_unique<KaCamera>();
    }
}
} // namespace

std::unique_ptr<KaObjArray> buildBenchScene(std::int32_t count)
{
    auto array = std::make_unique<KaObjArray>();
    array->BeginUpdate();
    for (std::int32_t i = 0; i < count; ++i) {
        std::unique_ptr<KaSceneObj> object = objectOfKind(i);
        object->SetName(
            array->MakeUniqueName(i % 2 == 0 ? std::string("box") : "object" + std::to_string(i)));
        object->Trans->Position = {static_cast<float>(i % 100), static_cast<float>(i / 100), 0};
        array->Add(std::move(object));
    }
    // A quarter of the objects in trees of four: one root, three children.
    for (std::int32_t i = 0; i + 3 < count / 4; i += 4)
        for (std::int32_t child = 1; child <= 3; ++child)
            array->GetItem(i)->AddChild(*array->GetItem(i + child));
    array->EndUpdate();
    return array;
}

std::vector<std::int32_t> allIndexes(const KaObjArray& array)
{
    std::vector<std::int32_t> indexes(static_cast<std::size_t>(array.Count()));
    for (std::int32_t i = 0; i < array.Count(); ++i)
        indexes[static_cast<std::size_t>(i)] = i;
    return indexes;
}

double heapMegabytes()
{
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

} // namespace ra7::bench
