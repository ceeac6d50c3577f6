#include "core/SceneTree.h"

#include "runtime/TextCodec.h"
#include "scene/Ka7SceneUnit.h"

namespace ra7::editor {

namespace {

// The slots already placed in the tree; a damaged hierarchy must not repeat one.
using Shown = std::vector<char>;

bool wasShown(const Shown& shown, const KaSceneObj& object)
{
    return shown[static_cast<std::size_t>(object.Slot())] != 0;
}

TreeNode addNode(const KaObjArray& scene, const KaSceneObj& object, Shown& shown)
{
    TreeNode node{object.Name(), ImageOf(object), {}};
    shown[static_cast<std::size_t>(object.Slot())] = 1;
    node.children.reserve(object.Children.size());
    for (const std::string& childName : object.Children) {
        const KaSceneObj* child = scene.FindByName(childName);
        if (!child || child->ParentName != object.Name() || wasShown(shown, *child))
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
    Shown shown(static_cast<std::size_t>(scene.Count()), 0);
    for (std::int32_t i = 0; i < scene.Count(); ++i) {
        const KaSceneObj* object = scene.GetItem(i);
        // A name held twice (a damaged file) is shown once: the tree finds objects by name.
        if (object && object->ParentName.empty() && !wasShown(shown, *object) &&
            scene.FindByName(object->Name()) == object)
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
