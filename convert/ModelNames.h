#pragma once
// Names written inside model files (OBJ, MTL): how the readers store them and
// how they find the files they name.

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>

namespace ra7 {

// The most items of one kind a model may hold: counts are 32-bit signed.
inline constexpr std::int32_t kMaxModelCount = std::numeric_limits<std::int32_t>::max() - 1;

// A name as the model keeps it: blanks trimmed, Latin letters upper-cased,
// code page 1251 converted to UTF-8.
std::string modelName(std::string_view written);

// A file named inside a model, taken relative to the model's folder as if
// that folder were the working directory (an absolute name stays absolute).
std::filesystem::path resolveBeside(const std::filesystem::path& folder, std::string_view name);

// True for an existing regular file (not a folder or a device).
bool isExistingFile(const std::filesystem::path& path);

} // namespace ra7
