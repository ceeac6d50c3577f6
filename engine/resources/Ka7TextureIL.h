#pragma once
// A texture: one image decoded by DevIL and uploaded as a mipmapped 2D GL
// texture. The image's bottom row becomes texture row 0; BGR(A) images get
// their red and blue swapped; one-byte-per-pixel images become luminance
// textures, and images of other layouts are converted to 8-bit RGB(A).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace ra7 {

struct GLTextureName;
struct ImageName;

// ilInit and iluInit, once per run.
void InitImageLibrary();

class KaTexture {
public:
    // Generates the DevIL image.
    KaTexture();
    ~KaTexture();
    KaTexture(const KaTexture&) = delete;
    KaTexture& operator=(const KaTexture&) = delete;

    std::uint32_t GLName() const;
    std::uint32_t ImageName() const;
    // Empty until a load has succeeded.
    std::string FileName;

    // Decodes the file (named as stored) and creates the GL texture. Throws
    // "Ошибка OpenIL: " + the file name + ": " + DevIL's text when the image
    // cannot be read (after a "! " log line naming the file); no GL texture
    // is made then.
    void Load(std::string_view fileName);
    // Binds the image in DevIL and the texture on the active unit.
    void Bind() const;
    // Trilinear filtering, and the anisotropy level when it is in use.
    void ApplyFilter() const;
    // Shares the GL texture and the image of `source`.
    void Assign(const KaTexture& source);
    // Lets go of the image and the GL texture (deleted when no copy shares them).
    void Release();

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    // The GL pixel format chosen: GL_RGBA, GL_RGB or GL_LUMINANCE.
    std::uint32_t PixelFormat() const { return format_; }

private:
    std::shared_ptr<ra7::ImageName> image_;
    std::shared_ptr<GLTextureName> texture_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::uint32_t format_ = 0;
};

} // namespace ra7
