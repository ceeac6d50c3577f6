#include "core/ViewInput.h"

#include "core/EditorDocument.h"
#include "core/PlacementCommands.h"
#include "render/RenderTargets.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace ra7::editor {

namespace {

// A press and release closer than this many pixels are a click.
constexpr double kClickSlop = 4.0;

bool sameTransformation(const KaTransformation& a, const KaTransformation& b)
{
    return a.Position == b.Position && a.Rotation == b.Rotation;
}

} // namespace

ViewInput::ViewInput(EditorDocument& document, GizmoArrows arrows, Services services)
    : document_(document), arrows_(arrows), services_(std::move(services))
{
}

ScreenPoint ViewInput::screenPoint(const PointerState& pointer) const
{
    return {static_cast<std::int32_t>(std::lround(pointer.x)),
            static_cast<std::int32_t>(std::lround(pointer.y))};
}

std::optional<FramebufferPixel> ViewInput::pixelAt(double x, double y, Viewport& view) const
{
    if (!services_.geometry)
        return std::nullopt;
    const ViewGeometry geometry = services_.geometry();
    view = geometry.view;
    return PickPixel(x, y, geometry.devicePixelRatio, geometry.framebufferHeight, geometry.view);
}

// --- events -----------------------------------------------------------------------

void ViewInput::Press(MouseButton button, const PointerState& pointer)
{
    const ScreenPoint at = screenPoint(pointer);
    if (button == MouseButton::Right) {
        startFlying();
        rightLooking_ = true;
        clickPending_ = false;
        lastMouse_ = at;
        return;
    }
    if (pointer.ctrl) {
        // Ctrl flies the camera; the gizmo stays as it is.
        if (!ctrlFlying_)
            startFlying();
        ctrlFlying_ = true;
        clickPending_ = false;
        lastMouse_ = at;
        return;
    }
    if (button != MouseButton::Left || gizmo_.Dragging())
        return;
    lastMouse_ = at;
    pressAt_ = at;
    clickPending_ = true;
    if (!document_.Selection().Empty())
        beginDrag(pointer);
}

void ViewInput::beginDrag(const PointerState& pointer)
{
    const GrabbedAxes axes = AxesUnder(GizmoColourAt(pointer.x, pointer.y));
    if (!axes.Any())
        return;
    clickPending_ = false;
    const GizmoTarget target = document_.Selection().Target();
    const std::optional<DragView> view = LookUpDragView(document_.Scene(), target);
    if (!view)
        return;
    const bool turning = gizmo_.Mode() == GizmoMode::Rotate;
    if (turning && !view->frame.turnable) {
        if (services_.report)
            services_.report("Дочерний объект <" + target.objectName +
                             "> повёрнут как его родитель: поверните родителя");
        return;
    }
    if (!gizmo_.BeginDrag(target, axes, screenPoint(pointer), *view))
        return;
    document_.BeginGesture(DragLabel(target, turning));
}

void ViewInput::Move(const PointerState& pointer)
{
    hover_ = pointer;
    const ScreenPoint at = screenPoint(pointer);
    const auto dx = static_cast<float>(at.x - lastMouse_.x);
    const auto dy = static_cast<float>(at.y - lastMouse_.y);
    if (clickPending_ && std::hypot(static_cast<double>(at.x - pressAt_.x),
                                    static_cast<double>(at.y - pressAt_.y)) > kClickSlop)
        clickPending_ = false;
    // With Ctrl held the mouse flies the camera and never drags the gizmo too.
    if (gizmo_.Dragging() && !pointer.ctrl)
        dragTo(pointer);
    if (pointer.ctrl && (pointer.left || pointer.middle)) {
        if (!ctrlFlying_)
            startFlying();
        else
            flyWithCtrl(pointer, dx, dy);
        ctrlFlying_ = true;
    } else {
        ctrlFlying_ = false;
        if (rightLooking_ && pointer.right)
            look(dx, dy);
    }
    lastMouse_ = at;
}

void ViewInput::Release(MouseButton button, const PointerState& pointer)
{
    if (button == MouseButton::Left && gizmo_.Dragging())
        endDrag(true);
    if (button == MouseButton::Left && clickPending_) {
        clickPending_ = false;
        clickAt(pointer);
    }
    if (button == MouseButton::Right) {
        rightLooking_ = false;
        keys_ = FlyKeys{};
    }
    if (!pointer.left && !pointer.middle)
        ctrlFlying_ = false;
}

bool ViewInput::Key(ViewKey key, bool down)
{
    switch (key) {
    case ViewKey::Escape:
        if (down && gizmo_.Dragging()) {
            endDrag(false);
            return true;
        }
        return false;
    case ViewKey::Shift:
        keys_.fast = down;
        return false;
    case ViewKey::F:
        if (down && !rightLooking_)
            FrameSelection();
        return true;
    case ViewKey::Other:
        return false;
    default:
        break;
    }
    if (!rightLooking_)
        return false;
    switch (key) {
    case ViewKey::W:
        keys_.forward = down;
        break;
    case ViewKey::S:
        keys_.back = down;
        break;
    case ViewKey::A:
        keys_.left = down;
        break;
    case ViewKey::D:
        keys_.right = down;
        break;
    case ViewKey::Q:
        keys_.down = down;
        break;
    case ViewKey::E:
        keys_.up = down;
        break;
    default:
        break;
    }
    return true;
}

void ViewInput::Wheel(int angleDelta, bool shift)
{
    KaCamera* camera = document_.Scene().ActiveCamera();
    if (!camera || !camera->Trans || gizmo_.Dragging())
        return;
    MoveCamera(document_.Scene(), *camera, WheelMove(angleDelta, shift, camera->Trans->Rotation));
}

void ViewInput::Leave()
{
    if (!gizmo_.Dragging())
        hover_.reset();
}

void ViewInput::FocusLost()
{
    if (gizmo_.Dragging())
        endDrag(true);
    rightLooking_ = false;
    ctrlFlying_ = false;
    clickPending_ = false;
    keys_ = FlyKeys{};
}

void ViewInput::Advance(float ms)
{
    KaCamera* camera = document_.Scene().ActiveCamera();
    if (!rightLooking_ || !keys_.Any() || !camera || !camera->Trans)
        return;
    MoveCamera(document_.Scene(), *camera, KeyFlight(keys_, camera->Trans->Rotation, ms));
}

void ViewInput::FrameSelection()
{
    KaCamera* camera = document_.Scene().ActiveCamera();
    if (!camera || !camera->Trans)
        return;
    const auto sphere = SelectionSphere(document_.Scene(), document_.Selection().Names(), camera->Name());
    if (!sphere) {
        if (services_.report)
            services_.report("Показать нечего: не выделено ни одного объекта, кроме камеры");
        return;
    }
    const Viewport view = services_.geometry ? services_.geometry().view : Viewport{0, 0, 4, 3};
    const float aspect = static_cast<float>(view.width) / static_cast<float>(std::max(view.height, 1));
    const Vector3 target =
        FramingPosition(*sphere, camera->Trans->Rotation, static_cast<float>(FieldOfView), aspect);
    MoveCamera(document_.Scene(), *camera, VectorSub(target, camera->Trans->Position));
}

// --- dragging and flying -------------------------------------------------------------

void ViewInput::dragTo(const PointerState& pointer)
{
    const GizmoTarget target = gizmo_.DragTarget();
    const std::optional<DragView> view = LookUpDragView(document_.Scene(), target);
    if (!view) {
        endDrag(false);
        if (services_.report)
            services_.report("Перетаскивание прервано: объекта <" + target.objectName + "> больше нет");
        return;
    }
    const KaTransformation after = gizmo_.DragTo(screenPoint(pointer), *view);
    if (sameTransformation(after, view->edit))
        return;
    try {
        document_.Execute(std::make_unique<PlacementCommand>(
            document_, target, DragLabel(target, gizmo_.DragMode() == GizmoMode::Rotate), view->edit, after));
    } catch (const std::exception& e) {
        endDrag(false);
        if (services_.report)
            services_.report(e.what());
    }
}

void ViewInput::endDrag(bool keep)
{
    gizmo_.EndDrag();
    if (keep)
        document_.CommitGesture();
    else
        document_.CancelGesture();
}

void ViewInput::startFlying()
{
    if (const KaCamera* camera = document_.Scene().ActiveCamera(); camera && camera->Trans)
        flight_.TakeFrom(camera->Trans->Rotation);
}

void ViewInput::flyWithCtrl(const PointerState& pointer, float dx, float dy)
{
    KaCamera* camera = document_.Scene().ActiveCamera();
    if (!camera || !camera->Trans)
        return;
    const FlightStep step = flight_.CtrlMove(dx, dy, pointer.left, pointer.middle);
    if (step.move != kZeroVector)
        MoveCamera(document_.Scene(), *camera, step.move);
    // Only a real turn writes the rotation: a camera turned otherwise stays so.
    if (step.turned)
        camera->Trans->Rotation = flight_.Rotation();
}

void ViewInput::look(float dx, float dy)
{
    KaCamera* camera = document_.Scene().ActiveCamera();
    if (camera && camera->Trans && flight_.Look(dx, dy))
        camera->Trans->Rotation = flight_.Rotation();
}

void ViewInput::clickAt(const PointerState& pointer)
{
    const std::string name = ObjectAt(pointer.x, pointer.y);
    if (!pointer.shift) {
        if (name.empty())
            document_.ClearSelection();
        else
            document_.Select({name});
        return;
    }
    // Shift+click adds an object to the selection or takes it out again.
    if (name.empty())
        return;
    std::vector<std::string> names = document_.Selection().Names();
    if (const auto found = std::find(names.begin(), names.end(), name); found != names.end())
        names.erase(found);
    else
        names.push_back(name);
    document_.Select(std::move(names));
}

// --- the frame -----------------------------------------------------------------------

std::array<float, 3> ViewInput::PickingPass()
{
    picked_ = {};
    if (hover_)
        picked_ = gizmoColour(hover_->x, hover_->y);
    return picked_;
}

void ViewInput::DrawOutlines()
{
    DrawSelectionOutlines(document_.Scene(), document_.Selection().Names());
}

void ViewInput::DrawGizmo()
{
    std::optional<GizmoPicture> picture = PictureFor(document_.Scene(), document_.Selection(), gizmo_);
    if (!picture)
        return;
    if (!gizmo_.Dragging())
        picture->highlighted = AxesUnder(picked_);
    ra7::editor::DrawGizmo(*picture, arrows_, false);
}

std::array<float, 3> ViewInput::GizmoColourAt(double x, double y)
{
    if (services_.makeCurrent)
        services_.makeCurrent();
    return gizmoColour(x, y);
}

std::array<float, 3> ViewInput::gizmoColour(double x, double y)
{
    const std::optional<GizmoPicture> picture = PictureFor(document_.Scene(), document_.Selection(), gizmo_);
    const KaCamera* camera = document_.Scene().ActiveCamera();
    Viewport view;
    const std::optional<FramebufferPixel> pixel = pixelAt(x, y, view);
    if (!picture || !camera || !pixel)
        return {};
    const auto colour = pick_.ReadColour(view, *pixel, ProjectionFor(view), *camera->Trans,
                                         [&] { ra7::editor::DrawGizmo(*picture, arrows_, true); });
    return colour.value_or(std::array<float, 3>{});
}

std::string ViewInput::ObjectAt(double x, double y)
{
    Viewport view;
    const std::optional<FramebufferPixel> pixel = pixelAt(x, y, view);
    if (!pixel)
        return {};
    if (services_.makeCurrent)
        services_.makeCurrent();
    const KaObjArray& scene = document_.Scene();
    const KaCamera* camera = scene.ActiveCamera();
    const KaTransformation eye = camera && camera->Trans ? *camera->Trans : KaTransformation{};
    const Matrix4 projection = ProjectionFor(view);
    const KaFrustum around =
        ExtractFrustum(PickProjection(view, *pixel, kPickRegion, projection), eye.ViewMatrix());
    const auto colour =
        pick_.ReadBytes(view, *pixel, projection, eye, [&] { DrawObjectsForPicking(scene, &around); });
    const std::optional<std::int32_t> slot = colour ? SlotOfPickColour(*colour) : std::nullopt;
    if (!slot || *slot >= scene.Count())
        return {};
    const KaSceneObj* object = scene.GetItem(*slot);
    return object ? object->Name() : std::string();
}

} // namespace ra7::editor
