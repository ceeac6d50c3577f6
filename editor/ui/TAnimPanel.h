#pragma once
// The animation panel along the bottom of the main window ("Анимационная
// панель"): the list of AnimList's scripts with its popup ("Добавить",
// "Загрузить из TXT"), Play, Pause, Stop and "Вернуть сцену", the slider
// that follows the selected script's clock with the time label, and the
// FPS figure. A click in the list selects the script the editor window
// works on; a double click shows that window.

#include "core/ScriptView.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QSlider;

namespace ra7::editor {

class EditorDocument;
class ScriptWorkspace;
struct EditorServices;

class TAnimPanel : public QWidget {
    Q_OBJECT
public:
    TAnimPanel(EditorServices& services, QWidget* parent = nullptr);
    ~TAnimPanel() override;

    void Attach(EditorDocument& document);
    // Null until the engine has started.
    ScriptWorkspace* Workspace() const { return workspace_.get(); }

    // Once per pass of the main loop: the slider and the time label follow
    // the selected script's clock; the buttons follow what can be done.
    void Tick();
    void ShowFps(const std::string& fpsText);

    // The panel's commands, as its popup and buttons run them.
    void AddScript();
    void LoadScript();
    void LoadScriptFile(const std::string& path);
    void Play();
    void Pause();
    void Stop();
    void RestoreScene();

    // A double click on a script: the editor window is to be shown.
    std::function<void()> onEditScript;

    QListWidget& List() const { return *list_; }
    const AnimBarState& Bar() const { return bar_; }

private:
    void documentChanged(std::uint32_t changes);
    void refillList();
    void selectEditedRow();
    void listSelectionChanged();
    void showBar(const AnimBarState& bar);
    // Runs one of the panel's actions; a refusal or failure is shown.
    void run(const std::function<void()>& action);

    EditorServices& services_;
    EditorDocument* document_ = nullptr;
    std::unique_ptr<ScriptWorkspace> workspace_;
    std::int32_t documentListener_ = 0;
    std::int32_t workspaceListener_ = 0;
    bool syncing_ = false;
    AnimBarState bar_;

    QListWidget* list_ = nullptr;
    QMenu* popup_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* pause_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* restore_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* time_ = nullptr;
    QLabel* fps_ = nullptr;
};

} // namespace ra7::editor
