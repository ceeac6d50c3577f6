#include "host/ProjectFolder.h"

#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/PathResolver.h"

#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace ra7 {

namespace {

// Set by the build from the install folders (GNUInstallDirs).
#ifndef RA7_DATA_FROM_BINDIR
#define RA7_DATA_FROM_BINDIR "../share/ra7davevi"
#endif
constexpr const char* kInstalledData = RA7_DATA_FROM_BINDIR;
constexpr const char* kSampleFolder = "sample";
// How far above the program a build tree's root may lie (build/tools/ra7/ra7).
constexpr int kBuildTreeDepth = 3;

// A stored name below `dir`, matched ignoring case as the engine opens it.
fs::path inside(const fs::path& dir, const std::string& storedName)
{
    return resolvePath((dir / storedForm(storedName)).string());
}

bool isFolder(const fs::path& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool isFile(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// "data/shaders" as a user types it.
std::string shown(const char* storedName)
{
    std::string text(storedName);
    for (char& c : text)
        if (c == '\\')
            c = '/';
    return text;
}

struct CopyCount {
    int copied = 0;
    int kept = 0;
};

// What a run leaves in a project, not part of what is copied from one.
bool isRunFile(const fs::path& relative)
{
    return relative == kConfigFileName || relative == "log.txt";
}

// Copies every file below `from` into the same place below `to`; files
// already there are kept, and the settings and log of a run are left out.
CopyCount copyMissing(const fs::path& from, const fs::path& to)
{
    CopyCount count;
    std::error_code ec;
    fs::create_directories(to, ec);
    if (ec)
        throw FileError(to.string(), FilePlace::whole(), "cannot create the folder: " + ec.message());
    for (fs::recursive_directory_iterator it(from, ec), end; it != end; it.increment(ec)) {
        if (ec)
            throw FileError(from.string(), FilePlace::whole(), "cannot read the folder: " + ec.message());
        const fs::path relative = fs::relative(it->path(), from);
        const fs::path target = to / relative;
        if (isRunFile(relative))
            continue;
        if (it->is_directory()) {
            fs::create_directories(target, ec);
        } else if (isFile(target)) {
            ++count.kept;
            continue;
        } else {
            fs::copy_file(it->path(), target, ec);
            ++count.copied;
        }
        if (ec)
            throw FileError(target.string(), FilePlace::whole(), "cannot write: " + ec.message());
    }
    return count;
}

std::string countLine(const std::string& what, const CopyCount& count)
{
    std::string line = what + ": " + std::to_string(count.copied) + " file(s) copied";
    if (count.kept > 0)
        line += ", " + std::to_string(count.kept) + " kept as they were";
    return line;
}

} // namespace

std::string ProjectProblem(const fs::path& dir)
{
    if (!isFolder(dir))
        return "no such folder";
    if (!isFolder(inside(dir, kShaderFolder)))
        return "no " + shown(kShaderFolder) + " folder (the engine's shader programs)";
    if (!isFile(inside(dir, kHelperSceneFile)))
        return "no " + shown(kHelperSceneFile) + " (the editor's helper scene)";
    return {};
}

std::optional<fs::path> FindProjectAbove(const fs::path& start)
{
    std::error_code ec;
    for (fs::path dir = fs::absolute(start, ec).lexically_normal(); !dir.empty(); dir = dir.parent_path()) {
        if (ProjectProblem(dir).empty())
            return dir;
        if (dir == dir.root_path())
            break;
    }
    return std::nullopt;
}

bool IsEngineData(const fs::path& root)
{
    return ProjectProblem(root).empty();
}

std::vector<fs::path> EngineDataCandidates(const fs::path& program)
{
    if (const char* chosen = std::getenv("RA7_DATA_DIR"); chosen && *chosen)
        return {fs::path(chosen)};
    const fs::path folder = program.parent_path();
    std::vector<fs::path> candidates = {(folder / kInstalledData).lexically_normal()};
    fs::path above = folder;
    for (int level = 0; level <= kBuildTreeDepth && !above.empty(); ++level) {
        if (isFile(above / "CMakeCache.txt"))
            candidates.push_back(above);
        if (above == above.root_path())
            break;
        above = above.parent_path();
    }
    return candidates;
}

std::optional<fs::path> FindEngineData(const fs::path& program)
{
    for (const fs::path& candidate : EngineDataCandidates(program))
        if (IsEngineData(candidate))
            return candidate;
    return std::nullopt;
}

std::optional<fs::path> FindEngineData()
{
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::nullopt;
    return FindEngineData(program);
}

std::vector<std::string> CreateProject(const fs::path& dir, const fs::path& root)
{
    std::vector<std::string> lines;
    lines.push_back(countLine(shown(kShaderFolder),
                              copyMissing(inside(root, kShaderFolder), dir / shown(kShaderFolder))));
    lines.push_back(countLine(shown(kHelperSceneFolder), copyMissing(inside(root, kHelperSceneFolder),
                                                                     dir / shown(kHelperSceneFolder))));
    const fs::path config = dir / kConfigFileName;
    if (isFile(config)) {
        lines.push_back(std::string(kConfigFileName) + ": kept as it was");
    } else {
        writeTextLines(config.string(), ConfigLines(EngineSettings{}));
        lines.push_back(std::string(kConfigFileName) + ": written with the default settings");
    }
    return lines;
}

std::vector<std::string> CopySampleProject(const fs::path& dir, const fs::path& root)
{
    return {countLine(kSampleFolder, copyMissing(root / kSampleFolder, dir))};
}

} // namespace ra7
