#include "scene/Ka7SceneUnit.h"

#include "resources/MaterialCatalog.h"
#include "runtime/Errors.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"

#include <algorithm>
#include <charconv>

namespace ra7 {

std::string ActiveCameraName;
std::unique_ptr<KaObjArray> SceneObjects;

namespace {

const char* const kOutOfBounds = "Array index out of bounds.";

// "box_12" → ("box", 12); nothing for names MakeUniqueName could not have
// made from a base (no "_", no digits, a leading zero).
bool splitNumberedName(std::string_view name, std::string_view& base, std::int32_t& number)
{
    const std::size_t underscore = name.rfind('_');
    if (underscore == std::string_view::npos || underscore + 1 >= name.size())
        return false;
    const std::string_view digits = name.substr(underscore + 1);
    if (digits[0] == '0')
        return false;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || number < 1)
        return false;
    base = name.substr(0, underscore);
    return true;
}

} // namespace

KaObjArray::KaObjArray() = default;

KaObjArray::~KaObjArray()
{
    Clear();
}

// --- slots and the name index -------------------------------------------------

void KaObjArray::indexName(const std::string& name, std::int32_t slot)
{
    Slots& slots = names_[name];
    if (slots.first < 0) {
        slots.first = slot;
        return;
    }
    if (slot < slots.first)
        std::swap(slot, slots.first);
    slots.more.insert(std::upper_bound(slots.more.begin(), slots.more.end(), slot), slot);
}

void KaObjArray::unindexName(const std::string& name, std::int32_t slot)
{
    const auto found = names_.find(name);
    if (found == names_.end())
        return;
    Slots& slots = found->second;
    if (slots.first != slot) {
        const auto at = std::lower_bound(slots.more.begin(), slots.more.end(), slot);
        if (at != slots.more.end() && *at == slot)
            slots.more.erase(at);
        return;
    }
    if (!slots.more.empty()) {
        slots.first = slots.more.front();
        slots.more.erase(slots.more.begin());
        return;
    }
    names_.erase(found);
    std::string_view base;
    std::int32_t number = 0;
    if (splitNumberedName(name, base, number)) {
        const auto hint = suffixHints_.find(base);
        if (hint != suffixHints_.end() && hint->second > number)
            hint->second = number;
    }
}

void KaObjArray::place(std::int32_t slot, std::unique_ptr<KaSceneObj> object)
{
    KaSceneObj* raw = object.get();
    items_[static_cast<std::size_t>(slot)] = std::move(object);
    if (!raw)
        return;
    raw->owner_ = this;
    raw->slot_ = slot;
    indexName(raw->name_, slot);
}

std::unique_ptr<KaSceneObj> KaObjArray::unplace(std::int32_t slot)
{
    std::unique_ptr<KaSceneObj> object = std::move(items_[static_cast<std::size_t>(slot)]);
    if (object) {
        unindexName(object->name_, slot);
        object->slot_ = -1; // owner_ stays so that its release can detach it from its parent
    }
    return object;
}

void KaObjArray::moveSlot(std::int32_t from, std::int32_t to)
{
    std::unique_ptr<KaSceneObj> object = std::move(items_[static_cast<std::size_t>(from)]);
    if (object) {
        unindexName(object->name_, from);
        object->slot_ = to;
        indexName(object->name_, to);
    }
    items_[static_cast<std::size_t>(to)] = std::move(object);
}

void KaObjArray::ObjectRenamed(KaSceneObj& object, const std::string& oldName)
{
    if (object.slot_ < 0 || object.owner_ != this)
        return;
    unindexName(oldName, object.slot_);
    indexName(object.name_, object.slot_);
}

// --- the array operations -------------------------------------------------------

KaSceneObj* KaObjArray::GetItem(std::int32_t index) const
{
    if (index < 0 || index >= Count())
        throw Error(kOutOfBounds);
    return items_[static_cast<std::size_t>(index)].get();
}

void KaObjArray::SetCount(std::int32_t n)
{
    if (n < 0)
        n = 0;
    while (Count() > n) {
        std::unique_ptr<KaSceneObj> released = unplace(Count() - 1);
        items_.pop_back();
    }
    items_.resize(static_cast<std::size_t>(n));
}

void KaObjArray::SetItem(std::int32_t index, std::unique_ptr<KaSceneObj> object)
{
    if (index < 0)
        throw Error(kOutOfBounds);
    if (index >= Count())
        SetCount(index + 1);
    std::unique_ptr<KaSceneObj> released = unplace(index);
    released.reset();
    place(index, std::move(object));
}

KaSceneObj* KaObjArray::Last() const
{
    return items_.empty() ? nullptr : items_.back().get();
}

std::int32_t KaObjArray::IndexOfName(std::string_view name) const
{
    const auto found = names_.find(name);
    return found == names_.end() ? -1 : found->second.first;
}

KaSceneObj* KaObjArray::FindByName(std::string_view name) const
{
    const std::int32_t index = IndexOfName(name);
    return index < 0 ? nullptr : items_[static_cast<std::size_t>(index)].get();
}

std::string KaObjArray::MakeUniqueName(std::string_view name)
{
    if (!nameTaken(name))
        return std::string(name);
    const auto hint = suffixHints_.find(name);
    std::int32_t number = hint == suffixHints_.end() ? 1 : hint->second;
    std::string candidate;
    for (;; ++number) {
        candidate = std::string(name) + "_" + std::to_string(number);
        if (!nameTaken(candidate))
            break;
    }
    // base_1 … base_(number−1) are taken; remembered once the search went past 1.
    if (hint != suffixHints_.end())
        hint->second = number;
    else if (number > 1)
        suffixHints_.emplace(std::string(name), number);
    return candidate;
}

KaSceneObj* KaObjArray::Add(std::unique_ptr<KaSceneObj> object)
{
    KaSceneObj* raw = object.get();
    items_.emplace_back();
    place(Count() - 1, std::move(object));
    MarkChanged();
    return raw;
}

KaSceneObj* KaObjArray::AddCopy(const KaSceneObj& source)
{
    std::string newName = MakeUniqueName(source.Name());
    std::unique_ptr<KaSceneObj> copy = source.Create();
    copy->Assign(source);
    copy->name_ = std::move(newName); // not yet in the array: no index to update
    KaSceneObj* raw = copy.get();
    items_.emplace_back();
    place(Count() - 1, std::move(copy));
    if (raw->Kind() == KaObjKind::Camera && ActiveCameraName.empty())
        ActiveCameraName = raw->Name();
    MarkChanged();
    return raw;
}

void KaObjArray::DeleteByName(std::string_view name)
{
    std::unique_ptr<KaSceneObj> victim = Extract(name);
    victim.reset();
}

std::unique_ptr<KaSceneObj> KaObjArray::Extract(std::string_view name)
{
    const std::int32_t index = IndexOfName(name);
    if (index < 0)
        return nullptr;
    KaSceneObj& object = *items_[static_cast<std::size_t>(index)];
    // Its children become roots where they stand: a child whose parent is
    // gone would be updated by nobody and shown nowhere.
    for (const std::string& childName : object.Children)
        if (KaSceneObj* child = FindByName(childName); child && child->ParentName == object.name_)
            child->ParentName.clear();
    object.Children.clear();
    if (KaSceneObj* parent = object.ParentName.empty() ? nullptr : FindByName(object.ParentName);
        parent && parent != &object) {
        const std::int32_t childIndex = parent->IndexOfChild(object.name_);
        if (childIndex >= 0)
            parent->DeleteChild(childIndex);
    }
    object.ParentName.clear();

    const std::int32_t last = Count() - 1;
    std::unique_ptr<KaSceneObj> taken = unplace(index);
    // The last object itself moves into the gap: it keeps its name, links,
    // particles and audio source, and its parent keeps listing it.
    if (index != last)
        moveSlot(last, index);
    items_.pop_back();
    taken->owner_ = nullptr;
    MarkChanged();
    return taken;
}

void KaObjArray::InsertAt(std::int32_t slot, std::unique_ptr<KaSceneObj> object)
{
    if (slot < 0 || slot > Count() || !object)
        throw Error(kOutOfBounds);
    items_.emplace_back();
    // The object that deletion moved into the gap goes back to the end.
    if (slot != Count() - 1)
        moveSlot(slot, Count() - 1);
    place(slot, std::move(object));
    MarkChanged();
}

void KaObjArray::Clear()
{
    const bool wasUpdating = updating_;
    BeginUpdate();
    // Everything goes, so no release needs to detach itself from a parent:
    // the objects leave the array first and are then freed in slot order.
    names_.clear();
    suffixHints_.clear();
    for (const std::unique_ptr<KaSceneObj>& object : items_)
        if (object) {
            object->owner_ = nullptr;
            object->slot_ = -1;
        }
    items_.clear();
    if (wasUpdating)
        MarkChanged();
    else
        EndUpdate();
}

void KaObjArray::EndUpdate()
{
    updating_ = false;
    RebuildLists();
    changed_ = false;
}

void KaObjArray::MarkChanged()
{
    changed_ = true;
    if (!updating_)
        RebuildLists();
}

bool KaObjArray::TakeChanged()
{
    const bool was = changed_;
    changed_ = false;
    return was;
}

void KaObjArray::classify(std::int32_t index, KaSceneObj& object)
{
    switch (object.Kind()) {
    case KaObjKind::Light:
        LightList.push_back(index);
        break;
    case KaObjKind::Sprite:
        (object.Static ? StaticSpriteList : SpriteList).push_back(index);
        break;
    case KaObjKind::ParSystem:
        (object.Static ? StaticParSysList : ParSysList).push_back(index);
        break;
    case KaObjKind::Sound:
        (object.Static ? StaticSoundList : SoundList).push_back(index);
        break;
    case KaObjKind::Geometry: {
        if (object.Static) {
            StaticGeomList.push_back(index);
            break;
        }
        auto& geometry = static_cast<KaGeometry&>(object);
        if (geometry.MaterialName.empty() || !materials_) {
            GeomList.push_back(index);
            break;
        }
        // A material that is not loaded (yet) keeps its name: the geometry
        // draws with the default material, and the scene saves the name back.
        const std::int32_t material = materials_->IndexOfMaterial(geometry.MaterialName);
        const bool blended = material >= 0 && materials_->MaterialBlend(material);
        (blended ? BlendGeomList : GeomList).push_back(index);
        break;
    }
    case KaObjKind::Camera:
        break;
    }
}

void KaObjArray::RebuildLists()
{
    for (auto* list : {&SoundList, &SpriteList, &GeomList, &LightList, &ParSysList, &StaticSoundList,
                       &StaticSpriteList, &StaticGeomList, &BlendGeomList, &StaticParSysList})
        list->clear();
    for (std::int32_t i = 0; i < Count(); ++i)
        if (KaSceneObj* object = items_[static_cast<std::size_t>(i)].get())
            classify(i, *object);
}

KaCamera* KaObjArray::ActiveCamera() const
{
    KaSceneObj* object = FindByName(ActiveCameraName);
    return object && object->Kind() == KaObjKind::Camera ? static_cast<KaCamera*>(object) : nullptr;
}

void KaObjArray::UpdateRoots()
{
    for (std::int32_t i = 0; i < Count(); ++i) {
        KaSceneObj* object = items_[static_cast<std::size_t>(i)].get();
        if (!object || !object->ParentName.empty())
            continue;
        if (object->Trans && object->PrevTrans)
            object->PrevTrans->Assign(object->hasLastFrame_ ? object->lastFrameTrans_ : *object->Trans);
        object->Update();
        if (object->Trans) {
            object->lastFrameTrans_.Assign(*object->Trans);
            object->hasLastFrame_ = true;
        }
    }
}

} // namespace ra7
