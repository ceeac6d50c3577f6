#pragma once
// The shader chooser's three lists, filled from the shader set in its order.

#include <string>
#include <vector>

namespace ra7 {
class KaShader;
class KaShaderClass;
} // namespace ra7

namespace ra7::editor {

struct ShaderLists {
    std::vector<std::string> vertex;
    std::vector<std::string> fragment;
    std::vector<std::string> glsl;
};

// Each program into the list of its kind; other kinds are not listed.
ShaderLists ListShaders(KaShaderClass& shaders);

// The chosen program: the vertex list's selection, else the fragment list's,
// else the GLSL list's (empty names: nothing selected there), by name.
KaShader* ChosenShader(KaShaderClass& shaders, const std::string& vertex, const std::string& fragment,
                       const std::string& glsl);

} // namespace ra7::editor
