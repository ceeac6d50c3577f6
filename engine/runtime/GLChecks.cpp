#include "runtime/GLChecks.h"

#include "runtime/Errors.h"
#include "runtime/Ka7EngineErrors.h"

#include <epoxy/gl.h>

#include <GL/glu.h>

#include <string>

namespace ra7 {

bool CheckGLError()
{
    const GLenum code = glGetError();
    if (code == GL_NO_ERROR)
        return true;
    const auto* text = reinterpret_cast<const char*>(gluErrorString(code));
    throw Error(std::string("Ошибка OpenGL: ") + (text ? text : std::to_string(code)));
}

void CheckFramebuffer()
{
    const GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    if (const auto text = FramebufferStatusText(status))
        throw Error(*text);
}

} // namespace ra7
