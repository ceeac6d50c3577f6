#include "core/SceneTree.h"

#include "runtime/TextCodec.h"
#include "scene/Ka7SceneUnit.h"

#include <unordered_set>

namespace ra7::editor {

namespace {

using Shown = std::unordered_set<std::string>;

TreeNode addNode(const KaObjArray& scene, const KaSceneObj& object, Shown& shown)
{
    TreeNode node{object.Name(), ImageOf(object), {}};
    shown.insert(object.Name());
    for (const std::string& childName : object.Children) {
        const KaSceneObj* child = scene.FindByName(childName);
        if (!child || child->ParentName != object.Name() || shown.count(childName) != 0)
            continue;
        node.children.push_back(addNode(scene, *child, shown));
    }
    return node;
}

// Keeps the node when its name matches or any node below it is kept.
bool keepMatching(TreeNode& node, const std::string& folded)
{
    std::vector<TreeNode> kept;
    for (TreeNode& child : node.children)
        if (keepMatching(child, folded))
            kept.push_back(std::move(child));
    node.children = std::move(kept);
    return !node.children.empty() || foldCase(node.name).find(folded) != std::string::npos;
}

void collectNames(const std::vector<TreeNode>& nodes, std::vector<std::string>& names)
{
    for (const TreeNode& node : nodes) {
        names.push_back(node.name);
        collectNames(node.children, names);
    }
}

} // namespace

NodeImage ImageOf(const KaSceneObj& object)
{
    switch (object.Kind()) {
    case KaObjKind::Geometry:
        return NodeImage::Geometry;
    case KaObjKind::Sprite:
        return NodeImage::Sprite;
    case KaObjKind::Light:
        return NodeImage::Light;
    case KaObjKind::ParSystem:
        return NodeImage::ParSystem;
    case KaObjKind::Camera:
        return NodeImage::Camera;
    case KaObjKind::Sound:
        return NodeImage::Sound;
    }
    return NodeImage::Geometry;
}

std::vector<TreeNode> BuildTree(const KaObjArray& scene)
{
    std::vector<TreeNode> roots;
    Shown shown;
    for (std::int32_t i = 0; i < scene.Count(); ++i) {
        const KaSceneObj* object = scene.GetItem(i);
        if (object && object->ParentName.empty() && shown.count(object->Name()) == 0)
            roots.push_back(addNode(scene, *object, shown));
    }
    return roots;
}

std::vector<TreeNode> FilterTree(std::vector<TreeNode> roots, std::string_view text)
{
    if (text.empty())
        return roots;
    const std::string folded = foldCase(text);
    std::vector<TreeNode> kept;
    for (TreeNode& root : roots)
        if (keepMatching(root, folded))
            kept.push_back(std::move(root));
    return kept;
}

std::vector<std::string> TreeNames(const std::vector<TreeNode>& roots)
{
    std::vector<std::string> names;
    collectNames(roots, names);
    return names;
}

} // namespace ra7::editor
