#include "resources/Ka7TextureList.h"

#include "runtime/Errors.h"

#include <epoxy/gl.h>

namespace ra7 {

std::unique_ptr<KaTextureArray> Textures;

KaTexture* KaTextureArray::Add(std::string_view fileName)
{
    if (fileName.empty() || IndexOf(fileName) >= 0)
        return nullptr;
    auto texture = std::make_unique<KaTexture>();
    texture->Load(fileName);
    return KaResourceList::Add(std::move(texture));
}

KaTexture* KaTextureArray::AddOrSkip(std::string_view fileName)
{
    try {
        return Add(fileName);
    } catch (const Error&) {
        return nullptr;
    }
}

void KaTextureArray::BindByName(std::string_view fileName)
{
    KaTexture* texture = fileName.empty() ? nullptr : Find(fileName);
    if (texture)
        texture->Bind();
    else
        glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace ra7
