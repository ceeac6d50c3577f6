#pragma once
// The engine's start and stop: the audio device and every engine-wide list,
// created in a fixed order with a log line for each step, and freed in the
// fixed order of shut-down. Any host of the engine (the editor, the ra7
// tool, tests) calls them between InitConsole and DoneConsole, with the
// rendering context current.

namespace ra7 {

// Masks floating-point exceptions, opens the audio device and creates
// SoundBuffers, Textures, Shaders, Scene, LensFlares, SceneObjects, Meshes,
// Materials (with the default material) and AnimList, then the bloom render
// targets when framebuffer objects are in use. A failing step throws; what
// was created before stays for EngineDone to free.
void EngineInit();

// Frees everything EngineInit created, in shut-down order, closes the audio
// device and restores the floating-point environment. Safe after a failed
// or partial EngineInit.
void EngineDone();

} // namespace ra7
