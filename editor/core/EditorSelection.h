#pragma once
// What the user has selected: object names in the order they were clicked
// (the first one is the selected object, `SelectedName`, and the parent of
// "Parent"), and what the gizmo moves. Only names and numbers are kept,
// never pointers: a script or a page may replace or destroy an object at any
// time, so the target is looked up again at every use.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {
class KaBoundingObj;
class KaObjArray;
class KaSceneObj;
class KaTransformation;
} // namespace ra7

namespace ra7::editor {

// What dragging the gizmo changes: the selected object itself, one of a
// geometry's bounding volumes (0 the main box, n the n-th further one), or a
// particle system's bounding box.
struct GizmoTarget {
    enum class Kind : std::uint8_t { Object, BoundsVolume, ParticleBox };
    Kind kind = Kind::Object;
    std::string objectName;
    std::int32_t volume = 0;

    bool operator==(const GizmoTarget&) const = default;
};

// A target looked up in the scene: valid until the scene next changes.
struct ResolvedTarget {
    KaSceneObj* object = nullptr;
    // What a drag writes: a child's LocalTrans, a root's Trans, a volume's
    // LocalTrans (its offset from the owner, which is what lasts).
    KaTransformation* edit = nullptr;
    // Where the gizmo stands: the object's Trans or the volume's WorldTrans.
    KaTransformation* gizmo = nullptr;
    // The bounding shape of a volume target (its WorldTrans is `gizmo`).
    KaBoundingObj* shape = nullptr;

    explicit operator bool() const { return edit && gizmo; }
};

class EditorSelection {
public:
    // The selected object (`SelectedName`): the first name clicked; empty
    // when nothing is selected.
    const std::string& SelectedName() const;
    // Every selected name, in the order of the clicks.
    const std::vector<std::string>& Names() const { return names_; }
    bool Empty() const { return names_.empty(); }
    bool Contains(std::string_view name) const;

    // Selects exactly these names, in this order (duplicates dropped).
    // Returns false when nothing changed.
    bool Set(std::vector<std::string> names);
    bool Clear() { return Set({}); }
    // A view selected the names `selected` (given in its own order, a tree's
    // from top to bottom): names still selected keep their place, new ones
    // follow in the given order. So Ctrl and Shift clicks keep click order.
    bool Follow(const std::vector<std::string>& selected);

    // Keeps the names in step with the scene after a rename or a deletion.
    void Rename(std::string_view oldName, const std::string& newName);
    // Drops the names that no longer name an object; true when any went.
    bool DropMissing(const KaObjArray& scene);

    // The gizmo's target: by default the selected object; a page may point
    // it at a volume of that object. Changing the selection resets it.
    GizmoTarget Target() const;
    void SetTarget(GizmoTarget target);
    ResolvedTarget Resolve(const KaObjArray& scene) const;

private:
    std::vector<std::string> names_;
    GizmoTarget target_;
    bool targetSet_ = false;
};

// Resolves a target description in `scene`: nothing when the object, the
// kind or the volume is gone.
ResolvedTarget ResolveTarget(const KaObjArray& scene, const GizmoTarget& target);

} // namespace ra7::editor
