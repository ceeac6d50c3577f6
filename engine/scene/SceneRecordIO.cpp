#include "scene/SceneRecordIO.h"

#include "runtime/RecordFile.h"

namespace ra7 {

void writeFlagUnit(RecordWriter& file, bool flag)
{
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(flag ? 1 : 0), 0, 0, 0};
    file.writeBytes(bytes, 4);
}

bool readFlagUnit(RecordReader& file)
{
    std::uint8_t bytes[4];
    file.readBytes(bytes, 4);
    return bytes[0] != 0;
}

} // namespace ra7
