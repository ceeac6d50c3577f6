#include "core/ShaderLists.h"

#include "resources/Ka7Shaders.h"

namespace ra7::editor {

ShaderLists ListShaders(KaShaderClass& shaders)
{
    ShaderLists lists;
    for (std::int32_t i = 0; i < shaders.Count(); ++i) {
        KaShader& shader = shaders.Get(i);
        switch (shader.ShaderKind()) {
        case KaShader::VertexProgram:
            lists.vertex.push_back(shader.Name);
            break;
        case KaShader::FragmentProgram:
            lists.fragment.push_back(shader.Name);
            break;
        case KaShader::Glsl:
            lists.glsl.push_back(shader.Name);
            break;
        default:
            break;
        }
    }
    return lists;
}

KaShader* ChosenShader(KaShaderClass& shaders, const std::string& vertex, const std::string& fragment,
                       const std::string& glsl)
{
    for (const std::string* name : {&vertex, &fragment, &glsl})
        if (!name->empty())
            return shaders.Find(*name);
    return nullptr;
}

} // namespace ra7::editor
