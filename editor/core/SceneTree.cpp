#include "core/SceneTree.h"

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

std::vector<std::string> TreeNames(const std::vector<TreeNode>& roots)
{
    std::vector<std::string> names;
    collectNames(roots, names);
    return names;
}

} // namespace ra7::editor
