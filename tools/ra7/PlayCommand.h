#pragma once
// `ra7 play SCRIPT.txt SCENE.kgf`: an animation script played over a scene
// with fixed frame steps, headless; the resulting scene is written as a KGF
// file and/or the objects' positions are printed.

#include <cstdint>
#include <string>

namespace ra7 {

struct PlayOptions {
    std::string script;
    std::string scene;
    float stepMs = 20;        // the duration of one frame
    float durationMs = 10000; // how long to play
    std::uint32_t seed = 1;   // the engine's random generator (particles)
    std::string output;       // the resulting scene, when given
    bool positions = false;   // print "name x y z" for every object and particle
};

// Returns 0, or 1 with a message on standard error.
int RunPlay(const PlayOptions& options);

} // namespace ra7
