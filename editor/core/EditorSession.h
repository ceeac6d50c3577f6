#pragma once
// The editor's engine session: everything the main window starts after its
// rendering context exists, and stops again at shut-down, without any
// widget. The window calls Begin before the context exists (console, log,
// settings, display request) and Start once it is current.

#include "host/EngineStartup.h"
#include "resources/Ra7Davevi2D.h"
#include "scene/Ka7Camera.h"

#include <memory>
#include <string_view>

namespace ra7 {
class KaGeometry;
class TDotContext;
} // namespace ra7

namespace ra7::editor {

// The helper scene with the templates "arrow" and "camera".
inline constexpr std::string_view kEditorDataFile = "data\\arrow\\editorData.kgf";

class EditorSession {
public:
    // Opens the console and the log ("* Консоль создана..."), reads
    // config.txt and sets the display up on `context` ("* Настраиваем
    // дисплей..."): the context request is settled and handed to the platform.
    explicit EditorSession(TDotContext& context);
    // Shuts down in the editor's order: EngineDone, the editor models, the
    // desktop display mode, "* Уничтожаю консоль...", the log, the console.
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // With the context current: capabilities, EngineInit ("* Инициализируем
    // движок..."), the default camera "cam1" and light "lig1", "glinfo" and
    // "alinfo", the fixed OpenGL state and the editor models from the helper
    // scene. Throws the error of the step that failed (logged with "! ").
    void Start();
    bool Started() const { return started_; }

    // "Новая сцена", with the context current: the scene and the resource
    // lists back to what start-up leaves (the default camera and light, no
    // materials, textures, flares, scripts or sounds, no sky box); the
    // meshes of the editor's own models stay.
    void NewScene(bool withDefaultObjects = true);
    // The default camera "cam1" (active when no camera is) and light "lig1".
    void AddDefaultObjects();

    KaGeometry& ArrowX() const { return *arrowX_; }
    KaGeometry& ArrowY() const { return *arrowY_; }
    KaGeometry& ArrowZ() const { return *arrowZ_; }
    KaGeometry& CameraModel() const { return *ra7::CameraModel; }
    // The overlay font and 2-D mode; null until the engine has started.
    const KaEngine2D* Text2D() const { return text2D_.get(); }

private:
    void createDefaultObjects();
    void buildEditorModels();
    void shutDown() noexcept;

    TDotContext& context_;
    EngineStartup startup_;
    bool started_ = false;
    std::unique_ptr<KaGeometry> arrowX_;
    std::unique_ptr<KaGeometry> arrowY_;
    std::unique_ptr<KaGeometry> arrowZ_;
    std::unique_ptr<KaEngine2D> text2D_;
};

} // namespace ra7::editor
