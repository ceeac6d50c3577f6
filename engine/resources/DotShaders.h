#pragma once
// The shader compiler front end: ARB assembly programs from text files, GLSL
// shaders compiled and linked through the ARB shader-object interface, and
// driver reports turned into error messages that name the file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

// Loads an ARB program (target GL_VERTEX_PROGRAM_ARB or
// GL_FRAGMENT_PROGRAM_ARB) from a text file named as stored. A program with
// errors throws "Shader program "<file>" contains errors:\n\n<driver
// text>\n\n (pos <n>)" and is deleted.
std::uint32_t LoadProgram(std::uint32_t target, std::string_view fileName);

// Compiles a GLSL shader of `shaderType` (GL_VERTEX_SHADER_ARB or
// GL_FRAGMENT_SHADER_ARB); failure throws "<file> contains errors!\n<log>".
std::uint32_t CompileShader(std::string_view fileName, std::uint32_t shaderType);

// Attaches the shaders in order and links; failure throws the info log.
std::uint32_t LinkProgram(const std::vector<std::uint32_t>& shaders);

// The object's info log; empty when the driver reports a length of 1 or less.
std::string InfoLog(std::uint32_t object);

// The program text as LoadProgram hands it to the driver: each line followed
// by CR LF.
std::string ProgramText(std::string_view fileName);

} // namespace ra7
