#pragma once
// The engine-wide materials, looked up by name, loaded from and saved to
// material libraries (KMT files).

#include "resources/Ka7Material.h"
#include "resources/MaterialCatalog.h"
#include "resources/ResourceList.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

struct MaterialName {
    const std::string& operator()(const KaMaterial& material) const { return material.Name; }
};

// The smallest material record: tag, strings, colours, no texture names.
inline constexpr std::size_t kMinMaterialRecordBytes = 4 + 256 + 5 * 16 + 3 * 256 + 4 + 4 + 4;

class KaMaterialList : public KaResourceList<KaMaterial, MaterialName>, public MaterialCatalog {
public:
    // Appends a copy unless the name is taken.
    KaMaterial* AddCopy(const KaMaterial& material);
    // Reads the library and appends the materials whose names are new; sets
    // Changed even when all are known. Returns the last material. Materials
    // read before a damaged record stay in the list.
    KaMaterial* LoadFromFile(std::string_view fileName);
    // Writes the materials at `indices`, in that order, as one library.
    void SaveToFile(std::string_view fileName, const std::vector<std::int32_t>& indices) const;
    void Delete(std::int32_t index);

    // What the object array asks of the materials.
    std::int32_t IndexOfMaterial(std::string_view name) const override { return IndexOf(name); }
    bool MaterialBlend(std::int32_t index) const override { return Get(index).Blend; }
    void SaveMaterials(std::string_view kmtFileName, const std::vector<std::int32_t>& indexes) const override
    {
        SaveToFile(kmtFileName, indexes);
    }
};

extern std::unique_ptr<KaMaterialList> Materials;

} // namespace ra7
