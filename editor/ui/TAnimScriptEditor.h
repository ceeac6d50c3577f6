#pragma once
// The script editor window "Редактор анимационных скриптов" (stays on top):
// the title with the selected script's name, the text with its template
// menu, the running commands ("Стек:") and all commands ("Команды:") of the
// selected script with its state, "Откомпилировать" and "Сохранить". The
// window keeps track of which script its text belongs to: picking another
// script shows that script's text unless the text holds unsaved changes,
// and compiling text into a script it does not belong to asks first.

#include "core/ScriptView.h"

#include <QWidget>

#include <string>

class QLabel;
class QListWidget;
class QPushButton;

namespace ra7::editor {

class EditorDocument;
class ScriptWorkspace;
class TScriptCodeEdit;
struct EditorServices;

class TAnimScriptEditor : public QWidget {
    Q_OBJECT
public:
    TAnimScriptEditor(EditorServices& services, QWidget* parent = nullptr);
    ~TAnimScriptEditor() override;

    void Attach(EditorDocument& document, ScriptWorkspace& workspace);
    // Brings the window up.
    void ShowEditor();
    // Once per pass of the main loop: RefreshScriptEditor while the window
    // is shown, changing only what the script changed.
    void Tick();
    void RefreshScriptEditor();

    // "Откомпилировать" and "Сохранить".
    void Compile();
    void Save();

    TScriptCodeEdit& Code() const { return *code_; }
    // The script the text belongs to (empty: none).
    const std::string& TextOwner() const { return owner_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void workspaceEvent(int event, const std::string& script);
    void showText(const std::string& script);
    void updateTitle();
    void refreshIfShown();
    void saveTo(const std::string& path);

    EditorServices& services_;
    EditorDocument* document_ = nullptr;
    ScriptWorkspace* workspace_ = nullptr;
    std::int32_t documentListener_ = 0;
    std::int32_t workspaceListener_ = 0;
    ScriptWatch watch_;
    std::string owner_;

    QLabel* title_ = nullptr;
    QLabel* origin_ = nullptr;
    TScriptCodeEdit* code_ = nullptr;
    QLabel* report_ = nullptr;
    QListWidget* stack_ = nullptr;
    QListWidget* commands_ = nullptr;
    QLabel* id_ = nullptr;
    QLabel* stackCount_ = nullptr;
    QLabel* comCount_ = nullptr;
    QLabel* position_ = nullptr;
    QLabel* posInCom_ = nullptr;
    QPushButton* compile_ = nullptr;
    QPushButton* save_ = nullptr;
};

} // namespace ra7::editor
