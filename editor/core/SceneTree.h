#pragma once
// The hierarchy tree as the editor shows it: every object without a parent
// is a top-level node, each child hangs under the parent that lists it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {
class KaObjArray;
class KaSceneObj;
} // namespace ra7

namespace ra7::editor {

// The node images, by the object's exact kind.
enum class NodeImage : std::int32_t {
    Geometry = 0,
    Sprite = 1,
    Light = 2,
    ParSystem = 3,
    Camera = 4,
    Sound = 5
};

struct TreeNode {
    std::string name;
    NodeImage image = NodeImage::Geometry;
    std::vector<TreeNode> children;
};

NodeImage ImageOf(const KaSceneObj& object);

// The roots in slot order, each with its subtree (AddNode): a child's node
// follows the parent's child list, skipping names that resolve to nothing.
// A child stands only under the parent its ParentName names, and an object
// appears at most once, so a damaged hierarchy (a child listed twice, or by
// a parent it does not name) cannot loop or duplicate nodes.
std::vector<TreeNode> BuildTree(const KaObjArray& scene);

// The nodes whose names contain `text` (letter case ignored), each with
// its ancestors so that it shows where it hangs; an empty text keeps all.
std::vector<TreeNode> FilterTree(std::vector<TreeNode> roots, std::string_view text);

// The names of the nodes in display order (depth first).
std::vector<std::string> TreeNames(const std::vector<TreeNode>& roots);

} // namespace ra7::editor
