#include "core/ScenePaths.h"

#include "runtime/PathResolver.h"
#include "runtime/TextCodec.h"

namespace ra7::editor {

std::string SceneSaveName(const std::filesystem::path& chosen)
{
    std::string name = foldCase(relativeToWorkingDirectory(chosen));
    if (std::filesystem::path(name).extension() != ".kgf")
        name += ".kgf";
    return name;
}

} // namespace ra7::editor
