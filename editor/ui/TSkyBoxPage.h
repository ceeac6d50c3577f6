#pragma once
// The "SkyBox" page: the enabled box, the six face boxes (a double click
// chooses the face's texture), "Применить" and "Очистить". The boxes show
// the editor's sky box state; every change is a step of the document.

#include "core/SceneEditorState.h"
#include "ui/EditorPage.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QCheckBox;
class QLineEdit;

namespace ra7::editor {

class TSkyBoxPage : public QWidget, public EditorPage {
    Q_OBJECT
public:
    explicit TSkyBoxPage(EditorServices& services, QWidget* parent = nullptr);
    ~TSkyBoxPage() override;

    void Attach(EditorDocument& document) override;
    void Refresh() override;
    // Double click on a face box, as the page handles it.
    void ChooseFace(std::size_t face);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EditorServices& services_;
    EditorDocument* document_ = nullptr;
    std::int32_t listener_ = 0;
    QCheckBox* enabled_ = nullptr;
    std::array<QLineEdit*, kSkyFaceCount> faces_{}; // by face index (front, back, right, left, up, down)
};

} // namespace ra7::editor
