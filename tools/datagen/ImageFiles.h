#pragma once
// The sample project's pictures, drawn in code and written as real image
// files through DevIL.

#include <cstdint>
#include <functional>
#include <string>

namespace ra7::datagen {

struct Texel {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

// Writes a width × height picture whose texel at (x, y), y from the bottom,
// is `paint(x, y)`; with `alpha` the file keeps the alpha channel. The file
// type follows the extension. Throws Error when DevIL cannot write it.
void WriteImage(const std::string& fileName, int width, int height, bool alpha,
                const std::function<Texel(int x, int y)>& paint);

} // namespace ra7::datagen
