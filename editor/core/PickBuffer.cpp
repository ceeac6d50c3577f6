#include "core/PickBuffer.h"

#include "runtime/Capabilities.h"
#include "runtime/Ka7Log.h"

#include <epoxy/gl.h>

namespace ra7::editor {

namespace {

constexpr GLint kCentre = (kPickRegion - 1) / 2;

bool driverHasFramebufferObjects()
{
    return epoxy_gl_version() >= 30 || epoxy_has_gl_extension("GL_ARB_framebuffer_object");
}

// Saves what glPushAttrib does not: the framebuffer bindings, the program
// and both matrices; puts them back when the pass ends.
class SavedBindings {
public:
    SavedBindings()
    {
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw_);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read_);
        glGetIntegerv(GL_MATRIX_MODE, &matrixMode_);
        if (epoxy_gl_version() >= 20)
            glGetIntegerv(GL_CURRENT_PROGRAM, &program_);
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
    }
    ~SavedBindings()
    {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glPopAttrib();
        if (epoxy_gl_version() >= 20)
            glUseProgram(static_cast<GLuint>(program_));
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(draw_));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read_));
        glMatrixMode(static_cast<GLenum>(matrixMode_));
    }
    SavedBindings(const SavedBindings&) = delete;
    SavedBindings& operator=(const SavedBindings&) = delete;

private:
    GLint draw_ = 0;
    GLint read_ = 0;
    GLint matrixMode_ = GL_MODELVIEW;
    GLint program_ = 0;
};

// Flat, exact colours: nothing may blend, dither, smooth or light them.
void plainState()
{
    glDisable(GL_BLEND);
    glDisable(GL_DITHER);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_POLYGON_SMOOTH);
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    if (HasVertexProgram)
        glDisable(GL_VERTEX_PROGRAM_ARB);
    if (HasFragmentProgram)
        glDisable(GL_FRAGMENT_PROGRAM_ARB);
    if (epoxy_gl_version() >= 20)
        glUseProgram(0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glDepthRange(0.0, 1.0);
}

} // namespace

void PickBuffer::Release()
{
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
    if (colour_)
        glDeleteRenderbuffers(1, &colour_);
    if (depth_)
        glDeleteRenderbuffers(1, &depth_);
    framebuffer_ = colour_ = depth_ = 0;
    tried_ = false;
    available_ = false;
}

bool PickBuffer::Available()
{
    return ensure();
}

bool PickBuffer::ensure()
{
    if (tried_)
        return available_;
    tried_ = true;
    if (!driverHasFramebufferObjects()) {
        LogLine("! Выбор мышью недоступен: драйвер не поддерживает framebuffer objects");
        return false;
    }
    GLint draw = 0, read = 0, renderbuffer = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    glGetIntegerv(GL_RENDERBUFFER_BINDING, &renderbuffer);
    glGenRenderbuffers(1, &colour_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kPickRegion, kPickRegion);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kPickRegion, kPickRegion);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    available_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(renderbuffer));
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(draw));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
    if (!available_) {
        LogLine("! Выбор мышью недоступен: буфер выбора не создан");
        Release();
        tried_ = true;
    }
    return available_;
}

void PickBuffer::drawPass(const Viewport& view, FramebufferPixel pixel, const Matrix4& projection,
                          const KaTransformation& eye, const std::function<void()>& draw,
                          const std::function<void()>& read)
{
    const SavedBindings saved;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glViewport(0, 0, kPickRegion, kPickRegion);
    plainState();
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    const Matrix4 narrowed = PickProjection(view, pixel, kPickRegion, projection);
    glLoadMatrixf(narrowed.data());
    glMatrixMode(GL_MODELVIEW);
    eye.ApplyView();
    draw();
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    read();
}

std::optional<std::array<float, 3>> PickBuffer::ReadColour(const Viewport& view, FramebufferPixel pixel,
                                                           const Matrix4& projection,
                                                           const KaTransformation& eye,
                                                           const std::function<void()>& draw)
{
    if (!ensure())
        return std::nullopt;
    std::array<float, 3> colour{};
    drawPass(view, pixel, projection, eye, draw,
             [&] { glReadPixels(kCentre, kCentre, 1, 1, GL_RGB, GL_FLOAT, colour.data()); });
    return colour;
}

std::optional<std::array<std::uint8_t, 3>> PickBuffer::ReadBytes(const Viewport& view, FramebufferPixel pixel,
                                                                 const Matrix4& projection,
                                                                 const KaTransformation& eye,
                                                                 const std::function<void()>& draw)
{
    if (!ensure())
        return std::nullopt;
    std::array<std::uint8_t, 3> colour{};
    drawPass(view, pixel, projection, eye, draw,
             [&] { glReadPixels(kCentre, kCentre, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, colour.data()); });
    return colour;
}

} // namespace ra7::editor
