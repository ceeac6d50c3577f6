#include "core/CameraFlight.h"

#include "resources/Ka7MeshList.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/SceneHierarchy.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ra7::editor {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

float wrapDegrees(float yaw)
{
    if (!std::isfinite(yaw))
        return 0;
    yaw = std::fmod(yaw, 360.0f);
    if (yaw < 0)
        yaw += 360.0f;
    return yaw >= 360.0f ? 0.0f : yaw;
}

float clampPitch(float pitch)
{
    if (!std::isfinite(pitch))
        return 0;
    return std::clamp(pitch, -90.0f, 90.0f);
}

// The box of a geometry's mesh placed in the world, as corners.
std::optional<std::pair<Vector3, Vector3>> worldBox(const KaGeometry& geometry)
{
    const KaMesh* mesh = Meshes ? Meshes->Find(geometry.MeshName) : nullptr;
    const std::optional<KaBounds> box = mesh ? mesh->Bounds() : std::nullopt;
    if (!box)
        return std::nullopt;
    Vector3 low{1e30f, 1e30f, 1e30f};
    Vector3 high{-1e30f, -1e30f, -1e30f};
    for (int corner = 0; corner < 8; ++corner) {
        Vector3 p{(corner & 1) ? box->Max.x : box->Min.x, (corner & 2) ? box->Max.y : box->Min.y,
                  (corner & 4) ? box->Max.z : box->Min.z};
        VectorTransform(p, geometry.Trans->Rotation);
        p = VectorAdd(p, geometry.Trans->Position);
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    return std::pair{low, high};
}

BoundingSphere sphereOf(const KaSceneObj& object)
{
    if (const auto* geometry = dynamic_cast<const KaGeometry*>(&object)) {
        if (const auto box = worldBox(*geometry)) {
            const Vector3 centre = VectorScale(VectorAdd(box->first, box->second), 0.5f);
            return {centre, std::sqrt(DistanceSqr(centre, box->second))};
        }
    }
    return {object.Trans->Position, 1.0f};
}

BoundingSphere merged(const BoundingSphere& a, const BoundingSphere& b)
{
    const Vector3 between = VectorSub(b.centre, a.centre);
    const float distance = std::sqrt(VectorLengthSqr(between));
    if (distance + b.radius <= a.radius)
        return a;
    if (distance + a.radius <= b.radius)
        return b;
    const float radius = (distance + a.radius + b.radius) / 2;
    Vector3 direction = between;
    VectorNormalize(direction);
    return {VectorAdd(a.centre, VectorScale(direction, radius - a.radius)), radius};
}

} // namespace

void CameraFlight::SetAngles(float pitch, float yaw)
{
    pitch_ = clampPitch(pitch);
    yaw_ = wrapDegrees(yaw);
}

void CameraFlight::TakeFrom(const Matrix3& rotation)
{
    Vector3 forward = EyeToWorld({0, 0, -1}, rotation);
    if (VectorLengthSqr(forward) == 0)
        return;
    const float pitch = std::asin(std::clamp(forward.y, -1.0f, 1.0f)) * 180.0f / kPi;
    // Looking straight up or down the yaw shows in the camera's x axis.
    float yaw = 0;
    if (std::abs(forward.y) < 0.9999f) {
        yaw = std::atan2(-forward.x, -forward.z) * 180.0f / kPi;
    } else {
        const Vector3 right = EyeToWorld({1, 0, 0}, rotation);
        yaw = std::atan2(-right.z, right.x) * 180.0f / kPi;
    }
    SetAngles(pitch, yaw);
}

FlightStep CameraFlight::CtrlMove(float dx, float dy, bool left, bool middle)
{
    FlightStep step;
    if (left && middle) {
        step.move = ToWorld({0, 0, dy / kFlyPixelsPerUnit});
    } else if (middle) {
        step.move = ToWorld({-dx / kFlyPixelsPerUnit, dy / kFlyPixelsPerUnit, 0});
    } else if (left) {
        step.turned = Look(dx, dy);
    }
    return step;
}

bool CameraFlight::Look(float dx, float dy)
{
    const float pitch = pitch_;
    const float yaw = yaw_;
    SetAngles(pitch_ - dy * kTurnDegreesPerPixel, yaw_ - dx * kTurnDegreesPerPixel);
    return pitch != pitch_ || yaw != yaw_;
}

Matrix3 CameraFlight::Rotation() const
{
    return MatrixMultiply3(RotationY(DegToRad(-yaw_)), RotationX(DegToRad(-pitch_)));
}

Vector3 CameraFlight::ToWorld(const Vector3& eye) const
{
    Vector3 world = eye;
    VectorTransform(world, RotationX(DegToRad(pitch_)));
    VectorTransform(world, RotationY(DegToRad(yaw_)));
    return world;
}

Vector3 EyeToWorld(const Vector3& eye, const Matrix3& rotation)
{
    // The rotation takes world directions to the eye's; its transpose takes them back.
    Matrix3 back = rotation;
    MatrixTranspose3(back);
    Vector3 world = eye;
    VectorTransform(world, back);
    VectorNormalize(world);
    return world;
}

Vector3 KeyFlight(const FlyKeys& keys, const Matrix3& cameraRotation, float ms)
{
    const float along = static_cast<float>(keys.back) - static_cast<float>(keys.forward);
    const float side = static_cast<float>(keys.right) - static_cast<float>(keys.left);
    const float rise = static_cast<float>(keys.up) - static_cast<float>(keys.down);
    Vector3 move = VectorAdd(EyeToWorld({side, 0, along}, cameraRotation), Vector3{0, rise, 0});
    VectorNormalize(move);
    const float units = kKeyFlightSpeed * (keys.fast ? 4.0f : 1.0f) * std::max(ms, 0.0f) / 1000.0f;
    return VectorScale(move, units);
}

Vector3 WheelMove(int angleDelta, bool fast, const Matrix3& cameraRotation)
{
    const float notches = static_cast<float>(angleDelta) / 120.0f;
    const float units = notches * kWheelStep * (fast ? 5.0f : 1.0f);
    return VectorScale(EyeToWorld({0, 0, -1}, cameraRotation), units);
}

void MoveCamera(const KaObjArray& scene, KaSceneObj& camera, const Vector3& delta)
{
    camera.Trans->Position = VectorAdd(camera.Trans->Position, delta);
    const KaSceneObj* parent = camera.ParentName.empty() ? nullptr : scene.FindByName(camera.ParentName);
    if (parent && parent->Trans && camera.LocalTrans)
        camera.LocalTrans->Position = OffsetInParent(*parent->Trans, camera.Trans->Position);
}

std::optional<BoundingSphere> SelectionSphere(const KaObjArray& scene, const std::vector<std::string>& names,
                                              std::string_view skip)
{
    std::optional<BoundingSphere> sphere;
    for (const std::string& name : names) {
        const KaSceneObj* object = scene.FindByName(name);
        if (!object || !object->Trans || object->Static || name == skip)
            continue;
        const BoundingSphere next = sphereOf(*object);
        sphere = sphere ? merged(*sphere, next) : next;
    }
    return sphere;
}

Vector3 FramingPosition(const BoundingSphere& sphere, const Matrix3& rotation, float fovY, float aspect)
{
    const float halfY = DegToRad(fovY) / 2;
    const float halfX = std::atan(std::tan(halfY) * std::max(aspect, 0.01f));
    const float half = std::min(halfY, halfX);
    // A little room around the object; never inside a point-sized one.
    const float distance = std::max(sphere.radius * 1.15f / std::sin(half), 1.0f);
    Vector3 forward = EyeToWorld({0, 0, -1}, rotation);
    if (VectorLengthSqr(forward) == 0)
        forward = {0, 0, -1};
    return VectorSub(sphere.centre, VectorScale(forward, distance));
}

} // namespace ra7::editor
