#include "core/GizmoDrawing.h"

#include "core/EditorSelection.h"
#include "core/ViewPicking.h"
#include "resources/DrawState.h"
#include "resources/Ka7MeshList.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace ra7::editor {

namespace {

constexpr int kRingPoints = 64;
constexpr float kRingRadius = 2.0f;
constexpr float kAxisLineLength = 0.6f;
constexpr float kPickMarkerSize = 12.0f;

struct Colour {
    float r, g, b;
};

// Sets SelfIllumPass for the scope: geometry draws its mesh without its material.
class PlainMeshes {
public:
    PlainMeshes() : was_(SelfIllumPass) { SelfIllumPass = true; }
    ~PlainMeshes() { SelfIllumPass = was_; }
    PlainMeshes(const PlainMeshes&) = delete;
    PlainMeshes& operator=(const PlainMeshes&) = delete;

private:
    bool was_;
};

Colour axisColour(GizmoAxis axis, bool forPicking, bool highlighted)
{
    if (!forPicking && highlighted)
        return {1.0f, 0.9f, 0.1f};
    const float v = forPicking ? 1.0f : 0.8f;
    switch (axis) {
    case GizmoAxis::X:
        return {v, 0, 0};
    case GizmoAxis::Y:
        return {0, v, 0};
    case GizmoAxis::Z:
        return {0, 0, v};
    }
    return {v, v, v};
}

bool isHighlighted(GizmoAxis axis, GrabbedAxes axes)
{
    return DraggedAxis(axes) == axis;
}

void drawArrow(KaGeometry* arrow, const Vector3& at, Colour colour)
{
    if (!arrow)
        return;
    arrow->Trans->Position = at;
    glColor3f(colour.r, colour.g, colour.b);
    arrow->Render();
}

// The ring about `axis`: the two other coordinates run round the circle.
void drawRing(GizmoAxis axis)
{
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < kRingPoints; ++i) {
        const float a = 2 * std::numbers::pi_v<float> * static_cast<float>(i) / kRingPoints;
        const float c = kRingRadius * std::cos(a), s = kRingRadius * std::sin(a);
        switch (axis) {
        case GizmoAxis::X:
            glVertex3f(0, c, s);
            break;
        case GizmoAxis::Y:
            glVertex3f(c, 0, s);
            break;
        case GizmoAxis::Z:
            glVertex3f(c, s, 0);
            break;
        }
    }
    glEnd();
}

void drawRings(const GizmoPicture& picture, bool forPicking)
{
    glPushMatrix();
    const Vector3& origin = picture.placement.origin;
    glTranslatef(origin.x, origin.y, origin.z);
    const Matrix4 turn = Matrix3To4(picture.rings);
    glMultMatrixf(turn.data());
    glLineWidth(forPicking ? 10.0f : 1.0f);
    for (const GizmoAxis axis : {GizmoAxis::X, GizmoAxis::Y, GizmoAxis::Z}) {
        const Colour colour = axisColour(axis, forPicking, isHighlighted(axis, picture.highlighted));
        glColor3f(colour.r, colour.g, colour.b);
        drawRing(axis);
    }
    if (!forPicking) {
        glColor3f(0.2f, 0.2f, 0.2f);
        glBegin(GL_LINES);
        glVertex3f(0, 0, 0);
        glVertex3f(kAxisLineLength, 0, 0);
        glVertex3f(0, 0, 0);
        glVertex3f(0, kAxisLineLength, 0);
        glVertex3f(0, 0, 0);
        glVertex3f(0, 0, kAxisLineLength);
        glEnd();
    }
    glLineWidth(1.0f);
    glPopMatrix();
}

void applyCameraModelPlacement(const KaCamera& camera)
{
    // As the camera's own marker: the model faces the way the camera looks.
    CameraModel->Trans->Assign(*camera.Trans);
    Matrix3 rotation = MatrixMultiply3(camera.Trans->Rotation, RotationY(DegToRad(180.0f)));
    MatrixTranspose3(rotation);
    CameraModel->Trans->Rotation = rotation;
}

void pickColour(std::int32_t slot)
{
    const auto colour = PickColourOf(slot);
    glColor3ub(colour[0], colour[1], colour[2]);
}

struct Sphere {
    Vector3 centre;
    float radius = 0;
};

// The spheres around the meshes of one pass, each mesh measured once.
class MeshSpheres {
public:
    // Nothing when the mesh is not loaded or keeps no vertices (uploaded).
    const std::optional<Sphere>& Of(const std::string& meshName)
    {
        const auto found = spheres_.find(meshName);
        if (found != spheres_.end())
            return found->second;
        std::optional<Sphere> sphere;
        const KaMesh* mesh = Meshes ? Meshes->Find(meshName) : nullptr;
        if (const auto box = mesh ? mesh->Bounds() : std::nullopt) {
            const Vector3 centre = VectorScale(VectorAdd(box->Min, box->Max), 0.5f);
            sphere = Sphere{centre, std::sqrt(DistanceSqr(centre, box->Max))};
        }
        return spheres_.emplace(meshName, sphere).first->second;
    }

private:
    std::unordered_map<std::string, std::optional<Sphere>> spheres_;
};

// Whether a geometry drawn with `shift` may show inside `frustum`.
bool mayShow(const KaGeometry& geometry, const Vector3& shift, const KaFrustum& frustum, MeshSpheres& spheres)
{
    const std::optional<Sphere>& local = spheres.Of(geometry.MeshName);
    if (!local)
        return true;
    Vector3 centre = local->centre;
    VectorTransform(centre, geometry.Trans->Rotation);
    centre = VectorAdd(VectorAdd(centre, geometry.Trans->Position), shift);
    const Vector3 lengths = RowLengths(geometry.Trans->Rotation);
    const float radius = local->radius * std::max({lengths.x, lengths.y, lengths.z});
    for (const KaPlane& plane : frustum)
        if (PlaneDistance(plane, centre) < -radius)
            return false;
    return true;
}

void drawShifted(KaGeometry& geometry, const Vector3& shift)
{
    glPushMatrix();
    glTranslatef(shift.x, shift.y, shift.z);
    geometry.Render();
    glPopMatrix();
}

} // namespace

std::optional<GizmoPicture> PictureFor(const KaObjArray& scene, const EditorSelection& selection,
                                       const GizmoState& state)
{
    if (selection.Empty())
        return std::nullopt;
    const GizmoTarget target = state.Dragging() ? state.DragTarget() : selection.Target();
    const std::optional<DragView> view = LookUpDragView(scene, target);
    if (!view || !view->placement.visible)
        return std::nullopt;
    GizmoPicture picture;
    picture.placement = view->placement;
    picture.mode = state.Dragging() ? state.DragMode() : state.Mode();
    if (!state.GlobalAxes())
        picture.rings = PureRotation(view->worldRotation);
    if (state.Dragging())
        picture.highlighted = state.DragAxes();
    return picture;
}

void DrawGizmo(const GizmoPicture& picture, const GizmoArrows& arrows, bool forPicking)
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_POLYGON_BIT | GL_DEPTH_BUFFER_BIT |
                 GL_VIEWPORT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    if (forPicking) {
        glDisable(GL_BLEND);
        glDisable(GL_LINE_SMOOTH);
    } else {
        // In front of everything the scene drew, as the picking pass (which
        // draws the gizmo alone) finds it; still hidden by its own parts.
        glDepthRange(0.0, 0.001);
    }
    glPushMatrix();
    const Vector3& shift = picture.placement.shift;
    glTranslatef(shift.x, shift.y, shift.z);
    if (picture.mode == GizmoMode::Move) {
        const PlainMeshes plain;
        const Vector3& at = picture.placement.origin;
        drawArrow(arrows.x, at,
                  axisColour(GizmoAxis::X, forPicking, isHighlighted(GizmoAxis::X, picture.highlighted)));
        drawArrow(arrows.y, at,
                  axisColour(GizmoAxis::Y, forPicking, isHighlighted(GizmoAxis::Y, picture.highlighted)));
        drawArrow(arrows.z, at,
                  axisColour(GizmoAxis::Z, forPicking, isHighlighted(GizmoAxis::Z, picture.highlighted)));
    } else {
        drawRings(picture, forPicking);
    }
    glPopMatrix();
    glPopAttrib();
}

std::vector<std::string> DescendantGeometries(const KaObjArray& scene, const std::string& name)
{
    std::vector<std::string> found;
    std::unordered_set<std::string> visited{name};
    std::vector<std::string> pending;
    if (const KaSceneObj* object = scene.FindByName(name))
        pending.assign(object->Children.rbegin(), object->Children.rend());
    while (!pending.empty()) {
        const std::string next = std::move(pending.back());
        pending.pop_back();
        if (!visited.insert(next).second)
            continue;
        const KaSceneObj* child = scene.FindByName(next);
        if (!child)
            continue;
        if (child->Kind() == KaObjKind::Geometry)
            found.push_back(next);
        pending.insert(pending.end(), child->Children.rbegin(), child->Children.rend());
    }
    return found;
}

void DrawSelectionOutlines(const KaObjArray& scene, const std::vector<std::string>& selected)
{
    const KaCamera* camera = scene.ActiveCamera();
    const Vector3 eye = camera && camera->Trans ? camera->Trans->Position : kZeroVector;
    auto outline = [&](const std::string& name, Colour colour) {
        auto* geometry = dynamic_cast<KaGeometry*>(scene.FindByName(name));
        if (!geometry || !geometry->Trans)
            return;
        glColor3f(colour.r, colour.g, colour.b);
        drawShifted(*geometry, geometry->Static ? eye : kZeroVector);
    };
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glEnable(GL_POLYGON_OFFSET_LINE);
    glPolygonOffset(-1.0f, -1.0f);
    {
        const PlainMeshes plain;
        for (const std::string& name : selected) {
            if (!scene.FindByName(name))
                continue;
            outline(name, {0.2f, 1.0f, 0.2f});
            for (const std::string& below : DescendantGeometries(scene, name))
                outline(below, {0.6f, 0.2f, 0.2f});
        }
    }
    glPopAttrib();
}

void DrawObjectsForPicking(const KaObjArray& scene, const KaFrustum* only)
{
    const KaCamera* active = scene.ActiveCamera();
    const Vector3 eye = active && active->Trans ? active->Trans->Position : kZeroVector;
    const PlainMeshes plain;
    MeshSpheres spheres;
    auto shows = [&](const KaGeometry& geometry, const Vector3& shift) {
        return !only || mayShow(geometry, shift, *only, spheres);
    };
    // Static geometry is the background around the camera: anything else in front wins.
    glDepthMask(GL_FALSE);
    for (std::int32_t i = 0; i < scene.Count(); ++i) {
        auto* geometry = dynamic_cast<KaGeometry*>(scene.GetItem(i));
        if (geometry && geometry->Static && geometry->Trans && shows(*geometry, eye)) {
            pickColour(i);
            drawShifted(*geometry, eye);
        }
    }
    glDepthMask(GL_TRUE);
    glPointSize(kPickMarkerSize);
    for (std::int32_t i = 0; i < scene.Count(); ++i) {
        KaSceneObj* object = scene.GetItem(i);
        if (!object || !object->Trans || object == active)
            continue;
        pickColour(i);
        switch (object->Kind()) {
        case KaObjKind::Geometry:
            if (!object->Static && shows(static_cast<const KaGeometry&>(*object), kZeroVector))
                object->Render();
            break;
        case KaObjKind::Camera:
            if (CameraModel) {
                applyCameraModelPlacement(static_cast<const KaCamera&>(*object));
                CameraModel->Render();
            }
            break;
        default: {
            const Vector3& p = object->Trans->Position;
            glBegin(GL_POINTS);
            glVertex3f(p.x, p.y, p.z);
            glEnd();
            break;
        }
        }
    }
    glPointSize(1.0f);
}

} // namespace ra7::editor
