// Animation script text: any bytes parse into commands (or are dropped) and
// play over a small scene without touching memory outside its arrays. Every
// input starts with a new console and log, a new scene and the same random
// numbers, so that no input depends on the ones before it.
#include "FuzzSupport.h"

#include "anim/Ka7AnimScript.h"
#include "effects/Ka7ParSystem.h"
#include "host/Ka7ConsoleCommands.h"
#include "runtime/FileIO.h"
#include "runtime/KaRandom.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::fuzz::FreshConsole();
    ra7::SeedRandom(1);
    ra7::ActiveCameraName.clear();
    ra7::SceneObjects = std::make_unique<ra7::KaObjArray>();
    for (const char* name : {"box", "obj", "obj1", "obj2"}) {
        auto geometry = std::make_unique<ra7::KaGeometry>();
        geometry->SetName(name);
        ra7::SceneObjects->Add(std::move(geometry));
    }
    auto smoke = std::make_unique<ra7::KaParSystem>(4);
    smoke->SetName("par");
    ra7::SceneObjects->Add(std::move(smoke));

    ra7::KaAnimScript script;
    script.LoadFromStrings(ra7::splitTextLines(ra7::fuzz::AsText(data, size)));
    script.Reset();
    script.Play();
    for (int frame = 0; frame < 20; ++frame)
        script.Advance(frame % 3 == 0 ? 250.0f : 16.0f);
    ra7::SceneObjects.reset();
    return 0;
}
