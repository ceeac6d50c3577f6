#include "resources/Ka7MaterialList.h"

#include "runtime/RecordFile.h"

namespace ra7 {

std::unique_ptr<KaMaterialList> Materials;

KaMaterial* KaMaterialList::AddCopy(const KaMaterial& material)
{
    if (IndexOf(material.Name) >= 0)
        return nullptr;
    auto copy = std::make_unique<KaMaterial>();
    copy->Assign(material);
    return Add(std::move(copy));
}

KaMaterial* KaMaterialList::LoadFromFile(std::string_view fileName)
{
    Changed = true;
    RecordReader file = RecordReader::openFile(fileName);
    file.skip(kTagSize);
    const std::size_t count = file.readCount(kMinMaterialRecordBytes, "material count");
    for (std::size_t i = 0; i < count; ++i) {
        file.skip(kTagSize);
        KaMaterial scratch;
        scratch.LoadFromFile(file);
        AddCopy(scratch);
    }
    return Count() > 0 ? &Get(Count() - 1) : nullptr;
}

void KaMaterialList::SaveToFile(std::string_view fileName, const std::vector<std::int32_t>& indices) const
{
    for (std::int32_t index : indices)
        Get(index); // refuses a bad index before anything is written
    RecordWriter file(fileName);
    file.writeTag("mtl");
    file.writeInt32(static_cast<std::int32_t>(indices.size()));
    for (std::int32_t index : indices)
        Get(index).SaveToFile(file);
    file.commit();
}

void KaMaterialList::Delete(std::int32_t index)
{
    KaResourceList::Delete(index);
    Changed = true;
}

} // namespace ra7
