#include "resources/DotShaders.h"

#include "runtime/Errors.h"
#include "runtime/FileIO.h"

#include <epoxy/gl.h>

namespace ra7 {

namespace {

std::string baseName(std::string_view fileName)
{
    const std::size_t slash = fileName.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? fileName : fileName.substr(slash + 1));
}

} // namespace

std::string ProgramText(std::string_view fileName)
{
    std::string text;
    for (const std::string& line : readTextLines(fileName))
        text.append(line).append("\r\n");
    return text;
}

std::uint32_t LoadProgram(std::uint32_t target, std::string_view fileName)
{
    const std::string text = ProgramText(fileName);
    GLuint program = 0;
    glGenProgramsARB(1, &program);
    glBindProgramARB(target, program);
    glProgramStringARB(target, GL_PROGRAM_FORMAT_ASCII_ARB, static_cast<GLsizei>(text.size()), text.data());
    const auto* errorText = reinterpret_cast<const char*>(glGetString(GL_PROGRAM_ERROR_STRING_ARB));
    GLint position = -1;
    glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &position);
    if ((errorText && *errorText) || position != -1) {
        const std::string message = "Shader program \"" + baseName(fileName) + "\" contains errors:\n\n" +
                                    (errorText ? errorText : "") + "\n\n (pos " + std::to_string(position) +
                                    ")";
        glBindProgramARB(target, 0);
        glDeleteProgramsARB(1, &program);
        throw Error(message);
    }
    glBindProgramARB(target, 0);
    return program;
}

std::string InfoLog(std::uint32_t object)
{
    GLint length = 0;
    glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    if (length <= 1)
        return {};
    std::string log(static_cast<std::size_t>(length), '\0');
    GLsizei written = 0;
    glGetInfoLogARB(object, length, &written, log.data());
    log.resize(static_cast<std::size_t>(std::max(written, 0)));
    return log;
}

std::uint32_t CompileShader(std::string_view fileName, std::uint32_t shaderType)
{
    const std::string source = readFileBytes(fileName);
    const GLhandleARB shader = glCreateShaderObjectARB(shaderType);
    const GLcharARB* text = source.c_str();
    const auto length = static_cast<GLint>(source.size());
    glShaderSourceARB(shader, 1, &text, &length);
    glCompileShaderARB(shader);
    GLint status = 0;
    glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &status);
    if (status != 1) {
        const std::string message = std::string(fileName) + " contains errors!\n" + InfoLog(shader);
        glDeleteObjectARB(shader);
        throw Error(message);
    }
    return shader;
}

std::uint32_t LinkProgram(const std::vector<std::uint32_t>& shaders)
{
    const GLhandleARB program = glCreateProgramObjectARB();
    for (std::uint32_t shader : shaders)
        glAttachObjectARB(program, shader);
    glLinkProgramARB(program);
    GLint status = 0;
    glGetObjectParameterivARB(program, GL_OBJECT_LINK_STATUS_ARB, &status);
    if (status != 1) {
        const std::string message = InfoLog(program);
        glDeleteObjectARB(program);
        throw Error(message);
    }
    return program;
}

} // namespace ra7
