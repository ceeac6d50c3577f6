#include "scene/KgfNameTable.h"

namespace ra7 {

KgfNameTable::KgfNameTable(std::vector<std::string> names) : names_(std::move(names))
{
}

void KgfNameTable::buildPositions() const
{
    if (positionsBuilt_)
        return;
    positions_.reserve(names_.size());
    for (std::size_t i = 0; i < names_.size(); ++i)
        positions_.try_emplace(names_[i], static_cast<std::int32_t>(i)); // the first position wins
    positionsBuilt_ = true;
}

void KgfNameTable::Add(const std::string& name)
{
    buildPositions();
    if (positions_.try_emplace(name, static_cast<std::int32_t>(names_.size())).second)
        names_.push_back(name);
}

std::int32_t KgfNameTable::IndexOf(std::string_view name) const
{
    buildPositions();
    const auto found = positions_.find(name);
    return found == positions_.end() ? -1 : found->second;
}

const std::string* KgfNameTable::NameAt(std::int64_t index) const
{
    if (index < 0 || index >= static_cast<std::int64_t>(names_.size()))
        return nullptr;
    return &names_[static_cast<std::size_t>(index)];
}

} // namespace ra7
