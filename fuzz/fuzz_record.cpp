// The record reader on arbitrary bytes: every read either succeeds or throws
// a FileError; no read leaves the input and no count allocates more than the
// input could hold.
#include "runtime/Errors.h"
#include "runtime/RecordFile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::RecordReader reader("fuzz.kgf", std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        // A name table, then tagged records of counted singles and strings,
        // the shapes every record file is made of.
        const std::size_t names = reader.readCount(ra7::kShortStringSize, "name count");
        for (std::size_t i = 0; i < names; ++i)
            reader.readShortString();
        while (!reader.atEnd()) {
            const std::string tag = reader.readTag();
            const std::size_t count = reader.readCount(sizeof(float), "value count");
            std::vector<float> values(count);
            reader.readSingles(values.data(), values.size());
            if (tag == "str")
                reader.readShortString();
            else
                reader.readUInt32();
        }
    } catch (const ra7::FileError&) {
    }
    return 0;
}
