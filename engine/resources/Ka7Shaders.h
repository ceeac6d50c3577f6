#pragma once
// The engine's named shaders: ARB vertex and fragment programs for lit
// surfaces, sprites and particles, and GLSL programs for the bloom pass. The
// standard set is built once, in a fixed order, from data\shaders.

#include "math/DotMath.h"
#include "resources/Ka7Material.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

class KaTransformation;

struct KaUniform {
    std::string Name;
    std::int32_t Location = -1;
};

class KaShader {
public:
    enum Kind : std::uint8_t { Glsl = 0, FragmentProgram = 1, VertexProgram = 2, Inactive = 3 };
    using Callback = std::function<void(KaShader&)>;

    // A GLSL shader asked for without USE GLSL becomes inactive.
    explicit KaShader(Kind kind);
    ~KaShader();
    KaShader(const KaShader&) = delete;
    KaShader& operator=(const KaShader&) = delete;

    Kind ShaderKind() const { return kind_; }
    std::string Name;
    std::uint32_t Handle = 0;
    Callback OnEnable;
    Callback OnDisable;

    void Enable();
    void Disable();
    // Runs the enable callback again while the program stays bound: its
    // parameters for the next object drawn under the same material.
    void UpdateParameters();
    // GLSL only ("Uniform is GLSL!" otherwise): makes the program current,
    // looks the uniform up and keeps it; an unknown uniform throws.
    KaUniform& AddUniform(std::string_view name);
    KaUniform* FindUniform(std::string_view name);

private:
    void requireGlsl() const;

    Kind kind_;
    std::deque<KaUniform> uniforms_; // entries keep their addresses
};

// What the lighting programs' parameters are computed from; the scene
// provides it (the object being drawn, the light of the pass, the camera).
struct ShaderLightState {
    Vector3 Position;    // world position, or the direction of a light without position
    bool Static = false; // a light without position
    float Range = 0;     // first component of the light's parameters
    KaColor Ambient{};
    KaColor Diffuse{};
    KaColor Specular{};
};

class ShaderSceneSource {
public:
    virtual ~ShaderSceneSource() = default;
    // The world placement of the scene object of that name, or nothing.
    virtual const KaTransformation* ObjectTransformation(std::string_view objectName) = 0;
    virtual std::optional<ShaderLightState> Light(std::string_view lightName) = 0;
    virtual Vector3 ActiveCameraPosition() = 0;
};

// Installs the scene the parameter callbacks read (borrowed; null for none).
void SetShaderSceneSource(ShaderSceneSource* source);

// The callbacks of the lighting programs: object-space light position (w 0
// for a light without position, whose vector is a direction), eye position
// and inverse light range (vertex locals 0, 1, 2); ambient,
// shininess, diffuse and specular terms (fragment locals 0, 1, 2, 3).
void SetVertexParameters(KaShader& shader);
void SetFragmentParameters(KaShader& shader);

class KaShaderClass {
public:
    // Builds the standard set from data\shaders, logging each step; an error
    // in a program file stops with its message.
    KaShaderClass();
    ~KaShaderClass();
    KaShaderClass(const KaShaderClass&) = delete;
    KaShaderClass& operator=(const KaShaderClass&) = delete;

    std::int32_t Count() const { return static_cast<std::int32_t>(shaders_.size()); }
    // Exact, case-sensitive.
    KaShader* Find(std::string_view name);
    KaShader& Get(std::int32_t index);

private:
    void addProgram(const char* name, KaShader::Kind kind, const char* file, KaShader::Callback onEnable,
                    KaShader::Callback onDisable);
    KaShader& addGlsl(const char* name, const char* vertexFile, const char* fragmentFile);

    std::vector<std::unique_ptr<KaShader>> shaders_;
};

extern std::unique_ptr<KaShaderClass> Shaders;

} // namespace ra7
