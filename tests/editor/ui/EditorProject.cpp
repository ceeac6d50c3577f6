#include "editor/ui/EditorProject.h"

#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <memory>

namespace fs = std::filesystem;

namespace ra7::editor::test {

void installShaders(const fs::path& dir)
{
    const fs::path source = fs::path(RA7_SOURCE_DIR) / "data";
    fs::create_directories(dir / "data");
    fs::copy(source / "shaders", dir / "data" / "shaders", fs::copy_options::recursive);
}

void writeEditorData(const fs::path& dir)
{
    fs::create_directories(dir / "data" / "arrow");
    auto scene = std::make_unique<KaObjArray>();
    for (const char* name : {"arrow", "camera"}) {
        auto geometry = std::make_unique<KaGeometry>();
        geometry->SetName(name);
        geometry->MaterialName = std::string(name) + "_material";
        geometry->Trans->Position = Vector3{1, 2, 3};
        scene->Add(std::move(geometry));
    }
    scene->SaveObjects((dir / "data" / "arrow" / "editorData.kgf").string(), {0, 1}, {});
}

fs::path ra7ToolPath()
{
    return RA7_TOOL_PATH;
}

} // namespace ra7::editor::test
