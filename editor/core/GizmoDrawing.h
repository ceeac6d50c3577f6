#pragma once
// What the editor draws into the 3-D view for the selection: the gizmo
// (arrows in move mode, rings in rotate mode), once in pure red, green and
// blue for picking and once as the user sees it, and the outlines of the
// selected objects and their descendants. Needs a current context.

#include "core/GizmoMath.h"
#include "core/GizmoState.h"
#include "math/Frustum.h"

#include <string>
#include <vector>

namespace ra7 {
class KaGeometry;
class KaObjArray;
} // namespace ra7

namespace ra7::editor {

class EditorSelection;

// The editor's arrow models, one per axis, each pointing along its axis.
struct GizmoArrows {
    KaGeometry* x = nullptr;
    KaGeometry* y = nullptr;
    KaGeometry* z = nullptr;
};

// What a gizmo drawing needs to know, looked up for one frame.
struct GizmoPicture {
    GizmoPlacement placement;
    GizmoMode mode = GizmoMode::Move;
    // The rings' turn: the target's own (unit) rotation, or none with global axes.
    Matrix3 rings = kIdentityMatrix3;
    // Axes drawn brighter: under the cursor, or being dragged.
    GrabbedAxes highlighted;
};

// The gizmo of the selection's target, or nothing (no selection, no active
// camera, the target gone or standing at the camera).
std::optional<GizmoPicture> PictureFor(const KaObjArray& scene, const EditorSelection& selection,
                                       const GizmoState& state);

// Draws the gizmo at its place in front of the camera, with the view matrix
// current. `forPicking`: pure red, green and blue, rings 10 pixels wide,
// nothing else; otherwise the user's colours, thin rings and grey axis
// lines, in front of everything the scene drew.
void DrawGizmo(const GizmoPicture& picture, const GizmoArrows& arrows, bool forPicking);

// Wire outlines of the selected objects that exist: a selected geometry in
// green, the geometries below each selected object in dark red. A damaged
// hierarchy that loops is walked once.
void DrawSelectionOutlines(const KaObjArray& scene, const std::vector<std::string>& selected);

// The geometries below `name` (children, their children, ...), each once,
// in the order a depth-first walk meets them; `name` itself is not listed.
std::vector<std::string> DescendantGeometries(const KaObjArray& scene, const std::string& name);

// Every object (but the active camera) in the colour of its slot: meshes
// of geometries, the camera model for cameras, a 12-pixel point for the
// other kinds; static geometry behind everything, around the camera. With
// a view volume, geometries whose meshes lie wholly outside it are skipped
// (the few pixels a pick draws see little of a large scene).
void DrawObjectsForPicking(const KaObjArray& scene, const KaFrustum* only = nullptr);

} // namespace ra7::editor
