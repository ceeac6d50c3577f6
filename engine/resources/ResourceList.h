#pragma once
// The list that every engine resource (meshes, textures, materials) lives in:
// owned items looked up by an exact, case-sensitive name, a bounds-checked
// indexed read, deletion that moves the last item into the gap, and a
// `Changed` flag that the editor polls, and the rule that makes a name free.

#include "runtime/Errors.h"
#include "runtime/TextUtil.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

// `NameOf` returns the name that identifies an item (`Name` for meshes and
// materials, `FileName` for textures).
template <class Item, class NameOf>
class KaResourceList {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }

    Item& Get(std::int32_t index) { return *items_[checkedIndex(index)]; }
    const Item& Get(std::int32_t index) const { return *items_[checkedIndex(index)]; }

    // The first index whose item carries exactly `name`, or −1.
    std::int32_t IndexOf(std::string_view name) const
    {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i] && NameOf{}(*items_[i]) == name)
                return static_cast<std::int32_t>(i);
        return -1;
    }

    Item* Find(std::string_view name)
    {
        const std::int32_t index = IndexOf(name);
        return index < 0 ? nullptr : items_[static_cast<std::size_t>(index)].get();
    }

    // A name no item has: a trailing "_" and whole number are dropped first
    // ("wood_3" → "wood"); a taken name then gets "_" and the first free
    // number ("wood_1", "wood_2", …).
    std::string MakeUniqueName(std::string_view name) const
    {
        std::string base(name);
        if (const auto underscore = base.rfind('_');
            underscore != std::string::npos && parseInt32(std::string_view(base).substr(underscore + 1)))
            base.erase(underscore);
        if (IndexOf(base) < 0)
            return base;
        for (std::int64_t n = 1;; ++n) {
            std::string candidate = base + "_" + std::to_string(n);
            if (IndexOf(candidate) < 0)
                return candidate;
        }
    }

    // Appends an item unless one of the same name is present; returns the
    // item in the list, or nothing when refused (then `Changed` stays as it was).
    Item* Add(std::unique_ptr<Item> item)
    {
        if (!item || IndexOf(NameOf{}(*item)) >= 0)
            return nullptr;
        items_.push_back(std::move(item));
        Changed = true;
        return items_.back().get();
    }

    // The deleted item releases what it holds; the former last item takes its
    // place and keeps its own resources, so nothing is released twice.
    void Delete(std::int32_t index)
    {
        const std::size_t slot = checkedIndex(index);
        if (slot + 1 != items_.size())
            items_[slot] = std::move(items_.back());
        items_.pop_back();
    }

    // Delete without releasing: the item comes back to the caller (an undo
    // keeps it) and the former last item takes its place.
    std::unique_ptr<Item> Take(std::int32_t index)
    {
        const std::size_t slot = checkedIndex(index);
        std::unique_ptr<Item> taken = std::move(items_[slot]);
        if (slot + 1 != items_.size())
            items_[slot] = std::move(items_.back());
        items_.pop_back();
        Changed = true;
        return taken;
    }

    // The inverse of Take at `index` (0 to Count()): the item that deletion
    // moved into that place goes back to the end and `item` takes it.
    void InsertAt(std::int32_t index, std::unique_ptr<Item> item)
    {
        if (index < 0 || index > Count() || !item)
            throw Error("Array index out of bounds.");
        items_.push_back(std::move(item));
        if (static_cast<std::size_t>(index) + 1 != items_.size())
            std::swap(items_[static_cast<std::size_t>(index)], items_.back());
        Changed = true;
    }

    void Clear()
    {
        items_.clear();
        Changed = true;
    }

    bool TakeChanged()
    {
        const bool changed = Changed;
        Changed = false;
        return changed;
    }

    bool Changed = false;

private:
    std::size_t checkedIndex(std::int32_t index) const
    {
        if (index < 0 || index >= Count())
            throw Error("Array index out of bounds.");
        return static_cast<std::size_t>(index);
    }

    std::vector<std::unique_ptr<Item>> items_;
};

} // namespace ra7
