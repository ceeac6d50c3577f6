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

KaMaterial material(const std::string& name, bool blend)
{
    KaMaterial m;
    m.Name = name;
    m.Blend = blend;
    return m;
}

} // namespace ra7::test
