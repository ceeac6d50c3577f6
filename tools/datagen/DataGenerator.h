#pragma once
// The project's generated data, written through the engine's own savers
// into the working directory, so every file is exactly what the engine reads.

#include <filesystem>
#include <string>
#include <vector>

namespace ra7::datagen {

// The editor's helper scene: data/arrow/editorData.kgf with the template
// geometries "arrow" and "camera", their meshes and their material library.
void WriteHelperScene();

// A sample project, a complete working directory for the editor: the helper
// scene, data/shaders copied from `shaderSource`, textures, meshes,
// materials, a lens flare set (flares.kls) and scene.kgf.
void WriteSampleProject(const std::filesystem::path& shaderSource);

// The files the sample scene refers to, as stored (for checks and the README).
std::vector<std::string> SampleTextureNames();

} // namespace ra7::datagen
