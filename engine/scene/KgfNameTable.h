#pragma once
// The name table of a scene file. Inside the object records every object
// name is replaced by its position in this table: an object's own name and
// its parent's name as decimal text, each child as an int32.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ra7 {

class KgfNameTable {
public:
    KgfNameTable() = default;
    explicit KgfNameTable(std::vector<std::string> names);

    // Appends a name unless it is already in the table.
    void Add(const std::string& name);
    // Position of the name, or −1.
    std::int32_t IndexOf(std::string_view name) const;
    // The name at a position, or nullptr outside the table.
    const std::string* NameAt(std::int64_t index) const;

    std::int32_t Count() const { return static_cast<std::int32_t>(names_.size()); }
    const std::vector<std::string>& Names() const { return names_; }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    void buildPositions() const;

    std::vector<std::string> names_;
    // Built on the first IndexOf: a table only read from a file never needs it.
    mutable std::unordered_map<std::string, std::int32_t, Hash, std::equal_to<>> positions_;
    mutable bool positionsBuilt_ = false;
};

} // namespace ra7
