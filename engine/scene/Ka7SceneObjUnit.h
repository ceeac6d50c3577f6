#pragma once
// KaSceneObj: the base of every object that can stand in a scene. It carries
// what all kinds share (a name unique within the object array, three
// transformations, two flags, the distance to the camera and the parent and
// child links by name) and the virtual slots every kind overrides. Related
// objects are always found again by name through the owning object array.

#include "math/Ka7Transform.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

class KaObjArray;
class KgfNameTable;
class RecordReader;
class RecordWriter;

enum class KaObjKind { Geometry, Light, Sprite, ParSystem, Sound, Camera };

inline constexpr const char* kWrongAssignKind = "неверный тип в assigned";

class KaSceneObj {
public:
    // Base construction: "DefaultName", identity transformations, visible.
    KaSceneObj();
    // Detaches the object from its parent's child list; its own children
    // keep their ParentName.
    virtual ~KaSceneObj();
    KaSceneObj(const KaSceneObj&) = delete;
    KaSceneObj& operator=(const KaSceneObj&) = delete;

    virtual KaObjKind Kind() const = 0;

    // Slot 0: a new object of the same class as its constructor makes it (a
    // particle system with the same particle count).
    virtual std::unique_ptr<KaSceneObj> Create() const = 0;
    // Slot 1: draws the object with the current OpenGL state; the base
    // object draws nothing.
    virtual void Render();
    // Slot 2: pushes this object's placement down to its children, depth
    // first in child order. Kinds call it first, then do their own work.
    virtual void Update();
    // Slot 3: the common part of the record; names come back from the table.
    virtual void LoadFromFile(RecordReader& file, const KgfNameTable& names);
    // Slot 4: the kind's tag and the whole record; names go out as positions
    // in the table.
    virtual void SaveToFile(RecordWriter& file, const KgfNameTable& names) const = 0;
    // Slot 5: copies the common fields; kinds refuse another kind with
    // "неверный тип в assigned" before copying anything.
    virtual void Assign(const KaSceneObj& source);

    // The name. Renaming an object that stands in an array keeps the array's
    // name index in step.
    const std::string& Name() const { return name_; }
    void SetName(std::string name);

    std::int32_t ChildCount() const { return static_cast<std::int32_t>(Children.size()); }
    // First index of the name in Children, or −1.
    std::int32_t IndexOfChild(std::string_view name) const;
    // Moves the last child into the gap; "Array index out of bounds." past the end.
    void DeleteChild(std::int32_t index);
    void ClearChildren();
    // Attaches `child` to this object, taking it from its old parent; it
    // keeps its world position, which becomes its offset seen from this
    // object. "Array element already exists." when the name is already
    // listed; refused when `child` is this object or one of its ancestors,
    // which would close a loop.
    void AddChild(KaSceneObj& child);

    // The array that holds the object, or nullptr.
    KaObjArray* Owner() const { return owner_; }
    // Position in the owning array, or −1.
    std::int32_t Slot() const { return slot_; }

    std::unique_ptr<KaTransformation> PrevTrans;
    std::unique_ptr<KaTransformation> Trans;
    std::unique_ptr<KaTransformation> LocalTrans;
    bool Static = false;
    float DistToCamera = 0.0f;
    bool Visible = true;
    std::string ParentName;
    std::vector<std::string> Children;

protected:
    // "Trans = nil at <name>" when the world transformation is missing.
    void CheckTrans() const;
    // The common part written by SaveToFile after the kind's tag.
    void SaveBase(RecordWriter& file, const KgfNameTable& names) const;
    // Throws "неверный тип в assigned" unless `source` is of this kind.
    void CheckSameKind(const KaSceneObj& source) const;
    // Looks an object up by name in the owning array.
    KaSceneObj* FindInScene(std::string_view name) const;

private:
    friend class KaObjArray;

    std::string name_ = "DefaultName";
    // A root's world placement when the last frame's update ended; becomes
    // its PrevTrans at the next frame (a root has no parent to set it).
    KaTransformation lastFrameTrans_;
    bool hasLastFrame_ = false;
    KaObjArray* owner_ = nullptr;
    std::int32_t slot_ = -1;
    bool updating_ = false; // guards against a damaged hierarchy that loops
};

} // namespace ra7
