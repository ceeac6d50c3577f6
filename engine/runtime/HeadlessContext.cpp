#include "runtime/HeadlessContext.h"

#include "runtime/Errors.h"

#include <algorithm>

#include <epoxy/egl.h>
#include <epoxy/gl.h>

namespace ra7 {

namespace {

// Contexts of the process that hold the surfaceless display initialised: it
// is shared, so only the last one to go terminates it (and with it the
// renderer's threads).
int displayUsers = 0;

EGLDisplay surfacelessDisplay()
{
    if (!epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless"))
        return EGL_NO_DISPLAY;
    return eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

GLenum depthFormat(const ContextRequest& request)
{
    if (request.stencilBits > 0)
        return GL_DEPTH24_STENCIL8;
    if (request.depthBits > 24)
        return GL_DEPTH_COMPONENT32;
    if (request.depthBits > 16)
        return GL_DEPTH_COMPONENT24;
    return GL_DEPTH_COMPONENT16;
}

} // namespace

HeadlessContext::HeadlessContext(std::int32_t width, std::int32_t height) : width_(width), height_(height)
{
}

HeadlessContext::~HeadlessContext()
{
    if (!display_)
        return;
    if (context_) {
        makeCurrent();
        deleteTargets();
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display_, context_);
    }
    if (--displayUsers == 0) {
        eglTerminate(display_);
        eglReleaseThread();
    }
}

bool HeadlessContext::createContext(const ContextRequest& request)
{
    if (context_ || width_ <= 0 || height_ <= 0)
        return false;
    EGLDisplay display = surfacelessDisplay();
    if (display == EGL_NO_DISPLAY)
        return false;
    EGLint major = 0;
    EGLint minor = 0;
    if (!eglInitialize(display, &major, &minor))
        return false;
    display_ = display;
    ++displayUsers;
    if (!epoxy_has_egl_extension(display, "EGL_KHR_surfaceless_context") ||
        !epoxy_has_egl_extension(display, "EGL_KHR_no_config_context") || !eglBindAPI(EGL_OPENGL_API))
        return false;
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                 3,
                                 EGL_CONTEXT_MINOR_VERSION,
                                 0,
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                 EGL_NONE};
    EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT)
        return false;
    context_ = context;
    makeCurrent();
    createTargets(request);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void HeadlessContext::createTargets(const ContextRequest& request)
{
    GLint maxSamples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    samples_ = request.sampleBuffers > 0 && request.samples > 1 ? std::min(request.samples, maxSamples) : 0;
    const GLenum colourFormat = request.alphaBits > 0 ? GL_RGBA8 : GL_RGB8;

    glGenFramebuffers(1, &drawFramebuffer_);
    glGenRenderbuffers(1, &colourBuffer_);
    glGenRenderbuffers(1, &depthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, colourFormat, width_, height_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples_, depthFormat(request), width_, height_);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer_);
    const GLenum depthAttachment =
        request.stencilBits > 0 ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, depthAttachment, GL_RENDERBUFFER, depthBuffer_);

    if (samples_ > 0) {
        glGenFramebuffers(1, &resolveFramebuffer_);
        glGenRenderbuffers(1, &resolveColourBuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, resolveColourBuffer_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  resolveColourBuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer_);
    }
    glViewport(0, 0, width_, height_);
}

void HeadlessContext::deleteTargets()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    const GLuint framebuffers[] = {drawFramebuffer_, resolveFramebuffer_};
    const GLuint renderbuffers[] = {colourBuffer_, depthBuffer_, resolveColourBuffer_};
    glDeleteFramebuffers(2, framebuffers);
    glDeleteRenderbuffers(3, renderbuffers);
    drawFramebuffer_ = resolveFramebuffer_ = colourBuffer_ = depthBuffer_ = resolveColourBuffer_ = 0;
}

void HeadlessContext::swapBuffers()
{
    if (!context_)
        return;
    if (samples_ > 0) {
        GLint bound = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, drawFramebuffer_);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer_);
        glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(bound));
    }
    glFinish();
    ++swapCount_;
}

void HeadlessContext::makeCurrent()
{
    if (context_)
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
}

bool HeadlessContext::setSwapInterval(int)
{
    // Nothing is shown, so nothing waits for a display refresh.
    return false;
}

void* HeadlessContext::procAddress(const char* name)
{
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}

std::vector<std::uint8_t> HeadlessContext::ReadPixels()
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) *
                                     4);
    if (!context_)
        return pixels;
    GLint bound = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &bound);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, samples_ > 0 ? resolveFramebuffer_ : drawFramebuffer_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(bound));
    return pixels;
}

} // namespace ra7
