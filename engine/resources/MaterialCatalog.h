#pragma once
// What the scene needs from the material list: whether a name is a loaded
// material, whether that material is transparent, and saving chosen
// materials to a KMT file beside a scene file. The object array holds one
// through a plain pointer; it is null until the engine wires its list in.

#include <cstdint>
#include <string_view>
#include <vector>

namespace ra7 {

class MaterialCatalog {
public:
    virtual ~MaterialCatalog() = default;

    // Position of the material with exactly this name, or −1.
    virtual std::int32_t IndexOfMaterial(std::string_view name) const = 0;
    // The material's Blend (transparency) flag.
    virtual bool MaterialBlend(std::int32_t index) const = 0;
    // Writes the materials at `indexes` (repeats as given) to a KMT file.
    virtual void SaveMaterials(std::string_view kmtFileName,
                               const std::vector<std::int32_t>& indexes) const = 0;
};

} // namespace ra7
