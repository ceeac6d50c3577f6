#include "ImageOutput.h"

#include "resources/Ka7TextureIL.h"
#include "runtime/Errors.h"
#include "runtime/TextUtil.h"

#include <IL/il.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace ra7 {

namespace {

// The DevIL type for the file's extension; IL_TYPE_UNKNOWN for any other.
ILenum imageType(const std::string& fileName)
{
    const std::string extension = asciiLower(fs::path(fileName).extension().string());
    if (extension == ".png")
        return IL_PNG;
    if (extension == ".jpg" || extension == ".jpeg")
        return IL_JPG;
    return IL_TYPE_UNKNOWN;
}

std::vector<std::uint8_t> topDownRows(std::int32_t width, std::int32_t height,
                                      const std::vector<std::uint8_t>& bottomUpRgba)
{
    const auto rowBytes = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> topDown(bottomUpRgba.size());
    for (std::int32_t y = 0; y < height; ++y)
        std::copy_n(bottomUpRgba.begin() +
                        static_cast<std::ptrdiff_t>(rowBytes * static_cast<std::size_t>(y)),
                    rowBytes,
                    topDown.begin() +
                        static_cast<std::ptrdiff_t>(rowBytes * static_cast<std::size_t>(height - 1 - y)));
    return topDown;
}

} // namespace

std::string ImageTypeProblem(const std::string& fileName)
{
    if (imageType(fileName) != IL_TYPE_UNKNOWN)
        return {};
    return fileName + ": ra7 writes .png or .jpg/.jpeg images (the extension chooses the type)";
}

std::string ImageFolderProblem(const std::string& fileName)
{
    const fs::path folder = fs::path(fileName).parent_path();
    if (folder.empty())
        return {};
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return {};
    if (fs::exists(folder, ec))
        return fileName + ": " + folder.string() + " is not a folder";
    return fileName + ": the folder " + folder.string() + " does not exist";
}

void WriteImage(const std::string& fileName, std::int32_t width, std::int32_t height,
                const std::vector<std::uint8_t>& bottomUpRgba)
{
    const auto rowBytes = static_cast<std::size_t>(width) * 4;
    if (width <= 0 || height <= 0 || bottomUpRgba.size() != rowBytes * static_cast<std::size_t>(height))
        throw Error(fileName + ": the image has no pixels to write");
    if (const std::string problem = ImageTypeProblem(fileName); !problem.empty())
        throw Error(problem);
    if (const std::string problem = ImageFolderProblem(fileName); !problem.empty())
        throw Error(problem);
    const ILenum type = imageType(fileName);
    // DevIL is told the rows run from the top, so nothing depends on its
    // origin setting.
    std::vector<std::uint8_t> topDown = topDownRows(width, height, bottomUpRgba);

    InitImageLibrary();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    const std::string temporary = fileName + ".part";
    bool written = ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height), 1, 4, IL_RGBA,
                              IL_UNSIGNED_BYTE, topDown.data()) == IL_TRUE;
    if (written) {
        ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
        // JPEG holds no alpha.
        if (type == IL_JPG)
            written = ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE) == IL_TRUE;
        std::remove(temporary.c_str());
        written = written && ilSave(type, temporary.c_str()) == IL_TRUE;
    }
    const ILenum error = ilGetError();
    ilDeleteImages(1, &image);
    if (!written) {
        std::remove(temporary.c_str());
        throw Error(fileName + ": cannot write the image (DevIL error " + std::to_string(error) + ")");
    }
    std::error_code failed;
    fs::rename(temporary, fileName, failed);
    if (failed) {
        std::remove(temporary.c_str());
        throw Error(fileName + ": " + failed.message());
    }
}

} // namespace ra7
