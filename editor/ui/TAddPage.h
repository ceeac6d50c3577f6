#pragma once
// The page "Добавить": a button for each kind of object, and "Загрузить KGF".
// The "Создать" menu's items run the same handler, `AddObject`.

#include "core/NewObjects.h"
#include "ui/EditorPage.h"

#include <QWidget>

#include <functional>

namespace ra7::editor {

class TAddPage : public QWidget, public EditorPage {
    Q_OBJECT
public:
    TAddPage(EditorServices& services, QWidget* parent = nullptr);

    void Attach(EditorDocument& /*document*/) override {}
    void Refresh() override {}

    // Adds a new object of the kind as one step and selects it; a particle
    // system asks for its particle count first (cancel or 0: nothing).
    void AddObject(NewObjectKind kind);

    // "Загрузить KGF", the File menu's command.
    std::function<void()> onLoadScene;

private:
    EditorServices& services_;
};

} // namespace ra7::editor
