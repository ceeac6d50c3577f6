#pragma once
// Numbers as the binary files store them, least significant byte first.
// Inline, so that the benchmarks can use the test files' writers without
// the test fixtures.

#include <cstdint>
#include <string>

namespace ra7::test {

inline std::string le16(std::uint16_t value)
{
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

inline std::string le32(std::uint32_t value)
{
    return le16(static_cast<std::uint16_t>(value & 0xFFFF)) + le16(static_cast<std::uint16_t>(value >> 16));
}

} // namespace ra7::test
