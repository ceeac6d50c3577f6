#include "core/GizmoMath.h"

#include <cmath>

namespace ra7::editor {

namespace {

constexpr float kGrabThreshold = 0.1f;

Vector3 row(const Matrix3& m, std::size_t i)
{
    return {m[3 * i], m[3 * i + 1], m[3 * i + 2]};
}

float dot(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector3 cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Matrix3 fromRows(const Vector3& a, const Vector3& b, const Vector3& c)
{
    return {a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z};
}

// Gram–Schmidt on the rows; the unit rows, or nothing for a degenerate matrix.
std::optional<std::array<Vector3, 3>> unitRows(const Matrix3& m)
{
    Vector3 u0 = row(m, 0);
    Vector3 u1 = row(m, 1);
    const Vector3 r2 = row(m, 2);
    if (VectorLengthSqr(u0) == 0 || VectorLengthSqr(u1) == 0 || VectorLengthSqr(r2) == 0)
        return std::nullopt;
    VectorNormalize(u0);
    u1 = VectorSub(u1, VectorScale(u0, dot(u1, u0)));
    if (VectorLengthSqr(u1) == 0)
        return std::nullopt;
    VectorNormalize(u1);
    Vector3 u2 = cross(u0, u1);
    // A mirrored matrix (a negative scale) keeps its handedness.
    if (dot(u2, r2) < 0)
        u2 = VectorScale(u2, -1);
    if (!std::isfinite(u0.x + u0.y + u0.z + u1.x + u1.y + u1.z))
        return std::nullopt;
    return std::array<Vector3, 3>{u0, u1, u2};
}

} // namespace

GrabbedAxes AxesUnder(const std::array<float, 3>& pickedColour)
{
    return {pickedColour[0] > kGrabThreshold, pickedColour[1] > kGrabThreshold,
            pickedColour[2] > kGrabThreshold};
}

std::optional<GizmoAxis> DraggedAxis(GrabbedAxes axes)
{
    if (axes.y)
        return GizmoAxis::Y;
    if (axes.z)
        return GizmoAxis::Z;
    if (axes.x)
        return GizmoAxis::X;
    return std::nullopt;
}

DragSigns SideSigns(const Vector3& camera, const Vector3& gizmo)
{
    return {camera.x <= gizmo.x ? -1.0f : 1.0f, camera.z <= gizmo.z ? 1.0f : -1.0f};
}

Vector3 MoveOffset(GizmoAxis axis, float distance, ScreenDelta delta, DragSigns signs)
{
    const float k = distance / kMovePixels;
    switch (axis) {
    case GizmoAxis::Y:
        return {0, k * delta.y, 0};
    case GizmoAxis::Z:
        return {0, 0, signs.z * k * delta.x};
    case GizmoAxis::X:
        return {signs.x * k * delta.x, 0, 0};
    }
    return kZeroVector;
}

Matrix3 RotationAboutAxis(const Vector3& w, float angle)
{
    const float c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    const float x = w.x, y = w.y, z = w.z;
    return {t * x * x + c,     t * x * y + z * s, t * x * z - y * s, t * x * y - z * s, t * y * y + c,
            t * y * z + x * s, t * x * z + y * s, t * y * z - x * s, t * z * z + c};
}

Matrix3 TurnStep(GizmoAxis axis, bool globalAxes, float distance, ScreenDelta delta, DragSigns signs,
                 const Matrix3& worldRotation)
{
    const float k = distance / (globalAxes ? kMovePixels : kOwnAxisTurnPixels);
    float angle = 0;
    switch (axis) {
    case GizmoAxis::Y:
        angle = -k * delta.x;
        break;
    case GizmoAxis::Z:
        angle = signs.z * k * delta.y;
        break;
    case GizmoAxis::X:
        angle = signs.x * k * delta.y;
        break;
    }
    if (globalAxes) {
        switch (axis) {
        case GizmoAxis::Y:
            return RotationY(angle);
        case GizmoAxis::Z:
            return RotationZ(angle);
        case GizmoAxis::X:
            return RotationX(angle);
        }
    }
    // a·R with a = (1,0,0), (0,1,0) or (0,0,1) is row 0, 1 or 2 of R.
    const std::size_t index = axis == GizmoAxis::X ? 0 : axis == GizmoAxis::Y ? 1 : 2;
    Vector3 w = row(worldRotation, index);
    VectorNormalize(w);
    if (VectorLengthSqr(w) == 0)
        return kIdentityMatrix3;
    return RotationAboutAxis(w, angle);
}

Vector3 RowLengths(const Matrix3& m)
{
    return {std::sqrt(VectorLengthSqr(row(m, 0))), std::sqrt(VectorLengthSqr(row(m, 1))),
            std::sqrt(VectorLengthSqr(row(m, 2)))};
}

Matrix3 OrthogonalizeRows(const Matrix3& m)
{
    return OrthogonalizeRows(m, RowLengths(m));
}

Matrix3 OrthogonalizeRows(const Matrix3& m, const Vector3& lengths)
{
    const auto units = unitRows(m);
    if (!units)
        return m;
    return fromRows(VectorScale((*units)[0], lengths.x), VectorScale((*units)[1], lengths.y),
                    VectorScale((*units)[2], lengths.z));
}

Matrix3 PureRotation(const Matrix3& m)
{
    const auto units = unitRows(m);
    if (!units)
        return kIdentityMatrix3;
    return fromRows((*units)[0], (*units)[1], (*units)[2]);
}

GizmoPlacement PlaceGizmo(const Vector3& target, const Vector3& camera, float nearPlane)
{
    GizmoPlacement placement;
    placement.origin = target;
    const Vector3 towardsCamera = VectorSub(camera, target);
    placement.distance = std::sqrt(VectorLengthSqr(towardsCamera));
    if (!(placement.distance >= nearPlane))
        return placement;
    Vector3 direction = towardsCamera;
    VectorNormalize(direction);
    placement.shift = VectorSub(VectorSub(camera, VectorScale(direction, kGizmoDistance)), target);
    placement.visible = true;
    return placement;
}

} // namespace ra7::editor
