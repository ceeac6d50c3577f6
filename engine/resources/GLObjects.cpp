#include "resources/GLObjects.h"

#include <epoxy/gl.h>

namespace ra7 {

GLMeshBuffers::GLMeshBuffers()
{
    glGenBuffersARB(static_cast<GLsizei>(names.size()), names.data());
}

GLMeshBuffers::~GLMeshBuffers()
{
    glDeleteBuffersARB(static_cast<GLsizei>(names.size()), names.data());
}

GLDisplayList::GLDisplayList() : name(glGenLists(1))
{
}

GLDisplayList::~GLDisplayList()
{
    if (name != 0)
        glDeleteLists(name, 1);
}

GLTextureName::GLTextureName()
{
    glGenTextures(1, &name);
}

GLTextureName::~GLTextureName()
{
    glDeleteTextures(1, &name);
}

} // namespace ra7
