// The KMT reader on arbitrary bytes: every record is read completely or
// refused with a FileError; no texture count outside 0..10 is accepted.
#include "resources/Ka7Material.h"
#include "resources/Ka7MaterialList.h"
#include "runtime/Errors.h"
#include "runtime/RecordFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::RecordReader reader("fuzz.kmt", std::string_view(reinterpret_cast<const char*>(data), size));
    ra7::KaMaterialList list;
    try {
        reader.skip(ra7::kTagSize);
        const std::size_t count = reader.readCount(ra7::kMinMaterialRecordBytes, "material count");
        for (std::size_t i = 0; i < count; ++i) {
            reader.skip(ra7::kTagSize);
            ra7::KaMaterial material;
            ra7::ReadMaterialRecord(reader, material);
            list.AddCopy(material);
        }
    } catch (const ra7::FileError&) {
    }
    return 0;
}
