#include "core/MaterialPreview.h"

#include "math/Ka7Transform.h"
#include "render/SceneShaderSource.h"
#include "resources/DrawState.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7Mesh.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Capabilities.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ra7::editor {

namespace {

// Where the preview's eye and light stand; the sphere sits at the origin.
constexpr Vector3 kEye = {0.0f, 0.0f, 3.4f};
constexpr Vector3 kLight = {2.5f, 2.5f, 4.0f};
constexpr float kFieldOfView = 40.0f; // degrees, wide enough for the whole sphere

// What the lighting programs read while the preview draws: the sphere, one
// white light without fading and the preview's eye, whatever the names.
class PreviewShaderSource : public ShaderSceneSource {
public:
    const KaTransformation* ObjectTransformation(std::string_view) override { return &sphere_; }
    std::optional<ShaderLightState> Light(std::string_view) override
    {
        ShaderLightState light;
        light.Position = kLight;
        light.Range = 0.0f;
        light.Ambient = {0.25f, 0.25f, 0.25f, 1.0f};
        light.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
        light.Specular = {1.0f, 1.0f, 1.0f, 1.0f};
        return light;
    }
    Vector3 ActiveCameraPosition() override { return kEye; }

private:
    KaTransformation sphere_;
};

// The draw state names and flags the renderer and the shader callbacks
// share, put back when the preview is done.
class DrawStateGuard {
public:
    DrawStateGuard()
        : material_(CurrentMaterialName), object_(CurrentObjectName), light_(CurrentLightName),
          multiPass_(MultiPass), noShaders_(NoShaders), selfIllumPass_(SelfIllumPass)
    {
        MultiPass = false;
        NoShaders = false;
        SelfIllumPass = false;
    }
    ~DrawStateGuard()
    {
        CurrentMaterialName = material_;
        CurrentObjectName = object_;
        CurrentLightName = light_;
        MultiPass = multiPass_;
        NoShaders = noShaders_;
        SelfIllumPass = selfIllumPass_;
        UseSceneForShaders();
    }
    DrawStateGuard(const DrawStateGuard&) = delete;
    DrawStateGuard& operator=(const DrawStateGuard&) = delete;

private:
    std::string material_, object_, light_;
    bool multiPass_, noShaders_, selfIllumPass_;
};

// Every GL attribute, the three matrix stacks and the framebuffer binding.
class GLStateGuard {
public:
    GLStateGuard()
    {
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer_);
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
        for (GLenum mode : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) {
            glMatrixMode(mode);
            glPushMatrix();
        }
    }
    ~GLStateGuard()
    {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(framebuffer_));
        for (GLenum mode : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) {
            glMatrixMode(mode);
            glPopMatrix();
        }
        glPopClientAttrib();
        glPopAttrib();
    }
    GLStateGuard(const GLStateGuard&) = delete;
    GLStateGuard& operator=(const GLStateGuard&) = delete;

private:
    GLint framebuffer_ = 0;
};

Vector3 normalised(Vector3 v)
{
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0.0f ? Vector3{v.x / length, v.y / length, v.z / length} : v;
}

void loadPerspective()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double nearPlane = 0.1;
    const double top = nearPlane * std::tan(kFieldOfView / 2.0 * std::numbers::pi / 180.0);
    glFrustum(-top, top, -top, top, nearPlane, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-kEye.x, -kEye.y, -kEye.z);
}

void placeLight()
{
    const GLfloat position[4] = {kLight.x, kLight.y, kLight.z, 1.0f};
    const GLfloat ambient[4] = {0.25f, 0.25f, 0.25f, 1.0f};
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    for (GLenum light = GL_LIGHT1; light <= GL_LIGHT7; ++light)
        glDisable(light);
}

// Texturing off on every unit but the first, as the frame leaves them.
void resetTextureUnits()
{
    if (!HasMultitexture)
        return;
    GLint units = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    for (GLint unit = units - 1; unit >= 0; --unit) {
        glActiveTextureARB(static_cast<GLenum>(GL_TEXTURE0_ARB + unit));
        glDisable(GL_TEXTURE_2D);
    }
}

} // namespace

std::unique_ptr<KaMesh> MakePreviewSphere(std::int32_t rows, std::int32_t columns)
{
    auto mesh = std::make_unique<KaMesh>();
    mesh->Name = "materialpreview";
    const double pi = std::numbers::pi;
    for (std::int32_t i = 0; i <= rows; ++i) {
        const double theta = pi * i / rows; // from the top pole down
        for (std::int32_t j = 0; j <= columns; ++j) {
            const double phi = 2.0 * pi * j / columns; // 0 faces the eye
            const auto st = static_cast<float>(std::sin(theta));
            const auto ct = static_cast<float>(std::cos(theta));
            const auto sp = static_cast<float>(std::sin(phi));
            const auto cp = static_cast<float>(std::cos(phi));
            const Vector3 position = {st * sp, ct, st * cp};
            mesh->Vertices.push_back(position);
            mesh->Normals.push_back(position);
            mesh->TexCoords.push_back({static_cast<float>(2.0 * j / columns),
                                       static_cast<float>(1.0 - static_cast<double>(i) / rows)});
            mesh->Tangents.push_back(normalised({cp, 0.0f, -sp}));
            mesh->Binormals.push_back({-ct * sp, st, -ct * cp});
        }
    }
    const auto at = [columns](std::int32_t i, std::int32_t j) {
        return static_cast<std::uint32_t>(i * (columns + 1) + j);
    };
    for (std::int32_t i = 0; i < rows; ++i)
        for (std::int32_t j = 0; j < columns; ++j) {
            // Counter-clockwise seen from outside: top-left, bottom-left, bottom-right, top-right.
            const std::uint32_t a = at(i, j), b = at(i, j + 1), c = at(i + 1, j + 1), d = at(i + 1, j);
            mesh->Indices.insert(mesh->Indices.end(), {a, d, c, a, c, b});
        }
    mesh->VertexCount = static_cast<std::int32_t>(mesh->Vertices.size());
    mesh->IndexCount = static_cast<std::int32_t>(mesh->Indices.size());
    return mesh;
}

MaterialPreview::MaterialPreview() = default;

MaterialPreview::~MaterialPreview() = default;

bool MaterialPreview::ensureTargets()
{
    if (framebuffer_ != 0)
        return true;
    if (!epoxy_has_gl_extension("GL_EXT_framebuffer_object"))
        return false;
    glGenTextures(1, &colour_);
    glBindTexture(GL_TEXTURE_2D, colour_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kSize, kSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenRenderbuffersEXT(1, &depth_);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depth_);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, kSize, kSize);
    glGenFramebuffersEXT(1, &framebuffer_);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, colour_, 0);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depth_);
    if (glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) {
        Release();
        return false;
    }
    return true;
}

void MaterialPreview::Release()
{
    if (framebuffer_ != 0)
        glDeleteFramebuffersEXT(1, &framebuffer_);
    if (depth_ != 0)
        glDeleteRenderbuffersEXT(1, &depth_);
    if (colour_ != 0)
        glDeleteTextures(1, &colour_);
    framebuffer_ = depth_ = colour_ = 0;
    sphere_.reset(); // its display list goes with it
}

void MaterialPreview::drawBackdrop() const
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kSize, 0, kSize, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    constexpr int kSquare = 16;
    glBegin(GL_QUADS);
    for (int y = 0; y < kSize; y += kSquare)
        for (int x = 0; x < kSize; x += kSquare) {
            const float grey = ((x + y) / kSquare) % 2 == 0 ? 0.55f : 0.35f;
            glColor3f(grey, grey, grey);
            glVertex2i(x, y);
            glVertex2i(x + kSquare, y);
            glVertex2i(x + kSquare, y + kSquare);
            glVertex2i(x, y + kSquare);
        }
    glEnd();
}

std::vector<std::uint8_t> MaterialPreview::Render(const std::string& materialName)
{
    const KaMaterial* material = Materials ? Materials->Find(materialName) : nullptr;
    if (!material)
        return {};
    DrawStateGuard names;
    GLStateGuard state;
    if (!ensureTargets())
        return {};
    if (!sphere_)
        sphere_ = MakePreviewSphere(24, 48);
    PreviewShaderSource source;
    SetShaderSceneSource(&source);

    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
    glViewport(0, 0, kSize, kSize);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_FOG);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    resetTextureUnits();
    drawBackdrop();

    // The lit pass, as a geometry draws with its material.
    loadPerspective();
    placeLight();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glColor4f(1, 1, 1, 1);
    CurrentObjectName = sphere_->Name;
    CurrentLightName = "materialpreview";
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    material->Apply();
    sphere_->Draw();
    material->Unapply();

    // The self-illumination texture on top, unlit and added.
    if (!material->SelfIllumination.empty() && Textures) {
        resetTextureUnits();
        glDisable(GL_LIGHTING);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glDepthMask(GL_FALSE);
        glColor4f(1, 1, 1, 1);
        Textures->BindByName(material->SelfIllumination);
        glEnable(GL_TEXTURE_2D);
        sphere_->Draw();
    }

    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kSize) * kSize * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // GL gives the bottom row first.
    std::vector<std::uint8_t> flipped(pixels.size());
    const std::ptrdiff_t row = std::ptrdiff_t{kSize} * 4;
    for (std::ptrdiff_t y = 0; y < kSize; ++y)
        std::copy_n(pixels.begin() + (kSize - 1 - y) * row, row, flipped.begin() + y * row);
    for (std::size_t i = 3; i < flipped.size(); i += 4)
        flipped[i] = 255; // the picture is opaque: the checkerboard shows what is transparent
    return flipped;
}

} // namespace ra7::editor
