#include "resources/Ka7Shaders.h"

#include "math/Ka7Transform.h"
#include "resources/DotShaders.h"
#include "resources/DrawState.h"
#include "resources/Ka7MaterialList.h"
#include "runtime/Errors.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"

#include <epoxy/gl.h>

namespace ra7 {

std::unique_ptr<KaShaderClass> Shaders;

namespace {

ShaderSceneSource* sceneSource = nullptr;

KaColor product(const KaColor& a, const KaColor& b)
{
    return {a[0] * b[0], a[1] * b[1], a[2] * b[2], 1};
}

KaColor sum(const KaColor& a, const KaColor& b)
{
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2], 1};
}

void fragmentLocal(GLuint index, const KaColor& c)
{
    glProgramLocalParameter4fARB(GL_FRAGMENT_PROGRAM_ARB, index, c[0], c[1], c[2], c[3]);
}

const KaMaterial* currentMaterial()
{
    if (Materials)
        if (const KaMaterial* material = Materials->Find(CurrentMaterialName))
            return material;
    return DefaultMaterial.get();
}

void enableBlendAndTexturing(KaShader&)
{
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
}

void disableBlend(KaShader&)
{
    glDisable(GL_BLEND);
}

void blendWithoutDepthWrites(KaShader&)
{
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
}

void depthWritesWithoutBlend(KaShader&)
{
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

void useProgram(KaShader& shader)
{
    glUseProgramObjectARB(shader.Handle);
}

void useNoProgram(KaShader&)
{
    glUseProgramObjectARB(0);
}

} // namespace

void SetShaderSceneSource(ShaderSceneSource* source)
{
    sceneSource = source;
}

// ---------------------------------------------------------------- KaShader

KaShader::KaShader(Kind kind) : kind_(kind)
{
    if (kind_ == Glsl && !Settings.UseGLSL)
        kind_ = Inactive;
}

KaShader::~KaShader()
{
    if (Handle == 0)
        return;
    if (kind_ == Glsl)
        glDeleteObjectARB(Handle);
    else if (kind_ == FragmentProgram || kind_ == VertexProgram)
        glDeleteProgramsARB(1, &Handle);
}

void KaShader::Enable()
{
    switch (kind_) {
    case Glsl:
        glUseProgramObjectARB(Handle);
        break;
    case FragmentProgram:
        glEnable(GL_FRAGMENT_PROGRAM_ARB);
        glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, Handle);
        break;
    case VertexProgram:
        glEnable(GL_VERTEX_PROGRAM_ARB);
        glBindProgramARB(GL_VERTEX_PROGRAM_ARB, Handle);
        break;
    case Inactive:
        break;
    }
    if (OnEnable)
        OnEnable(*this);
}

void KaShader::UpdateParameters()
{
    if (OnEnable)
        OnEnable(*this);
}

void KaShader::Disable()
{
    switch (kind_) {
    case Glsl:
        glUseProgramObjectARB(0);
        break;
    case FragmentProgram:
        glDisable(GL_FRAGMENT_PROGRAM_ARB);
        break;
    case VertexProgram:
        glDisable(GL_VERTEX_PROGRAM_ARB);
        break;
    case Inactive:
        break;
    }
    if (OnDisable)
        OnDisable(*this);
}

void KaShader::requireGlsl() const
{
    if (kind_ != Glsl)
        throw Error("Uniform is GLSL!");
}

KaUniform& KaShader::AddUniform(std::string_view name)
{
    requireGlsl();
    const std::string uniformName(name);
    glUseProgramObjectARB(Handle);
    const GLint location = glGetUniformLocationARB(Handle, uniformName.c_str());
    if (location < 0)
        throw Error("Шейдер " + Name + ": нет активной переменной uniform \"" + uniformName + "\"");
    uniforms_.push_back(KaUniform{uniformName, location});
    return uniforms_.back();
}

KaUniform* KaShader::FindUniform(std::string_view name)
{
    requireGlsl();
    for (KaUniform& uniform : uniforms_)
        if (uniform.Name == name)
            return &uniform;
    return nullptr;
}

// ------------------------------------------------------------- parameters

void SetVertexParameters(KaShader&)
{
    if (!sceneSource)
        return;
    const KaTransformation* object = sceneSource->ObjectTransformation(CurrentObjectName);
    const std::optional<ShaderLightState> light = sceneSource->Light(CurrentLightName);
    if (!object || !light)
        return;
    Matrix3 inverse = object->Rotation;
    MatrixTranspose3(inverse);

    Vector3 lightPosition = light->Position;
    if (!light->Static)
        lightPosition = VectorSub(lightPosition, object->Position);
    VectorTransform(lightPosition, inverse);
    // w 0 tells the programs that a light without position gives a direction.
    glProgramLocalParameter4fARB(GL_VERTEX_PROGRAM_ARB, 0, lightPosition.x, lightPosition.y, lightPosition.z,
                                 light->Static ? 0.0f : 1.0f);

    Vector3 eye = VectorSub(sceneSource->ActiveCameraPosition(), object->Position);
    VectorTransform(eye, inverse);
    glProgramLocalParameter4fARB(GL_VERTEX_PROGRAM_ARB, 1, eye.x, eye.y, eye.z, 1);

    // A light without a range does not fade with distance.
    const float inverseRange = light->Range > 0 ? 1.0f / light->Range : 0.0f;
    glProgramLocalParameter4fARB(GL_VERTEX_PROGRAM_ARB, 2, inverseRange, 0, 0, 1);
}

void SetFragmentParameters(KaShader&)
{
    const KaMaterial* material = currentMaterial();
    if (!material || !sceneSource)
        return;
    const std::optional<ShaderLightState> light = sceneSource->Light(CurrentLightName);
    if (!light)
        return;
    fragmentLocal(
        0, sum(product(light->Ambient, material->Ambient), product(light->Ambient, material->WorldAmbient)));
    fragmentLocal(2, product(light->Diffuse, material->Diffuse));
    fragmentLocal(3, product(light->Specular, material->Specular));
    fragmentLocal(1, {static_cast<float>(material->Shininess), 0, 0, 1});
}

// ---------------------------------------------------------- KaShaderClass

KaShaderClass::KaShaderClass()
{
    const auto fragment = KaShader::FragmentProgram;
    const auto vertex = KaShader::VertexProgram;
    addProgram("phongF", fragment, "data\\shaders\\fp_phong.txt", SetFragmentParameters, nullptr);
    addProgram("phongFnotTex", fragment, "data\\shaders\\fp_phong_noTex.txt", SetFragmentParameters, nullptr);
    addProgram("phongV", vertex, "data\\shaders\\vp_phong.txt", SetVertexParameters, nullptr);
    addProgram("bumpF_notG", fragment, "data\\shaders\\fp_bump_notg.txt", SetFragmentParameters, nullptr);
    addProgram("bumpF", fragment, "data\\shaders\\fp_bump.txt", SetFragmentParameters, nullptr);
    addProgram("bumpV", vertex, "data\\shaders\\vp_bump.txt", SetVertexParameters, nullptr);
    addProgram("parallaxF_notG", fragment, "data\\shaders\\fp_parallax_notg.txt", SetFragmentParameters,
               nullptr);
    addProgram("parallaxF", fragment, "data\\shaders\\fp_parallax.txt", SetFragmentParameters, nullptr);
    addProgram("parallaxV", vertex, "data\\shaders\\vp_parallax.txt", SetVertexParameters, nullptr);
    addProgram("billboard", vertex, "data\\shaders\\billboard.vp.txt", enableBlendAndTexturing, disableBlend);
    addProgram("parsystem", vertex, "data\\shaders\\parsystem.vp.txt", blendWithoutDepthWrites,
               depthWritesWithoutBlend);
    if (!Settings.UseGLSL)
        return;
    LogLine("Добавляем шейдеры GLSL...");
    KaShader& blur = addGlsl("blur", "data\\shaders\\v_blur.glsl", "data\\shaders\\f_blur.glsl");
    glUniform1iARB(blur.AddUniform("blurimage").Location, 0);
    blur.AddUniform("blur_offset");
    glUseProgramObjectARB(0);
    KaShader& bright = addGlsl("bright_pass", "data\\shaders\\v_bright.glsl", "data\\shaders\\f_bright.glsl");
    glUniform1iARB(bright.AddUniform("brightimage").Location, 0);
    glUseProgramObjectARB(0);
}

KaShaderClass::~KaShaderClass() = default;

void KaShaderClass::addProgram(const char* name, KaShader::Kind kind, const char* file,
                               KaShader::Callback onEnable, KaShader::Callback onDisable)
{
    LogLine(std::string("Добавляем шейдер ") + name + "...");
    auto shader = std::make_unique<KaShader>(kind);
    shader->Name = name;
    shader->OnEnable = std::move(onEnable);
    shader->OnDisable = std::move(onDisable);
    shader->Handle =
        LoadProgram(kind == KaShader::VertexProgram ? GL_VERTEX_PROGRAM_ARB : GL_FRAGMENT_PROGRAM_ARB, file);
    shaders_.push_back(std::move(shader));
}

KaShader& KaShaderClass::addGlsl(const char* name, const char* vertexFile, const char* fragmentFile)
{
    LogLine(std::string("Добавляем шейдер ") + name + "...");
    auto shader = std::make_unique<KaShader>(KaShader::Glsl);
    shader->Name = name;
    shader->OnEnable = useProgram;
    shader->OnDisable = useNoProgram;
    const std::uint32_t vertex = CompileShader(vertexFile, GL_VERTEX_SHADER_ARB);
    std::uint32_t fragment = 0;
    try {
        fragment = CompileShader(fragmentFile, GL_FRAGMENT_SHADER_ARB);
        shader->Handle = LinkProgram({vertex, fragment});
    } catch (...) {
        glDeleteObjectARB(vertex);
        if (fragment != 0)
            glDeleteObjectARB(fragment);
        throw;
    }
    // The program keeps its shaders; they go with it.
    glDeleteObjectARB(vertex);
    glDeleteObjectARB(fragment);
    shaders_.push_back(std::move(shader));
    return *shaders_.back();
}

KaShader* KaShaderClass::Find(std::string_view name)
{
    for (const auto& shader : shaders_)
        if (shader->Name == name)
            return shader.get();
    return nullptr;
}

KaShader& KaShaderClass::Get(std::int32_t index)
{
    if (index < 0 || index >= Count())
        throw Error("Array index out of bounds.");
    return *shaders_[static_cast<std::size_t>(index)];
}

} // namespace ra7
