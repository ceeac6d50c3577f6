#include "resources/Ka7TextureIL.h"

#include "resources/GLObjects.h"
#include "runtime/Capabilities.h"
#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "runtime/PathResolver.h"

#include <epoxy/gl.h>

#include <GL/glu.h>
#include <IL/il.h>
#include <IL/ilu.h>

#include <filesystem>
#include <utility>

namespace ra7 {

struct ImageName {
    ImageName() { ilGenImages(1, &name); }
    ~ImageName() { ilDeleteImages(1, &name); }
    ImageName(const ImageName&) = delete;
    ImageName& operator=(const ImageName&) = delete;
    ILuint name = 0;
};

namespace {

[[noreturn]] void failImage(std::string_view fileName, const std::string& reason)
{
    LogLine("! Не удалось загрузить текстуру " + std::string(fileName));
    // DevIL's own text never says which file it could not read.
    throw Error("Ошибка OpenIL: " + std::string(fileName) + ": " + reason);
}

[[noreturn]] void failImage(ILenum code, std::string_view fileName)
{
    const char* text = iluErrorString(code);
    failImage(fileName, text ? text : std::to_string(code));
}

void clearImageErrors()
{
    while (ilGetError() != IL_NO_ERROR) {
    }
}

// Layouts GL takes as they are; everything else is converted to 8-bit RGB(A).
bool uploadsAsIs(ILint format, ILint type)
{
    if (type != IL_UNSIGNED_BYTE)
        return false;
    return format == IL_RGB || format == IL_BGR || format == IL_RGBA || format == IL_BGRA ||
           format == IL_LUMINANCE;
}

// Red and blue of the bound image change places. (iluSwapColours of the
// DevIL 1.7 that Debian ships crashes on plain BGR images.)
void swapRedAndBlue(ILint bytesPerPixel)
{
    ILubyte* pixels = ilGetData();
    const auto count = static_cast<std::size_t>(ilGetInteger(IL_IMAGE_WIDTH)) *
                       static_cast<std::size_t>(ilGetInteger(IL_IMAGE_HEIGHT)) *
                       static_cast<std::size_t>(ilGetInteger(IL_IMAGE_DEPTH));
    const auto step = static_cast<std::size_t>(bytesPerPixel);
    if (!pixels || step < 3)
        return;
    for (std::size_t i = 0; i < count; ++i)
        std::swap(pixels[i * step], pixels[i * step + 2]);
}

bool hasAlpha(ILint format)
{
    return format == IL_RGBA || format == IL_BGRA || format == IL_LUMINANCE_ALPHA || format == IL_ALPHA;
}

} // namespace

void InitImageLibrary()
{
    static const bool initialised = [] {
        ilInit();
        iluInit();
        return true;
    }();
    (void)initialised;
}

KaTexture::KaTexture()
{
    InitImageLibrary();
    image_ = std::make_shared<ra7::ImageName>();
}

KaTexture::~KaTexture() = default;

std::uint32_t KaTexture::GLName() const
{
    return texture_ ? texture_->name : 0;
}

std::uint32_t KaTexture::ImageName() const
{
    return image_ ? image_->name : 0;
}

void KaTexture::Load(std::string_view fileName)
{
    if (!image_)
        image_ = std::make_shared<ra7::ImageName>();
    clearImageErrors();
    ilBindImage(image_->name);
    ilEnable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
    // DevIL opens the file itself: a pipe would block it, a device never end.
    // A name that does not exist is left to DevIL, which says so.
    const std::filesystem::path resolved = resolvePath(fileName);
    if (existsButIsNotAFile(resolved))
        failImage(fileName, "not a regular file");
    const std::string path = resolved.string();
    if (!ilLoad(IL_TYPE_UNKNOWN, path.c_str())) {
        const ILenum code = ilGetError();
        failImage(code != IL_NO_ERROR ? code : IL_COULD_NOT_OPEN_FILE, fileName);
    }
    ILint format = ilGetInteger(IL_IMAGE_FORMAT);
    if (!uploadsAsIs(format, ilGetInteger(IL_IMAGE_TYPE))) {
        ilConvertImage(hasAlpha(format) ? IL_RGBA : IL_RGB, IL_UNSIGNED_BYTE);
        format = ilGetInteger(IL_IMAGE_FORMAT);
    }
    const ILint bytesPerPixel = ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
    GLenum glFormat = GL_RGB;
    GLint components = 3;
    if (bytesPerPixel == 4) {
        glFormat = GL_RGBA;
        components = 4;
    } else if (bytesPerPixel == 1) {
        glFormat = GL_LUMINANCE;
        components = 1;
    }
    if (format == IL_BGR || format == IL_BGRA)
        swapRedAndBlue(bytesPerPixel);
    if (const ILenum code = ilGetError(); code != IL_NO_ERROR)
        failImage(code, fileName);

    const ILubyte* pixels = ilGetData();
    const GLsizei width = ilGetInteger(IL_IMAGE_WIDTH);
    const GLsizei height = ilGetInteger(IL_IMAGE_HEIGHT);
    auto texture = std::make_shared<GLTextureName>();
    glBindTexture(GL_TEXTURE_2D, texture->name);
    texture_ = texture;
    ApplyFilter();
    // Rows of RGB and luminance images are not padded to 4 bytes.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (HasGenerateMipmap) {
        glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP_SGIS, GL_TRUE);
        glTexImage2D(GL_TEXTURE_2D, 0, components, width, height, 0, glFormat, GL_UNSIGNED_BYTE, pixels);
    } else {
        gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, glFormat, GL_UNSIGNED_BYTE, pixels);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    width_ = width;
    height_ = height;
    format_ = glFormat;
    FileName = std::string(fileName);
}

void KaTexture::Bind() const
{
    if (image_)
        ilBindImage(image_->name);
    glBindTexture(GL_TEXTURE_2D, GLName());
}

void KaTexture::ApplyFilter() const
{
    glBindTexture(GL_TEXTURE_2D, GLName());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    if (Settings.UseAnisotropy)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT,
                        static_cast<GLfloat>(Settings.AnisotropyLevel));
}

void KaTexture::Assign(const KaTexture& source)
{
    image_ = source.image_;
    texture_ = source.texture_;
    FileName = source.FileName;
    width_ = source.width_;
    height_ = source.height_;
    format_ = source.format_;
}

void KaTexture::Release()
{
    image_.reset();
    texture_.reset();
}

} // namespace ra7
