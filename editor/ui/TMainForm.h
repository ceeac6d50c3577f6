#pragma once
// The main window "Editor for Ra7Davevi": the 3-D view with the hierarchy
// panel on the left, the tool pages on the right and the animation panel at
// the bottom, the main menu, and the engine session behind them. The engine
// starts once the view's context exists (its first initialisation); a
// failure there is kept for the host to report.

#include "core/FrameClock.h"
#include "core/FramePacer.h"
#include "core/SettingsToggles.h"
#include "core/ViewLayout.h"
#include "ui/EditorPage.h"

#include <QMainWindow>

#include <memory>
#include <set>
#include <string>

class QAction;
class QLabel;
class QTimer;
class QToolButton;

namespace ra7 {
class TDotContext;
}

namespace ra7::editor {

class DialogService;
class EditorDocument;
class EditorSession;
class TAnimPanel;
class TAnimScriptEditor;
class TConsoleForm;
class TConverterPage;
class TMeshesPage;
class TGLView;
class THierarchyPanel;
class TAddPage;
class TBoundsPage;
class TPageHost;
class TSceneFiles;
class TPropertiesPage;
class TSaveForm;
class TShadersForm;
class TSelectionPanel;
class TViewControls;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // Opens the console and the log, reads config.txt and requests the
    // context; throws when the display cannot be set up.
    explicit TMainForm(DialogService& dialogs, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Shows the window and runs events until the engine has started or
    // failed (at most `timeoutMs`). Empty when started, else the error text
    // (a start that did not happen in time says so).
    std::string ShowAndStart(int timeoutMs = 20000);
    // A run nobody watches (--screenshot, --startup-time): what the form
    // reports (Report, errors at the end of a frame) also goes to stderr.
    // Its dialogs are the host's to choose (UnattendedDialogService).
    void SetUnattended(bool on) { unattended_ = on; }
    bool Started() const;

    // The File menu's commands.
    void NewSceneCommand();
    // Returns true when the scene was written.
    bool SaveSceneCommand();
    void LoadSceneCommand();
    // Loads a scene given on the command line (errors shown to the user);
    // false when the load failed.
    bool LoadSceneFile(const std::string& path);
    // Opens a scene the user picked outside the Open dialog (recent files,
    // a file dropped on the window), asking first about unsaved changes.
    void OpenSceneCommand(const std::string& path);
    // At start-up without a scene: offers a backup of an unsaved scene left
    // by an editor that did not close in order.
    void OfferStartupRecovery();
    TSceneFiles& SceneFiles() { return *sceneFiles_; }
    // Unsaved changes are about to be lost: asks to save, drop or stop.
    // True when the caller may go on.
    bool MayDiscardChanges();

    // Selects an object as a click in the tree would (the command line's --select).
    bool SelectObject(const std::string& name);
    // Shows a page of the tool panel by its id ("properties", "materials", ...).
    bool ShowPage(const QString& id);
    QStringList PageIds() const;
    // A refusal or failure for the user: the status bar and a "! " console line.
    void Report(const std::string& text);

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
    // Milliseconds between frames now: the display's refresh period while
    // the editor is in use, longer while it is inactive or minimised.
    double FramePeriod() const;
    TConsoleForm& ConsoleForm() { return *consoleForm_; }
    TSaveForm& SaveForm() { return *saveForm_; }
    TShadersForm& ShadersForm() { return *shadersForm_; }
    TAnimPanel& AnimPanel() { return *animPanel_; }
    TAnimScriptEditor& ScriptEditor() { return *scriptEditor_; }
    TGLView& View() { return *view_; }
    THierarchyPanel& Hierarchy() { return *hierarchy_; }
    TPageHost& Pages() { return *pages_; }
    TConverterPage& ConverterPage() { return *converterPage_; }
    TMeshesPage& MeshesPage() { return *meshesPage_; }
    // The view's tool bar and input, and the name and position boxes below the tree.
    TViewControls& ViewControls() { return *viewControls_; }
    TSelectionPanel& SelectionBoxes() { return *selectionPanel_; }
    EditorServices& Services() { return services_; }
    // The scene being edited; null until the engine has started.
    EditorDocument* Document() const { return document_.get(); }

signals:
    void frameDrawn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenu();
    void buildEditMenu();
    QWidget* buildTreePanel(QWidget* parent);
    QWidget* buildToolPanel(QWidget* parent);
    TAnimPanel* buildAnimPanel(QWidget* parent);
    void layoutPanels();
    void startEngine();
    void idle();
    void wakeIdleLoop();
    void paint();
    void reportFrameError(const std::string& text);
    void documentChanged(std::uint32_t changes);
    void updateTitle();

    DialogService& dialogs_;
    EditorServices services_;
    EditorFlags flags_;
    bool treeVisible_ = true;
    FrameClock clock_;
    FramePacer pacer_;
    FramePacer::Clock::time_point pacerDue_{};
    long framesDrawn_ = 0;
    std::string startError_;
    std::set<std::string> frameErrorsShown_;
    bool unattended_ = false;
    bool startTried_ = false;

    QWidget* client_ = nullptr;
    TGLView* view_ = nullptr;
    THierarchyPanel* hierarchy_ = nullptr;
    QToolButton* treeToggle_ = nullptr;
    QWidget* toolPanel_ = nullptr;
    TPageHost* pages_ = nullptr;
    TAddPage* addPage_ = nullptr;
    TPropertiesPage* propertiesPage_ = nullptr;
    TBoundsPage* boundsPage_ = nullptr;
    TConverterPage* converterPage_ = nullptr;
    TMeshesPage* meshesPage_ = nullptr;
    TAnimPanel* animPanel_ = nullptr;
    QAction* bloomAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QTimer* idleTimer_ = nullptr;
    TViewControls* viewControls_ = nullptr;
    TSelectionPanel* selectionPanel_ = nullptr;

    std::unique_ptr<TDotContext> context_;
    std::unique_ptr<EditorSession> session_;
    std::unique_ptr<EditorDocument> document_;
    TSaveForm* saveForm_ = nullptr;
    TShadersForm* shadersForm_ = nullptr;
    TConsoleForm* consoleForm_ = nullptr;
    TSceneFiles* sceneFiles_ = nullptr;
    TAnimScriptEditor* scriptEditor_ = nullptr;
};

} // namespace ra7::editor
