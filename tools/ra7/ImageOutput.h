#pragma once
// The image `ra7 render` writes: its type follows the file's extension
// (.png, or .jpg/.jpeg for JPEG), and the file is replaced only once the new
// image is complete.

#include <cstdint>
#include <string>
#include <vector>

namespace ra7 {

inline constexpr std::int32_t kMaxImageSide = 8192;

// Why `fileName` cannot name an image ra7 writes (an extension other than
// .png, .jpg or .jpeg, in any letter case), or empty when it can.
std::string ImageTypeProblem(const std::string& fileName);

// Why the image cannot be written there (its folder is missing or is not a
// folder), or empty. Checked before the work of drawing it.
std::string ImageFolderProblem(const std::string& fileName);

// Writes RGBA rows given bottom row first (as OpenGL reads them) through
// DevIL as PNG or JPEG (alpha dropped) by the file's extension. Throws an
// Error naming the file when it cannot be written; the old file then stays.
void WriteImage(const std::string& fileName, std::int32_t width, std::int32_t height,
                const std::vector<std::uint8_t>& bottomUpRgba);

} // namespace ra7
