#include "scene/Ka7SceneObjUnit.h"

#include "runtime/Errors.h"
#include "runtime/RecordFile.h"
#include "runtime/TextUtil.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/KgfNameTable.h"
#include "scene/SceneHierarchy.h"

namespace ra7 {

namespace {

std::string positionText(const KgfNameTable& names, std::string_view name)
{
    return std::to_string(names.IndexOf(name));
}

// A name stored as its table position in decimal text; text that is not a
// number counts as 0, as the engine has always read it.
std::string nameFromText(RecordReader& file, std::uint64_t offset, const std::string& text,
                         const KgfNameTable& names)
{
    const std::int64_t index = parseInt64(text).value_or(0);
    const std::string* name = names.NameAt(index);
    if (!name)
        file.failAt(offset, "name index " + std::to_string(index) + " is outside the name table of " +
                                std::to_string(names.Count()) + " entries");
    return *name;
}

} // namespace

KaSceneObj::KaSceneObj()
    : PrevTrans(std::make_unique<KaTransformation>()), Trans(std::make_unique<KaTransformation>()),
      LocalTrans(std::make_unique<KaTransformation>())
{
}

KaSceneObj::~KaSceneObj()
{
    if (ParentName.empty() || !owner_)
        return;
    KaSceneObj* parent = owner_->FindByName(ParentName);
    if (!parent || parent == this)
        return;
    const std::int32_t index = parent->IndexOfChild(name_);
    if (index >= 0)
        parent->DeleteChild(index);
}

void KaSceneObj::SetName(std::string name)
{
    if (name == name_)
        return;
    std::string old = std::move(name_);
    name_ = std::move(name);
    if (owner_)
        owner_->ObjectRenamed(*this, old);
}

std::int32_t KaSceneObj::IndexOfChild(std::string_view name) const
{
    for (std::size_t i = 0; i < Children.size(); ++i)
        if (Children[i] == name)
            return static_cast<std::int32_t>(i);
    return -1;
}

void KaSceneObj::DeleteChild(std::int32_t index)
{
    if (index < 0 || index >= ChildCount())
        throw Error("Array index out of bounds.");
    const auto at = static_cast<std::size_t>(index);
    if (at + 1 != Children.size())
        Children[at] = std::move(Children.back());
    Children.pop_back();
}

void KaSceneObj::ClearChildren()
{
    Children.clear();
}

void KaSceneObj::AddChild(KaSceneObj& child)
{
    if (!child.ParentName.empty() && child.ParentName == name_)
        return;
    if (IndexOfChild(child.Name()) != -1)
        throw Error("Array element already exists.");
    KaObjArray* array = owner_ ? owner_ : child.owner_;
    if (&child == this || (array && IsDescendant(*array, *this, child.Name())))
        throw Error("\"" + child.Name() + "\" cannot be attached to \"" + name_ +
                    "\": the hierarchy would loop");
    if (!child.ParentName.empty()) {
        KaSceneObj* oldParent = array ? array->FindByName(child.ParentName) : nullptr;
        if (oldParent) {
            const std::int32_t index = oldParent->IndexOfChild(child.Name());
            if (index >= 0)
                oldParent->DeleteChild(index);
        }
    }
    Children.push_back(child.Name());
    if (child.Trans && child.LocalTrans) {
        child.LocalTrans->Assign(*child.Trans);
        // The child stays where it stands: its offset is its world position
        // seen from the parent, which the next update turns back into the same place.
        if (Trans)
            child.LocalTrans->Position = OffsetInParent(*Trans, child.Trans->Position);
    }
    child.ParentName = name_;
}

KaSceneObj* KaSceneObj::FindInScene(std::string_view name) const
{
    return owner_ ? owner_->FindByName(name) : nullptr;
}

void KaSceneObj::CheckTrans() const
{
    if (!Trans)
        throw Error("Trans = nil at <" + name_ + ">");
}

void KaSceneObj::CheckSameKind(const KaSceneObj& source) const
{
    if (source.Kind() != Kind())
        throw Error(kWrongAssignKind);
}

void KaSceneObj::Update()
{
    CheckTrans();
    if (!owner_ || updating_)
        return;
    updating_ = true;
    try {
        // Children are looked up by index, not held: a child's Update may not
        // change this list, but a damaged scene must not crash it either.
        for (std::size_t i = 0; i < Children.size(); ++i) {
            KaSceneObj* child = owner_->FindByName(Children[i]);
            if (!child || child->updating_ || !child->Trans)
                continue; // a dangling name, or a loop in a damaged hierarchy
            if (!child->PrevTrans)
                child->PrevTrans = std::make_unique<KaTransformation>();
            child->PrevTrans->Assign(*child->Trans);
            child->Trans->Rotation = Trans->Rotation;
            Vector3 offset = child->LocalTrans ? child->LocalTrans->Position : kZeroVector;
            VectorTransform(offset, Trans->Rotation);
            child->Trans->Position = VectorAdd(Trans->Position, offset);
            child->Update();
        }
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

void KaSceneObj::Assign(const KaSceneObj& source)
{
    if (&source == this)
        return;
    SetName(source.name_);
    auto copyTrans = [](std::unique_ptr<KaTransformation>& target,
                        const std::unique_ptr<KaTransformation>& from) {
        if (!from) {
            target.reset();
            return;
        }
        if (!target)
            target = std::make_unique<KaTransformation>();
        target->Rotation = from->Rotation;
        target->Position = from->Position;
    };
    copyTrans(Trans, source.Trans);
    copyTrans(PrevTrans, source.PrevTrans);
    copyTrans(LocalTrans, source.LocalTrans);
    Static = source.Static;
    ParentName = source.ParentName;
    Children = source.Children;
    Visible = source.Visible;
}

void KaSceneObj::SaveBase(RecordWriter& file, const KgfNameTable& names) const
{
    CheckTrans();
    file.writeSingles(&Trans->Position.x, 3);
    file.writeSingles(Trans->Rotation.data(), 9);
    file.writeShortString(ParentName.empty() ? std::string() : positionText(names, ParentName));
    file.writeInt32(ChildCount());
    for (const std::string& child : Children)
        file.writeInt32(names.IndexOf(child));
    file.writeShortString(positionText(names, name_));
}

void KaSceneObj::LoadFromFile(RecordReader& file, const KgfNameTable& names)
{
    for (auto* trans : {&Trans, &PrevTrans, &LocalTrans})
        if (!*trans)
            *trans = std::make_unique<KaTransformation>();
    float position[3];
    file.readSingles(position, 3);
    Trans->Position = {position[0], position[1], position[2]};
    file.readSingles(Trans->Rotation.data(), 9);

    std::uint64_t offset = file.offset();
    const std::string parent = file.readShortString();
    ParentName = parent.empty() ? std::string() : nameFromText(file, offset, parent, names);

    const std::size_t childCount = file.readCount(sizeof(std::int32_t), "child count");
    std::vector<std::string> children;
    children.reserve(childCount);
    for (std::size_t i = 0; i < childCount; ++i) {
        offset = file.offset();
        const std::int32_t index = file.readInt32();
        const std::string* child = names.NameAt(index);
        if (!child)
            file.failAt(offset, "child index " + std::to_string(index) + " is outside the name table of " +
                                    std::to_string(names.Count()) + " entries");
        children.push_back(*child);
    }
    Children = std::move(children);

    offset = file.offset();
    const std::string own = file.readShortString();
    SetName(nameFromText(file, offset, own, names));
    // Never stored: a loaded object stands where its world placement says.
    *LocalTrans = KaTransformation();
    Visible = true;
    Static = false;
}

void KaSceneObj::Render()
{
}

} // namespace ra7
