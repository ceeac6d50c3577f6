#pragma once
// The failures the engine logged while a command ran (its "! " lines), told
// on standard error as "ra7 COMMAND: …". A scene whose meshes, materials or
// textures could not be read still loads with what could; the reasons must
// not stay in the log file alone.

#include <cstddef>
#include <string_view>

namespace ra7 {

// Prints the failures logged from line `from` on; returns the line count, the
// `from` of the next call.
std::size_t PrintLoggedFailures(std::string_view command, std::size_t from);

} // namespace ra7
