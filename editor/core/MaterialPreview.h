#pragma once
// A small picture of a material: a lit, textured sphere drawn with the
// material's own colours, textures and shaders into an offscreen buffer of
// the current context, over a checkerboard that shows transparency. The
// 3-D view's frame is not touched: its framebuffer, matrices and state are
// given back as they were.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ra7 {
class KaMesh;
}

namespace ra7::editor {

// A sphere of radius 1 with normals, texture coordinates (the texture twice
// around, once from pole to pole) and the tangent space the bump programs
// read: tangent along u, binormal along v. Front faces turn outwards.
std::unique_ptr<KaMesh> MakePreviewSphere(std::int32_t rows, std::int32_t columns);

class MaterialPreview {
public:
    static constexpr std::int32_t kSize = 128;

    MaterialPreview();
    // The GL objects go with Release; the destructor only frees memory.
    ~MaterialPreview();
    MaterialPreview(const MaterialPreview&) = delete;
    MaterialPreview& operator=(const MaterialPreview&) = delete;

    // Draws the material named `materialName` of the engine's list. The
    // context must be current. Returns kSize × kSize RGBA pixels, top row
    // first; empty when the material is unknown or the driver offers no
    // framebuffer objects.
    std::vector<std::uint8_t> Render(const std::string& materialName);
    // Deletes the buffers and the sphere's display list; the context that
    // drew must be current.
    void Release();

private:
    bool ensureTargets();
    void drawBackdrop() const;

    std::unique_ptr<KaMesh> sphere_;
    std::uint32_t framebuffer_ = 0;
    std::uint32_t colour_ = 0;
    std::uint32_t depth_ = 0;
};

} // namespace ra7::editor
