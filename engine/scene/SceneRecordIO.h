#pragma once
// Small pieces of the scene-file records that several kinds share.

#include <array>
#include <cstdint>

namespace ra7 {

class RecordReader;
class RecordWriter;

// A flag in one 4-byte unit: low byte 0 or 1, the other three 0. Reading
// takes the low byte.
void writeFlagUnit(RecordWriter& file, bool flag);
bool readFlagUnit(RecordReader& file);

using KaColor = std::array<float, 4>;

} // namespace ra7
