#pragma once
// The Bounds page's edits of bounding shapes, each an undoable step: a
// geometry's set (add, copy, change the kind keeping the placement, delete,
// load a PHZ file), one shape's radius, size and offset, and a camera's
// sphere. Shapes are found again by their owner's name and number each time
// a step runs, and the owner's world placement of them follows at once.

#include "core/EditorSelection.h"
#include "core/GizmoMath.h"
#include "core/PageRules.h"
#include "scene/Ka7BoundingVolume.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ra7::editor {

class EditorDocument;

// The radius bar: 0..300, scale 10 (0 to 30).
inline constexpr ScaledBar kRadiusBar{10, 0, 300};

// One shape as values.
struct ShapeState {
    KaShapeKind kind = KaShapeKind::Sphere;
    KaTransformation local;
    float radius = 0;
    Vector3 size = kZeroVector;
};
ShapeState CaptureShape(const KaBoundingObj& shape);
std::unique_ptr<KaBoundingObj> MakeShape(const ShapeState& state);

// A geometry's whole set as values.
struct VolumeSetState {
    ShapeState main;
    std::vector<ShapeState> items;
};
VolumeSetState CaptureVolumes(const KaBoundingVolume& volume);
void RestoreVolumes(KaBoundingVolume& volume, const VolumeSetState& state);

// The type box's names: "Сфера", "AABB", "Точка".
std::string_view ShapeKindName(KaShapeKind kind);
KaShapeKind ShapeKindByName(std::string_view name);

// What the page offers for the selected object.
enum class BoundsOwner : std::uint8_t { None, Geometry, Camera, ParticleSystem };
BoundsOwner BoundsOwnerOf(const EditorDocument& document, const std::string& name);

// The number box: 0 the main shape, 1..count a further one; a number past
// the set (after a load or a deletion elsewhere) comes back to the last.
std::int32_t ClampVolumeNumber(std::int32_t number, std::int32_t count);
// The shape the page edits: a geometry's shape `number`, a particle
// system's box (the number does not count), or nothing.
GizmoTarget ShapeTarget(const EditorDocument& document, const std::string& owner, std::int32_t number);
// What the gizmo moves: the shape when "Двигать указателем" is ticked and
// the owner has one, the object itself otherwise.
GizmoTarget GizmoTargetFor(const EditorDocument& document, const std::string& owner, std::int32_t number,
                           bool moveShape);
const KaBoundingObj* ShapeAt(const EditorDocument& document, const GizmoTarget& target);

// --- a geometry's set ------------------------------------------------------------------
// Each returns the reason for a refusal (shown to the user), or nothing.
// A set holds at most 50 further shapes.
std::optional<std::string> AddVolume(EditorDocument& document, const std::string& geometry, KaShapeKind kind);
// A copy of further shape `number` (1..count).
std::optional<std::string> CopyVolume(EditorDocument& document, const std::string& geometry,
                                      std::int32_t number);
// Further shape `number` becomes a new shape of `kind` at the same placement.
std::optional<std::string> ChangeVolumeKind(EditorDocument& document, const std::string& geometry,
                                            std::int32_t number, KaShapeKind kind);
std::optional<std::string> DeleteVolume(EditorDocument& document, const std::string& geometry,
                                        std::int32_t number);
// The set from a PHZ file (a file that is not one is refused and changes nothing).
std::optional<std::string> LoadVolumes(EditorDocument& document, const std::string& geometry,
                                       std::string_view storedName);
// Writes the set; the file is replaced only once it is written whole.
std::optional<std::string> SaveVolumes(const EditorDocument& document, const std::string& geometry,
                                       std::string_view storedName);

// --- one shape -------------------------------------------------------------------------
// Moves of the radius bar merge into one step.
std::optional<std::string> SetShapeRadius(EditorDocument& document, const GizmoTarget& target, float radius);
// Box text for the size (above 0) or the offset along `axis`; text that is
// not such a number keeps the value and says so.
std::optional<std::string> SetShapeSizeText(EditorDocument& document, const GizmoTarget& target,
                                            GizmoAxis axis, std::string_view text);
std::optional<std::string> SetShapeOffsetText(EditorDocument& document, const GizmoTarget& target,
                                              GizmoAxis axis, std::string_view text);
// A camera's bounding sphere.
std::optional<std::string> SetCameraRadius(EditorDocument& document, const std::string& camera, float radius);

float AxisValue(const Vector3& vector, GizmoAxis axis);

} // namespace ra7::editor
