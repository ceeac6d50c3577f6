#pragma once
// What the tool panel's pages and the editor's other panels share: the
// services of the main window they work with, and the page interface the
// page host calls.

#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace ra7::editor {

class DialogService;
class EditorDocument;

struct EditorServices {
    explicit EditorServices(DialogService& dialogService) : dialogs(dialogService) {}

    DialogService& dialogs;
    // The scene being edited; null until the engine has started.
    EditorDocument* document = nullptr;
    // Makes the 3-D view's context current, for work that creates or
    // deletes GL objects (loading textures and meshes) outside the frame.
    std::function<void()> makeCurrent;
    // A refusal or failure the user must see: the status bar shows it and
    // the console keeps it as a "! " line.
    std::function<void(const std::string&)> report;
    // Brings up a page of the tool panel by its id ("materials").
    std::function<void(const QString&)> showPage;
    std::function<void()> showConsole;
    // The File menu's "Сохранить KGF" (the save window); true when written.
    std::function<bool()> saveScene;
};

class EditorPage {
public:
    virtual ~EditorPage() = default;
    // The engine has started and the document exists; before this call the
    // page shows nothing and takes no input.
    virtual void Attach(EditorDocument& document) = 0;
    // The page is being shown (or the selection changed while it shows):
    // fill it from the scene.
    virtual void Refresh() = 0;
    // Why the user may not leave the page now (the converter holds a model),
    // or nothing.
    virtual std::optional<std::string> LeaveRefusal() const { return std::nullopt; }
};

} // namespace ra7::editor
