#include "core/GizmoState.h"

#include "render/RenderTargets.h"
#include "scene/Ka7BoundingVolume.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

#include <cmath>

namespace ra7::editor {

namespace {

bool isIdentity(const Matrix3& m)
{
    return m == kIdentityMatrix3;
}

// A world offset seen in the edited frame; a frame that cannot be inverted
// (a script scaled it to nothing) takes the offset as it is.
Vector3 intoFrame(const Vector3& world, const Matrix3& frame)
{
    if (isIdentity(frame))
        return world;
    Vector3 local = world;
    if (const auto inverse = MatrixInverse3(frame))
        VectorTransform(local, *inverse);
    return local;
}

// local · F · M · F⁻¹: the turn M made in the world, seen in the frame F.
Matrix3 turnInFrame(const Matrix3& local, const Matrix3& turn, const Matrix3& frame)
{
    if (isIdentity(frame))
        return MatrixMultiply3(local, turn);
    const auto inverse = MatrixInverse3(frame);
    if (!inverse)
        return MatrixMultiply3(local, turn);
    return MatrixMultiply3(MatrixMultiply3(MatrixMultiply3(local, frame), turn), *inverse);
}

bool isPureTurn(const Matrix3& m)
{
    const Vector3 lengths = RowLengths(m);
    const Matrix3 pure = PureRotation(m);
    for (std::size_t i = 0; i < 9; ++i)
        if (std::abs(pure[i] - m[i]) > 1e-4f)
            return false;
    return std::abs(lengths.x - 1) < 1e-4f && std::abs(lengths.y - 1) < 1e-4f &&
           std::abs(lengths.z - 1) < 1e-4f;
}

ScreenDelta deltaBetween(ScreenPoint from, ScreenPoint to)
{
    return {static_cast<float>(from.x - to.x), static_cast<float>(from.y - to.y)};
}

} // namespace

std::optional<DragView> LookUpDragView(const KaObjArray& scene, const GizmoTarget& target)
{
    const KaCamera* camera = scene.ActiveCamera();
    if (!camera || !camera->Trans)
        return std::nullopt;
    const ResolvedTarget resolved = ResolveTarget(scene, target);
    if (!resolved)
        return std::nullopt;
    const KaSceneObj& object = *resolved.object;

    DragView view;
    view.camera = camera->Trans->Position;
    view.edit = *resolved.edit;
    Vector3 where;
    if (resolved.shape) {
        resolved.shape->UpdateWorld(*object.Trans);
        where = resolved.shape->WorldTrans.Position;
        view.worldRotation = resolved.shape->WorldTrans.Rotation;
        view.frame.position = resolved.shape->WorldTrans.Rotation;
        view.frame.rotation = object.Trans->Rotation;
    } else {
        where = object.Trans->Position;
        if (object.Static)
            where = VectorAdd(where, view.camera);
        view.worldRotation = object.Trans->Rotation;
        if (resolved.edit != object.Trans.get()) {
            const KaSceneObj* parent = scene.FindByName(object.ParentName);
            if (parent && parent->Trans)
                view.frame.position = parent->Trans->Rotation;
            view.frame.turnable = false;
        }
    }
    view.placement = PlaceGizmo(where, view.camera, NearPlane);
    return view;
}

bool GizmoState::BeginDrag(const GizmoTarget& target, GrabbedAxes axes, ScreenPoint at, const DragView& view)
{
    dragging_ = false;
    if (!axes.Any() || !view.placement.visible)
        return false;
    if (mode_ == GizmoMode::Rotate && !view.frame.turnable)
        return false;
    dragging_ = true;
    target_ = target;
    dragMode_ = mode_;
    dragGlobalAxes_ = globalAxes_;
    axes_ = axes;
    anchor_ = at;
    last_ = at;
    startPos_ = view.edit.Position;
    startRowLengths_ = RowLengths(view.edit.Rotation);
    return true;
}

KaTransformation GizmoState::DragTo(ScreenPoint at, const DragView& view)
{
    KaTransformation edited = view.edit;
    const std::optional<GizmoAxis> axis = DraggedAxis(axes_);
    if (!dragging_ || !axis)
        return edited;
    const float distance = view.placement.distance;
    const DragSigns signs = SideSigns(view.camera, view.placement.origin);
    if (dragMode_ == GizmoMode::Move) {
        const Vector3 world = MoveOffset(*axis, distance, deltaBetween(anchor_, at), signs);
        edited.Position = VectorAdd(startPos_, intoFrame(world, view.frame.position));
    } else {
        const Matrix3 turn =
            TurnStep(*axis, dragGlobalAxes_, distance, deltaBetween(last_, at), signs, view.worldRotation);
        const Matrix3 turned = turnInFrame(view.edit.Rotation, turn, view.frame.rotation);
        // Seen through a frame that is a pure turn, a turn keeps the lengths of the rows.
        edited.Rotation = isPureTurn(view.frame.rotation) ? OrthogonalizeRows(turned, startRowLengths_)
                                                          : OrthogonalizeRows(turned);
    }
    last_ = at;
    return edited;
}

} // namespace ra7::editor
