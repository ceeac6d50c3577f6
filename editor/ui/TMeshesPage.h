#pragma once
// The page "Meshes": the engine's mesh list, refilled when it changes, with
// "Сохранить" (write the selected mesh to a chosen file, then take that
// file's name everywhere the old one was used), "Загрузить", "Удалить" and
// "Сохранить все..." (every mesh to the file its name gives, on a worker
// thread under a progress window).

#include "ui/EditorPage.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QListWidget;

namespace ra7 {
class WorkProgress;
}

namespace ra7::editor {

class TMeshesPage : public QWidget, public EditorPage {
    Q_OBJECT
public:
    TMeshesPage(EditorServices& services, QWidget* parent = nullptr);
    ~TMeshesPage() override;

    void Attach(EditorDocument& document) override;
    void Refresh() override;
    // The meshes of the editor's own models (gizmo arrows, camera marker):
    // they are never renamed or deleted from here.
    void SetEditorMeshes(std::vector<std::string> names) { editorMeshes_ = std::move(names); }

    // The page's commands, as its buttons run them.
    void SaveCommand();
    void LoadCommand();
    void DeleteCommand();
    void SaveAllCommand();

    QListWidget& List() const { return *list_; }
    // Told of the long work before it starts (tests watch or stop it here).
    std::function<void(WorkProgress&)> onWork;

private:
    void refill();
    std::string selectedName() const;
    void fail(const std::string& text);

    EditorServices& services_;
    EditorDocument* document_ = nullptr;
    std::int32_t listener_ = 0;
    std::vector<std::string> editorMeshes_;
    QListWidget* list_ = nullptr;
};

} // namespace ra7::editor
