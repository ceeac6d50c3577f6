#include "core/ObjectCommands.h"

#include "core/EditorDocument.h"
#include "effects/Ka7Sound.h"
#include "runtime/Errors.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/SceneHierarchy.h"

#include <algorithm>
#include <unordered_set>

namespace ra7::editor {

namespace {

// Many objects in one edit: the render lists are rebuilt once at the end,
// not after every object (which made large edits quadratic).
class BatchedChanges {
public:
    explicit BatchedChanges(KaObjArray& scene) : scene_(scene), outer_(!scene.Updating())
    {
        if (outer_)
            scene_.BeginUpdate();
    }
    ~BatchedChanges()
    {
        if (!outer_)
            return;
        scene_.EndUpdate();
        scene_.MarkChanged();
    }
    BatchedChanges(const BatchedChanges&) = delete;
    BatchedChanges& operator=(const BatchedChanges&) = delete;

private:
    KaObjArray& scene_;
    bool outer_;
};

std::string labelFor(const std::string& verb, const std::vector<std::string>& names)
{
    if (names.size() == 1)
        return verb + " " + names.front();
    return verb + " (" + std::to_string(names.size()) + ")";
}

} // namespace

KaSceneObj& ObjectNamed(const KaObjArray& scene, const std::string& name)
{
    KaSceneObj* object = scene.FindByName(name);
    if (!object)
        throw Error("Объект <" + name + "> не найден");
    return *object;
}

// --- LinkSnapshot ----------------------------------------------------------------

void LinkSnapshot::Take(const KaObjArray& scene, const std::vector<std::string>& names)
{
    std::unordered_set<std::string> seen;
    for (const Links& links : links_)
        seen.insert(links.name);
    for (const std::string& name : names) {
        const KaSceneObj* object = scene.FindByName(name);
        if (!object || !seen.insert(name).second)
            continue;
        Links links{name, object->ParentName, object->Children, std::nullopt};
        if (object->LocalTrans)
            links.local = *object->LocalTrans;
        links_.push_back(std::move(links));
    }
}

void LinkSnapshot::Restore(KaObjArray& scene) const
{
    for (const Links& links : links_) {
        KaSceneObj* object = scene.FindByName(links.name);
        if (!object)
            continue;
        object->ParentName = links.parentName;
        object->Children = links.children;
        if (links.local && object->LocalTrans)
            object->LocalTrans->Assign(*links.local);
    }
    scene.MarkChanged();
}

// --- adding ------------------------------------------------------------------

AddObjectCommand::AddObjectCommand(EditorDocument& document, std::unique_ptr<KaSceneObj> object)
    : document_(document), held_(std::move(object)), name_(held_->Name())
{
}

std::string AddObjectCommand::Label() const
{
    return "Добавить " + name_;
}

void AddObjectCommand::Do()
{
    KaObjArray& scene = document_.Scene();
    if (scene.FindByName(name_))
        throw Error("Имя <" + name_ + "> уже занято");
    const bool camera = held_->Kind() == KaObjKind::Camera;
    scene.Add(std::move(held_));
    madeActiveCamera_ = camera && ActiveCameraName.empty();
    if (madeActiveCamera_)
        ActiveCameraName = name_;
}

void AddObjectCommand::Undo()
{
    held_ = document_.Scene().Extract(name_);
    if (madeActiveCamera_)
        ActiveCameraName.clear();
}

// --- deleting ----------------------------------------------------------------

DeleteObjectsCommand::DeleteObjectsCommand(EditorDocument& document, std::vector<std::string> names)
    : document_(document), names_(std::move(names))
{
}

std::string DeleteObjectsCommand::Label() const
{
    return labelFor("Удалить", names_);
}

void DeleteObjectsCommand::Do()
{
    KaObjArray& scene = document_.Scene();
    const BatchedChanges batch(scene);
    removed_.clear();
    for (const std::string& name : names_) {
        const KaSceneObj* object = scene.FindByName(name);
        if (!object)
            continue;
        Removed removed;
        removed.slot = scene.IndexOfName(name);
        std::vector<std::string> linked = object->Children;
        linked.push_back(name);
        linked.push_back(object->ParentName);
        removed.links.Take(scene, linked);
        removed.object = scene.Extract(name);
        // A deleted sound must not go on playing with nobody to stop it.
        if (auto* sound = dynamic_cast<KaSound*>(removed.object.get()))
            sound->Stop();
        removed_.push_back(std::move(removed));
    }
}

void DeleteObjectsCommand::Undo()
{
    KaObjArray& scene = document_.Scene();
    const BatchedChanges batch(scene);
    for (auto removed = removed_.rbegin(); removed != removed_.rend(); ++removed) {
        scene.InsertAt(removed->slot, std::move(removed->object));
        removed->links.Restore(scene);
    }
    removed_.clear();
}

// --- duplicating -------------------------------------------------------------

DuplicateObjectsCommand::DuplicateObjectsCommand(EditorDocument& document, std::vector<std::string> names)
    : document_(document), names_(std::move(names))
{
}

std::string DuplicateObjectsCommand::Label() const
{
    return labelFor("Дублировать", names_);
}

void DuplicateObjectsCommand::duplicate(const std::string& name)
{
    KaObjArray& scene = document_.Scene();
    const KaSceneObj* source = scene.FindByName(name);
    if (!source)
        return;
    const std::vector<std::string> children = source->Children;
    KaSceneObj* copy = scene.AddCopy(*source);
    copy->ParentName.clear();
    copy->ClearChildren();
    created_.push_back(copy->Name());
    copies_.push_back(copy->Name());
    for (const std::string& childName : children) {
        const KaSceneObj* child = scene.FindByName(childName);
        if (!child)
            continue;
        KaSceneObj* childCopy = scene.AddCopy(*child);
        childCopy->ParentName.clear();
        // One level is copied; the grandchildren stay with the original
        // child, so the copy must not list them as its own.
        childCopy->ClearChildren();
        created_.push_back(childCopy->Name());
        copy->AddChild(*childCopy);
    }
}

void DuplicateObjectsCommand::Do()
{
    KaObjArray& scene = document_.Scene();
    const BatchedChanges batch(scene);
    if (!done_) {
        for (const std::string& name : names_)
            duplicate(name);
        done_ = true;
        return;
    }
    // A redo: the copies come back to the slots they were made in, with
    // the links they had.
    for (std::unique_ptr<KaSceneObj>& object : held_)
        scene.Add(std::move(object));
    held_.clear();
    links_.Restore(scene);
}

void DuplicateObjectsCommand::Undo()
{
    KaObjArray& scene = document_.Scene();
    const BatchedChanges batch(scene);
    links_ = LinkSnapshot();
    links_.Take(scene, created_);
    held_.clear();
    // The copies are the last objects, so taking them from the end moves nothing else.
    for (auto name = created_.rbegin(); name != created_.rend(); ++name)
        held_.push_back(scene.Extract(*name));
    std::reverse(held_.begin(), held_.end());
}

// --- renaming ----------------------------------------------------------------

RenameObjectCommand::RenameObjectCommand(EditorDocument& document, std::string oldName, std::string newName)
    : document_(document), oldName_(std::move(oldName)), newName_(std::move(newName))
{
}

std::string RenameObjectCommand::Label() const
{
    return "Переименовать " + oldName_ + " в " + newName_;
}

void RenameObjectCommand::rename(const std::string& from, const std::string& to)
{
    KaObjArray& scene = document_.Scene();
    if (scene.FindByName(to))
        throw Error("Имя <" + to + "> уже занято");
    RenameObject(scene, ObjectNamed(scene, from), to);
    document_.RenameSelected(from, to);
}

void RenameObjectCommand::Do()
{
    rename(oldName_, newName_);
}

void RenameObjectCommand::Undo()
{
    rename(newName_, oldName_);
}

// --- attaching and detaching ---------------------------------------------------

AttachCommand::AttachCommand(EditorDocument& document, std::string parent, std::vector<std::string> children)
    : document_(document), parent_(std::move(parent)), children_(std::move(children))
{
}

std::string AttachCommand::Label() const
{
    return labelFor("Прикрепить к " + parent_, children_);
}

void AttachCommand::Do()
{
    KaObjArray& scene = document_.Scene();
    const BatchedChanges batch(scene);
    KaSceneObj& parent = ObjectNamed(scene, parent_);
    before_ = LinkSnapshot();
    std::vector<std::string> touched = children_;
    touched.push_back(parent_);
    for (const std::string& name : children_)
        if (const KaSceneObj* child = scene.FindByName(name))
            touched.push_back(child->ParentName);
    before_.Take(scene, touched);
    try {
        for (const std::string& name : children_)
            parent.AddChild(ObjectNamed(scene, name));
    } catch (...) {
        before_.Restore(scene);
        throw;
    }
}

void AttachCommand::Undo()
{
    const BatchedChanges batch(document_.Scene());
    before_.Restore(document_.Scene());
}

DetachCommand::DetachCommand(EditorDocument& document, std::vector<std::string> names)
    : document_(document), names_(std::move(names))
{
}

std::string DetachCommand::Label() const
{
    return labelFor("Открепить", names_);
}

void DetachCommand::Do()
{
    KaObjArray& scene = document_.Scene();
    const BatchedChanges batch(scene);
    before_ = LinkSnapshot();
    std::vector<std::string> touched = names_;
    for (const std::string& name : names_)
        if (const KaSceneObj* object = scene.FindByName(name))
            touched.push_back(object->ParentName);
    before_.Take(scene, touched);
    for (const std::string& name : names_) {
        KaSceneObj* object = scene.FindByName(name);
        if (!object)
            continue;
        if (KaSceneObj* parent =
                object->ParentName.empty() ? nullptr : scene.FindByName(object->ParentName)) {
            const std::int32_t index = parent->IndexOfChild(name);
            if (index >= 0)
                parent->DeleteChild(index);
        }
        object->ParentName.clear();
    }
}

void DetachCommand::Undo()
{
    const BatchedChanges batch(document_.Scene());
    before_.Restore(document_.Scene());
}

} // namespace ra7::editor
