#include "runtime/Capabilities.h"

#include "runtime/DotWindow.h"
#include "runtime/Errors.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"

#include <epoxy/gl.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace ra7 {

bool HasMultisample = false;
bool HasMultitexture = false;
bool HasVertexProgram = false;
bool HasFragmentProgram = false;
bool HasGenerateMipmap = false;

void ResetCapabilities()
{
    HasMultisample = HasMultitexture = HasVertexProgram = HasFragmentProgram = HasGenerateMipmap = false;
}

namespace {

struct ExtensionEntryPoints {
    std::string_view name;
    std::initializer_list<const char*> entryPoints;
};

// The entry points the engine calls for each extension it asks about.
const ExtensionEntryPoints kEntryPoints[] = {
    {"GL_ARB_multitexture", {"glActiveTextureARB", "glClientActiveTextureARB", "glMultiTexCoord2fARB"}},
    {"GL_ARB_vertex_program",
     {"glProgramStringARB", "glBindProgramARB", "glGenProgramsARB", "glDeleteProgramsARB",
      "glProgramLocalParameter4fARB", "glGetProgramivARB"}},
    {"GL_ARB_fragment_program",
     {"glProgramStringARB", "glBindProgramARB", "glGenProgramsARB", "glDeleteProgramsARB",
      "glProgramLocalParameter4fARB"}},
    {"GL_ARB_vertex_buffer_object",
     {"glBindBufferARB", "glBufferDataARB", "glGenBuffersARB", "glDeleteBuffersARB"}},
    {"GL_EXT_framebuffer_object",
     {"glGenFramebuffersEXT", "glBindFramebufferEXT", "glDeleteFramebuffersEXT", "glFramebufferTexture2DEXT",
      "glCheckFramebufferStatusEXT", "glGenRenderbuffersEXT", "glBindRenderbufferEXT",
      "glRenderbufferStorageEXT", "glDeleteRenderbuffersEXT"}},
    {"GL_ARB_shader_objects",
     {"glCreateShaderObjectARB", "glShaderSourceARB", "glCompileShaderARB", "glCreateProgramObjectARB",
      "glAttachObjectARB", "glLinkProgramARB", "glUseProgramObjectARB", "glGetInfoLogARB",
      "glGetObjectParameterivARB", "glGetUniformLocationARB", "glUniform1iARB", "glDeleteObjectARB"}},
    {"GL_ARB_vertex_shader", {"glBindAttribLocationARB"}},
    {"GL_ARB_multisample", {"glSampleCoverageARB"}},
};

std::initializer_list<const char*> entryPointsOf(std::string_view name)
{
    for (const ExtensionEntryPoints& extension : kEntryPoints)
        if (extension.name == name)
            return extension.entryPoints;
    return {};
}

void logFinding(bool present, const char* line)
{
    if (present)
        LogLine(line);
}

} // namespace

bool ContainsExtensionWord(std::string_view list, std::string_view name)
{
    if (name.empty())
        return false;
    for (std::size_t at = list.find(name); at != std::string_view::npos; at = list.find(name, at + 1)) {
        const bool startsWord = at == 0 || list[at - 1] == ' ';
        const std::size_t end = at + name.size();
        const bool endsWord = end == list.size() || list[end] == ' ';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

ExtensionSet::ExtensionSet(std::string extensionText, Resolver resolves)
    : text_(std::move(extensionText)), resolves_(std::move(resolves))
{
}

ExtensionSet ExtensionSet::FromContext(TDotContext& context)
{
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ContextPlatform* platform = &context.Platform();
    return ExtensionSet(text ? text : "", [platform](const char* entryPoint) {
        return platform->procAddress(entryPoint) != nullptr;
    });
}

bool ExtensionSet::Has(std::string_view name) const
{
    if (!ContainsExtensionWord(text_, name))
        return false;
    for (const char* entryPoint : entryPointsOf(name))
        if (!resolves_ || !resolves_(entryPoint))
            return false;
    return true;
}

ExtensionSet ExtensionSet::Without(std::string_view name) const
{
    std::string text;
    std::size_t start = 0;
    while (start <= text_.size()) {
        std::size_t end = text_.find(' ', start);
        if (end == std::string::npos)
            end = text_.size();
        const std::string_view word(text_.data() + start, end - start);
        if (word != name && !word.empty())
            text.append(word).push_back(' ');
        start = end + 1;
    }
    return ExtensionSet(std::move(text), resolves_);
}

void DetectCapabilities(TDotContext& context)
{
    DetectCapabilities(context, ExtensionSet::FromContext(context));
}

void DetectCapabilities(TDotContext& context, const ExtensionSet& extensions)
{
    EngineSettings& s = Settings;
    if (!s.VSync && context.Platform().setSwapInterval(0))
        LogLine("Выключаем VSYNC...");

    if (s.UseAnisotropy) {
        s.UseAnisotropy = extensions.Has("GL_EXT_texture_filter_anisotropic");
        if (s.UseAnisotropy) {
            GLfloat maximum = 0;
            glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
            s.AnisotropyLevel = static_cast<std::int32_t>(maximum);
            LogLine("Обнаружена поддержка анизотропной фильтрации");
            LogLine("- Максимальная степень анизотропии: " + std::to_string(s.AnisotropyLevel));
        }
    }
    if (s.UseVBO) {
        s.UseVBO = extensions.Has("GL_ARB_vertex_buffer_object");
        logFinding(s.UseVBO, "Обнаружена поддержка VBO");
    }
    if (s.UseFBO) {
        s.UseFBO = extensions.Has("GL_EXT_framebuffer_object");
        logFinding(s.UseFBO, "Обнаружена поддержка FBO");
    }
    if (s.UseGLSL) {
        s.UseGLSL = extensions.Has("GL_ARB_shader_objects") &&
                    extensions.Has("GL_ARB_shading_language_100") && extensions.Has("GL_ARB_vertex_shader") &&
                    extensions.Has("GL_ARB_fragment_shader");
        if (s.UseGLSL)
            LogLine("Обнаружена поддержка GLSL");
        else
            s.UseBloom = false;
    } else {
        s.UseBloom = false;
    }
    if (!s.UseBloom)
        s.UseBloomBrightPass = false;

    HasMultitexture = extensions.Has("GL_ARB_multitexture");
    HasVertexProgram = extensions.Has("GL_ARB_vertex_program");
    HasFragmentProgram = extensions.Has("GL_ARB_fragment_program");
    HasGenerateMipmap = extensions.Has("GL_SGIS_generate_mipmap");
    logFinding(HasGenerateMipmap, "Обнаружена поддержка GL_SGIS_generate_mipmap");
    logFinding(HasMultitexture, "Обнаружена поддержка мультитекстурирования");
    logFinding(HasVertexProgram, "Обнаружена поддержка GL_ARB_vertex_program");
    logFinding(HasFragmentProgram, "Обнаружена поддержка GL_ARB_fragment_program");

    if (!HasMultitexture)
        throw Error("This program requires GL_ARB_multitexture!");
    if (!HasVertexProgram)
        throw Error("This program requires GL_ARB_vertex_program!");
    if (!HasFragmentProgram)
        throw Error("This program requires GL_ARB_fragment_program!");
}

} // namespace ra7
