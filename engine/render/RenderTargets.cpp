#include "render/RenderTargets.h"

#include "math/DotMath.h"
#include "runtime/GLChecks.h"
#include "runtime/Ka7GlobalEngine.h"

#include <epoxy/gl.h>

namespace ra7 {

std::array<std::uint32_t, 3> BloomTextures{};
std::uint32_t BloomFramebuffer = 0;
std::uint32_t BloomDepthBuffer = 0;

void CreateBloomTargets()
{
    const auto size = static_cast<GLsizei>(Settings.BloomTextureSize);
    glGenTextures(3, BloomTextures.data());
    for (GLuint texture : BloomTextures) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    glGenFramebuffersEXT(1, &BloomFramebuffer);
    glGenRenderbuffersEXT(1, &BloomDepthBuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, BloomDepthBuffer);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, size, size);
    CheckFramebuffer();
}

void DeleteBloomTargets()
{
    glDeleteTextures(3, BloomTextures.data());
    glDeleteRenderbuffersEXT(1, &BloomDepthBuffer);
    glDeleteFramebuffersEXT(1, &BloomFramebuffer);
    BloomTextures = {};
    BloomDepthBuffer = BloomFramebuffer = 0;
    CheckFramebuffer();
}

void ResetProjection()
{
    const EngineSettings& s = Settings;
    glViewport(0, 0, s.ScreenWidth, s.ScreenHeight);
    glMatrixMode(GL_PROJECTION);
    const float aspect =
        s.ScreenHeight != 0 ? static_cast<float>(s.ScreenWidth) / static_cast<float>(s.ScreenHeight) : 1.0f;
    const Matrix4 projection =
        PerspectiveMatrix(static_cast<float>(FieldOfView), aspect, NearPlane, FarPlane);
    glLoadMatrixf(projection.data());
    glMatrixMode(GL_MODELVIEW);
}

} // namespace ra7
