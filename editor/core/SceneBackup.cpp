#include "core/SceneBackup.h"

#include "core/EditorDocument.h"
#include "core/EditorSession.h"
#include "core/EditorSettings.h"
#include "core/SaveWindowModel.h"
#include "core/SceneCommands.h"
#include "effects/Ka7LensFlareList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7Log.h"
#include "runtime/PathResolver.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

#include <exception>
#include <unordered_set>

namespace ra7::editor {

namespace {

namespace fs = std::filesystem;

constexpr const char* kBackupSuffix = ".autosave";

void removeQuietly(const fs::path& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
}

fs::file_time_type modified(const fs::path& path, bool& exists)
{
    std::error_code error;
    const auto time = fs::last_write_time(path, error);
    exists = !error;
    return time;
}

void loadSkyTextures(const SkyBoxFaces& sky)
{
    for (const std::string& name : sky.names) {
        if (name.empty() || !Textures)
            continue;
        try {
            Textures->Add(name);
        } catch (const std::exception& e) {
            LogLine("! " + name + ": " + e.what());
        }
    }
}

} // namespace

BackupFiles BackupFor(const std::string& sceneFile)
{
    const std::string base =
        sceneFile.empty() ? (DataFolder() / "untitled.kgf").string() : resolvePath(sceneFile).string();
    const std::string scene = base + kBackupSuffix;
    return {scene, scene + ".kmt", scene + ".editor"};
}

SceneEditorState CurrentEditorState(const EditorDocument& document)
{
    SceneEditorState state = document.EditorState();
    if (const KaCamera* camera = document.Scene().ActiveCamera(); camera && camera->Trans)
        state.camera = *camera->Trans;
    return state;
}

void WriteBackup(const EditorDocument& document, const std::vector<std::string>& extraLines)
{
    const BackupFiles files = BackupFor(document.FileName());
    if (!files.scene.parent_path().empty())
        fs::create_directories(files.scene.parent_path());
    const KaObjArray& scene = document.Scene();
    std::vector<std::string> lines;
    std::unordered_set<std::string> written;
    auto addLine = [&](const std::string& line) {
        if (written.insert(line).second)
            lines.push_back(line);
    };
    for (const std::string& line : extraLines)
        addLine(line);
    std::vector<std::int32_t> indexes;
    indexes.reserve(static_cast<std::size_t>(scene.Count()));
    for (std::int32_t i = 0; i < scene.Count(); ++i) {
        const KaSceneObj* object = scene.GetItem(i);
        if (!object)
            continue;
        indexes.push_back(i);
        for (const std::string& line : ResourceLines(scene, object->Name()))
            addLine(line);
    }
    document.Scene().SaveObjects(files.scene.string(), indexes, lines, files.kmtName);

    SceneEditorState state = CurrentEditorState(document);
    state.activeCamera = ActiveCameraName;
    state.editorObjects = document.EditorObjects();
    WriteSidecar(files.sidecar, state);
}

bool BackupIsNewer(const std::string& sceneFile)
{
    const BackupFiles files = BackupFor(sceneFile);
    bool backupExists = false;
    bool sceneExists = false;
    const auto backupTime = modified(files.scene, backupExists);
    const auto sceneTime =
        sceneFile.empty() ? fs::file_time_type() : modified(resolvePath(sceneFile), sceneExists);
    return backupExists && (!sceneExists || backupTime > sceneTime);
}

void RemoveBackup(const std::string& sceneFile)
{
    const BackupFiles files = BackupFor(sceneFile);
    removeQuietly(files.scene);
    removeQuietly(files.kmtName);
    removeQuietly(files.sidecar);
}

void ApplyEditorState(EditorDocument& document, const SceneEditorState& state, bool backup)
{
    SceneEditorState& kept = document.EditorState();
    loadSkyTextures(state.sky);
    kept.sky = state.sky;
    ApplySkyBox(kept.sky);
    if (!state.flareFile.empty() && LensFlares) {
        try {
            if (!LensFlares->LoadFromFile(state.flareFile))
                LogLine("! " + state.flareFile + ": в файле нет бликов");
        } catch (const std::exception& e) {
            LogLine("! " + state.flareFile + ": " + e.what());
        }
        kept.flareFile = state.flareFile;
    }
    if (backup) {
        if (document.Scene().FindByName(state.activeCamera))
            ActiveCameraName = state.activeCamera;
        document.SetEditorObjects(state.editorObjects);
    }
    if (state.camera)
        if (KaCamera* camera = document.Scene().ActiveCamera(); camera && camera->Trans)
            *camera->Trans = *state.camera;
    document.Notify(DocChange::SkyBox | DocChange::LensFlares);
}

void RecoverBackup(EditorSession& session, EditorDocument& document, const std::string& sceneFile)
{
    const BackupFiles files = BackupFor(sceneFile);
    session.NewScene(false);
    document.EditorState() = SceneEditorState();
    LoadScene(files.scene.string());
    std::string why;
    if (const auto state = ReadSidecar(files.sidecar, why))
        ApplyEditorState(document, *state, true);
    else if (!why.empty())
        LogLine("! " + why);
    // A backup without a camera (damaged) still leaves the view one to look through.
    if (!document.Scene().ActiveCamera())
        session.AddDefaultObjects();
    LogLine("- Восстановлено из " + files.scene.string());
    document.SceneReplaced(sceneFile, true);
}

} // namespace ra7::editor
