#include "engine/SceneTestSupport.h"

#include "runtime/FileIO.h"
#include "runtime/FrameTime.h"
#include "runtime/KaRandom.h"

namespace ra7::test {

void SceneTest::SetUp()
{
    ConsoleTest::SetUp();
    SceneObjects = std::make_unique<KaObjArray>();
    ActiveCameraName.clear();
    SeedRandom(12345);
    FrameTime = 10.0f;
}

void SceneTest::TearDown()
{
    SceneObjects.reset();
    ActiveCameraName.clear();
    FrameTime = 0.0f;
    ConsoleTest::TearDown();
}

std::vector<std::string> SceneTest::names() const
{
    std::vector<std::string> result;
    for (std::int32_t i = 0; i < SceneObjects->Count(); ++i)
        result.push_back(SceneObjects->GetItem(i)->Name());
    return result;
}

std::int32_t TestMaterials::IndexOfMaterial(std::string_view name) const
{
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].name == name)
            return static_cast<std::int32_t>(i);
    return -1;
}

bool TestMaterials::MaterialBlend(std::int32_t index) const
{
    return entries.at(static_cast<std::size_t>(index)).blend;
}

void TestMaterials::SaveMaterials(std::string_view kmtFileName,
                                  const std::vector<std::int32_t>& indexes) const
{
    std::vector<std::string> lines;
    for (const std::int32_t index : indexes)
        lines.push_back(std::to_string(index) + " " + entries.at(static_cast<std::size_t>(index)).name);
    writeTextLines(kmtFileName, lines);
}

} // namespace ra7::test
