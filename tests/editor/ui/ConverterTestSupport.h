#pragma once
// The converter and Meshes pages under a real main window: the real models
// of Debian's assimp-testmodels package, buttons pressed as a user would,
// the real progress window, and the ra7 tool to compare with.

#include "editor/ui/MainWindowTest.h"
#include "ui/TConverterPage.h"
#include "ui/TMeshesPage.h"

#include <QPushButton>

#include <filesystem>
#include <string>
#include <vector>

namespace ra7::editor {

// OBJ models nobody here wrote.
inline const std::filesystem::path kAssimpModels = "/usr/share/assimp/models/OBJ";

class ConverterWindow : public MainWindow {
protected:
    void SetUp() override;

    TConverterPage& converter() { return form->ConverterPage(); }
    TMeshesPage& meshesPage() { return form->MeshesPage(); }
    // Shows the page and presses its button `name` with the mouse.
    void press(const char* page, const char* name);
    void pressConverter(const char* name) { press("converter", name); }
    void pressMeshes(const char* name) { press("meshes", name); }
    // "Загрузить OBJ" answered with `model`.
    void loadModel(const std::filesystem::path& model);
    // "Конвертировать" into the folder `folder` under the project (made first).
    void convertInto(const std::string& folder);
    // "Сохранить в KGF" as `file`, with every geometry object in the save window.
    void saveKgfWithEveryGeometry(const std::string& file);
    // Runs the ra7 tool in `workDir`; its exit status.
    static int runRa7(const std::filesystem::path& workDir, const std::vector<std::string>& arguments,
                      std::string* output = nullptr);
    // The files under `folder`, relative to it, sorted.
    static std::vector<std::string> filesUnder(const std::filesystem::path& folder);
    static std::int32_t geometryCount();
    std::vector<std::string> logLines();
};

} // namespace ra7::editor
