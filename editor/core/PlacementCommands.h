#pragma once
// Undoable changes of where things stand: a gizmo drag (every move of one
// drag merges into one step), a coordinate typed into the selection panel
// and its "-" button. A child is placed by its parent, so what it keeps is
// its offset; the commands write the offset that puts it where the user
// asked, and a bounding shape's offset from its owner likewise.

#include "core/CommandStack.h"
#include "core/EditorSelection.h"
#include "core/GizmoMath.h"
#include "math/Ka7Transform.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ra7::editor {

class EditorDocument;

// Sets the transformation a gizmo target edits (a root's Trans, a child's
// LocalTrans, a shape's LocalTrans), found again by its description each
// time. The thing's own world placement follows at once; its children
// follow at the next update of the scene.
class PlacementCommand : public EditorCommand {
public:
    // The moves of one drag merge (`merges`); a typed coordinate is a step of its own.
    PlacementCommand(EditorDocument& document, GizmoTarget target, std::string label, KaTransformation before,
                     KaTransformation after, bool merges = true);
    std::string Label() const override { return label_; }
    void Do() override { write(after_); }
    void Undo() override { write(before_); }
    std::string MergeKey() const override;
    void MergeWith(EditorCommand& later) override;

private:
    void write(const KaTransformation& value);

    EditorDocument& document_;
    GizmoTarget target_;
    std::string label_;
    KaTransformation before_;
    KaTransformation after_;
    bool merges_;
};

// The step's name for a drag of `target` in move or rotate mode
// ("Переместить box", "Повернуть объём 1 объекта box").
std::string DragLabel(const GizmoTarget& target, bool turning);

// The world coordinate `axis` of the object `name` (its Trans.Position).
float WorldCoordinate(const EditorDocument& document, const std::string& name, GizmoAxis axis);

// Puts the object's world coordinate `axis` at `value` as one step: a
// root's Trans, a child's LocalTrans chosen so that its parent puts it
// there. Throws when the object is gone.
void SetWorldCoordinate(EditorDocument& document, const std::string& name, GizmoAxis axis, float value);

// The text of a coordinate box applied to the selected object: a number
// (either decimal separator) sets the coordinate; anything else changes
// nothing and comes back as the message the user sees. Nothing when
// nothing is selected.
std::optional<std::string> ApplyCoordinateText(EditorDocument& document, GizmoAxis axis,
                                               std::string_view text);

// "-": the selected object's world coordinate `axis` changes its sign.
void NegateCoordinate(EditorDocument& document, GizmoAxis axis);

// The name box applied to the selected object: the trimmed text becomes its
// name, with every link following, as one step. A name that cannot be kept
// (empty, outside code page 1251, longer than 255 bytes) or that another
// object has is refused with the reason; the same name changes nothing.
std::optional<std::string> ApplyNameText(EditorDocument& document, std::string_view text);

} // namespace ra7::editor
