#include "ImageFiles.h"

#include "resources/Ka7TextureIL.h"
#include "runtime/Errors.h"
#include "runtime/PathResolver.h"

#include <IL/il.h>

#include <vector>

namespace ra7::datagen {

void WriteImage(const std::string& fileName, int width, int height, bool alpha,
                const std::function<Texel(int x, int y)>& paint)
{
    InitImageLibrary();
    const int channels = alpha ? 4 : 3;
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width * height * channels));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Texel t = paint(x, y);
            pixels.insert(pixels.end(), {t.r, t.g, t.b});
            if (alpha)
                pixels.push_back(t.a);
        }
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height), 1, static_cast<ILubyte>(channels),
               alpha ? IL_RGBA : IL_RGB, IL_UNSIGNED_BYTE, pixels.data());
    ilRegisterOrigin(IL_ORIGIN_LOWER_LEFT);
    ilEnable(IL_FILE_OVERWRITE);
    const std::string path = resolvePath(fileName).string();
    const bool saved = ilSaveImage(path.c_str()) == IL_TRUE;
    const ILenum error = ilGetError();
    ilDeleteImages(1, &image);
    if (!saved)
        throw FileError(fileName, FilePlace::whole(),
                        "cannot write the image (DevIL error " + std::to_string(error) + ")");
}

} // namespace ra7::datagen
