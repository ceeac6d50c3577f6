#pragma once
// Questions and edits of the parent/child hierarchy that need the whole
// array: loops, offsets that keep an object in place, and renames that carry
// every link along.

#include "math/Ka7Transform.h"

#include <string>
#include <string_view>

namespace ra7 {

class KaObjArray;
class KaSceneObj;

// True when `ancestorName` names `object` itself or one of the objects above
// it (following ParentName). A damaged hierarchy that loops ends the walk.
bool IsDescendant(const KaObjArray& scene, const KaSceneObj& object, std::string_view ancestorName);

// The offset from a parent at `parent` that puts a child at `worldPosition`
// once the parent's update has run: the difference turned back through the
// parent's rotation. A rotation that cannot be inverted gives the plain difference.
Vector3 OffsetInParent(const KaTransformation& parent, const Vector3& worldPosition);

// Gives `object` the name `newName` (taken as it is: the caller makes it
// unique) and carries every link along: the parent's child list, the
// children's ParentName, the active camera's name and the names the
// drawing code keeps of the light and object it draws.
void RenameObject(KaObjArray& scene, KaSceneObj& object, const std::string& newName);

} // namespace ra7
