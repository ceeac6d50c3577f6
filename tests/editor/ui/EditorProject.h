#pragma once
// A project folder the editor can start in: the shader programs and a small
// helper scene with the templates "arrow" and "camera".

#include <filesystem>

namespace ra7::editor::test {

// Copies data/shaders of the source tree into `dir`.
void installShaders(const std::filesystem::path& dir);
// Writes `dir`/data/arrow/editorData.kgf with the geometry templates
// "arrow" and "camera". Uses an object array of its own.
void writeEditorData(const std::filesystem::path& dir);

// The `ra7` tool of this build (the converter page is compared with it).
std::filesystem::path ra7ToolPath();

} // namespace ra7::editor::test
