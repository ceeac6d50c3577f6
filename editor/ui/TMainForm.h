#pragma once
// The main window "Editor for Ra7Davevi": the 3-D view with the hierarchy
// panel on the left, the tool pages on the right and the animation panel at
// the bottom, the main menu, and the engine session behind them. The engine
// starts once the view's context exists (its first initialisation); a
// failure there is kept for the host to report.

#include "core/FrameClock.h"
#include "core/SettingsToggles.h"
#include "core/ViewLayout.h"

#include <QMainWindow>

#include <memory>
#include <string>

class QAction;
class QLabel;
class QListWidget;
class QTabWidget;
class QTimer;
class QToolButton;
class QTreeWidget;

namespace ra7 {
class TDotContext;
}

namespace ra7::editor {

class DialogService;
class EditorSession;
class TConsoleForm;
class TGLView;
class TSaveForm;
class TShadersForm;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Opens the console and the log, reads config.txt and requests the
    // context; throws when the display cannot be set up.
    explicit TMainForm(DialogService& dialogs, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Shows the window and runs events until the engine has started or
    // failed (at most `timeoutMs`). Empty when started, else the error text.
    std::string ShowAndStart(int timeoutMs = 20000);
    bool Started() const;

    // The File menu's commands.
    void SaveSceneCommand();
    void LoadSceneCommand();
    // Loads a scene given on the command line (errors shown to the user).
    void LoadSceneFile(const std::string& path);

    // RefreshEditorLists: the tree, the mesh list and the script list, each
    // only when its source reports a change.
    void RefreshEditorLists();
    void RebuildTree();

    // The Settings menu's toggles.
    void SetShowPanels(bool on);
    void SetShowGrid(bool on);
    void ToggleBloomItem();
    void SetTreeVisible(bool visible);

    const EditorFlags& Flags() const { return flags_; }
    Viewport CurrentViewport() const;
    const std::string& FpsText() const { return clock_.FpsText(); }
    long FramesDrawn() const { return framesDrawn_; }
    TConsoleForm& ConsoleForm() { return *consoleForm_; }
    TSaveForm& SaveForm() { return *saveForm_; }
    TShadersForm& ShadersForm() { return *shadersForm_; }
    TGLView& View() { return *view_; }

signals:
    void frameDrawn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    QWidget* buildTreePanel(QWidget* parent);
    QWidget* buildToolPanel(QWidget* parent);
    QWidget* buildAnimPanel(QWidget* parent);
    void layoutPanels();
    void startEngine();
    void idle();
    void paint();
    void reportFrameError(const std::string& text);

    DialogService& dialogs_;
    EditorFlags flags_;
    bool treeVisible_ = true;
    FrameClock clock_;
    long framesDrawn_ = 0;
    std::string startError_;
    std::string lastFrameError_;
    bool startTried_ = false;

    QWidget* client_ = nullptr;
    TGLView* view_ = nullptr;
    QWidget* treePanel_ = nullptr;
    QToolButton* treeToggle_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QWidget* toolPanel_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QListWidget* meshList_ = nullptr;
    QWidget* animPanel_ = nullptr;
    QListWidget* scriptList_ = nullptr;
    QLabel* fpsLabel_ = nullptr;
    QAction* bloomAction_ = nullptr;
    QTimer* idleTimer_ = nullptr;

    std::unique_ptr<TDotContext> context_;
    std::unique_ptr<EditorSession> session_;
    TSaveForm* saveForm_ = nullptr;
    TShadersForm* shadersForm_ = nullptr;
    TConsoleForm* consoleForm_ = nullptr;
};

} // namespace ra7::editor
