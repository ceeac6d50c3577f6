#pragma once
// Project folders: the working directory the engine runs in. A project holds
// the shader programs (data/shaders) and the editor's helper scene
// (data/arrow/editorData.kgf), as `ra7 init` makes it; config.txt and log.txt
// are written there at start-up. A new project is made from the data this
// program was built or installed with, which this module also finds.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ra7 {

// The stored names of what a project holds from the engine's data.
inline constexpr const char* kShaderFolder = "data\\shaders";
inline constexpr const char* kHelperSceneFolder = "data\\arrow";
inline constexpr const char* kHelperSceneFile = "data\\arrow\\editorData.kgf";

// What `dir` lacks to be a project ("no data/shaders folder"), or empty when
// it is one. Names are matched ignoring letter case, as the engine opens
// them. The source tree, with its shaders but no helper scene, is no project,
// so that no command leaves its settings and log there.
std::string ProjectProblem(const std::filesystem::path& dir);

// The nearest folder at or above `start` that is a project.
std::optional<std::filesystem::path> FindProjectAbove(const std::filesystem::path& start);

// The folder of the engine's shipped data: data/shaders, data/arrow and
// sample/. Looked for, in order: the folder named by the environment
// variable RA7_DATA_DIR (only there, when set); the installed data folder
// (<program>/../share/ra7davevi for the usual install folders); the build tree the program lies in (a folder
// up to three levels above it holding CMakeCache.txt and the data).
std::optional<std::filesystem::path> FindEngineData(const std::filesystem::path& program);
// The same for the running program (/proc/self/exe).
std::optional<std::filesystem::path> FindEngineData();
// Where FindEngineData looked, for the message when it found nothing.
std::vector<std::filesystem::path> EngineDataCandidates(const std::filesystem::path& program);

// Whether `root` holds the shader programs and the helper scene.
bool IsEngineData(const std::filesystem::path& root);

// Makes `dir` a project folder (created when missing): the shader programs
// and the helper scene copied from the engine data `root`, and config.txt
// with the default settings. Files already there are kept, so that a project
// can be mended without losing its own changes. Returns one line per file
// written or kept. Throws FileError when a file cannot be written.
std::vector<std::string> CreateProject(const std::filesystem::path& dir, const std::filesystem::path& root);

// Copies the sample project of the engine data `root` into `dir` (created
// when missing); files already there are kept. Returns the lines as
// CreateProject does.
std::vector<std::string> CopySampleProject(const std::filesystem::path& dir,
                                           const std::filesystem::path& root);

} // namespace ra7
