#pragma once
// The 3-D view's controls: the tool bar above it (`MOVEBut` and `ROTBut`
// choose arrows or rings, "Глобальные оси" turns rings about the world
// axes) and the mouse, key and wheel events of the view, handed to the
// Qt-free ViewInput.

#include "core/GizmoDrawing.h"
#include "core/ViewInput.h"

#include <QObject>

#include <functional>
#include <memory>

class QCheckBox;
class QToolBar;
class QToolButton;
class QWidget;

namespace ra7::editor {

class EditorDocument;
struct EditorServices;
class TGLView;

class TViewControls : public QObject {
    Q_OBJECT
public:
    TViewControls(TGLView& view, EditorServices& services, QWidget* toolBarParent);
    ~TViewControls() override;

    // Once the engine has started: the view's input works on `document`.
    void Attach(EditorDocument& document, GizmoArrows arrows, std::function<ViewGeometry()> geometry);
    // Before the context goes: lets go of the picking buffer (makes the
    // context current itself).
    void Detach();

    // Null until attached.
    ViewInput* Input() const { return input_.get(); }
    QToolBar& ToolBar() const { return *toolBar_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setMode(const QObject* sender);

    TGLView& view_;
    EditorServices& services_;
    QToolBar* toolBar_ = nullptr;
    QToolButton* move_ = nullptr;
    QToolButton* rotate_ = nullptr;
    QCheckBox* globalAxes_ = nullptr;
    std::unique_ptr<ViewInput> input_;
};

} // namespace ra7::editor
