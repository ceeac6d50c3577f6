#include "PlayCommand.h"

#include "LoggedFailures.h"

#include "anim/Ka7AnimScriptList.h"
#include "effects/Ka7ParSystem.h"
#include "host/HeadlessEngine.h"
#include "runtime/FileIO.h"
#include "runtime/FrameTime.h"
#include "runtime/Ka7Log.h"
#include "runtime/KaRandom.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/SceneFile.h"

#include <cmath>
#include <iostream>
#include <numeric>

namespace ra7 {

namespace {

constexpr std::int32_t kPlayViewSize = 64;

// The scene file's own command lines, less its material line: saving writes
// a fresh one for the materials the saved geometry uses.
std::vector<std::string> resourceLines(const std::string& sceneFile)
{
    RecordReader file = RecordReader::openFile(sceneFile);
    std::vector<std::string> lines;
    for (std::string& line : ReadSceneFileContents(file).Lines)
        if (line.rfind("addmat", 0) != 0)
            lines.push_back(std::move(line));
    return lines;
}

void printPosition(const std::string& name, const Vector3& p)
{
    std::cout << name << ' ' << p.x << ' ' << p.y << ' ' << p.z << '\n';
}

// Every object's position; a particle system's particles follow it as
// "name[i]", so that what the seed decides can be seen and compared.
void printPositions()
{
    for (std::int32_t i = 0; i < SceneObjects->Count(); ++i) {
        const KaSceneObj& object = *SceneObjects->GetItem(i);
        if (!object.Trans)
            continue;
        printPosition(object.Name(), object.Trans->Position);
        if (const auto* system = dynamic_cast<const KaParSystem*>(&object))
            for (std::int32_t k = 0; k < system->Count(); ++k)
                printPosition(object.Name() + '[' + std::to_string(k) + ']',
                              system->Particles[static_cast<std::size_t>(k)].Position);
    }
}

void play(const PlayOptions& options)
{
    SeedRandom(options.seed);
    std::size_t logReported = LogLines().size();
    SceneObjects->LoadFromFile(options.scene);
    logReported = PrintLoggedFailures("play", logReported);

    KaAnimScript script;
    script.LoadFromStrings(readTextLines(options.script));
    script.Reset();
    script.Play();
    AnimList->Add(script);

    // The main loop's order: the scene moves its subtrees, then the scripts
    // advance by the last frame's duration.
    const auto frames = static_cast<std::int64_t>(std::ceil(options.durationMs / options.stepMs));
    FrameTime = options.stepMs;
    for (std::int64_t frame = 0; frame < frames; ++frame) {
        SceneObjects->UpdateRoots();
        AnimList->Update(FrameTime);
    }
    SceneObjects->UpdateRoots();
    PrintLoggedFailures("play", logReported);

    if (options.positions)
        printPositions();
    if (!options.output.empty()) {
        std::vector<std::int32_t> all(static_cast<std::size_t>(SceneObjects->Count()));
        std::iota(all.begin(), all.end(), 0);
        SceneObjects->SaveObjects(options.output, all, resourceLines(options.scene));
    }
}

} // namespace

int RunPlay(const PlayOptions& options)
{
    if (!(options.stepMs > 0) || !(options.durationMs >= 0)) {
        std::cerr << "ra7 play: the frame step must be above 0 ms and the duration at least 0 ms\n";
        return 1;
    }
    try {
        HeadlessEngine engine(kPlayViewSize, kPlayViewSize);
        play(options);
    } catch (const std::exception& e) {
        std::cerr << "ra7 play: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

} // namespace ra7
