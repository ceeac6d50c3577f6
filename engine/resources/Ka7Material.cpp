#include "resources/Ka7Material.h"

#include "resources/DrawState.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureIL.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Capabilities.h"
#include "runtime/RecordFile.h"

#include <epoxy/gl.h>

#include <algorithm>

namespace ra7 {

std::unique_ptr<KaMaterial> DefaultMaterial;

namespace {

KaColor readColour(RecordReader& file)
{
    KaColor colour{};
    file.readSingles(colour.data(), colour.size());
    return colour;
}

KaShader* findShader(const std::string& name)
{
    return name.empty() || !Shaders ? nullptr : Shaders->Find(name);
}

// What the Applies under a MaterialTextureTracking guard left bound.
struct BoundTextures {
    bool tracking = false;
    bool known = false;
    std::array<std::uint32_t, kMaterialTextureSlots> names{};
};
BoundTextures bound;

void bindUnit(int unit, const std::string& name)
{
    KaTexture* texture = name.empty() || !ra7::Textures ? nullptr : ra7::Textures->Find(name);
    const std::uint32_t glName = texture ? texture->GLName() : 0;
    auto& slot = bound.names[static_cast<std::size_t>(unit)];
    if (bound.known && slot == glName)
        return;
    if (HasMultitexture)
        glActiveTextureARB(static_cast<GLenum>(GL_TEXTURE0_ARB + unit));
    if (texture)
        texture->Bind();
    else
        glBindTexture(GL_TEXTURE_2D, 0);
    slot = glName;
}

std::string colourText(const KaColor& c)
{
    return "(" + std::to_string(c[0]) + ", " + std::to_string(c[1]) + ", " + std::to_string(c[2]) + ", " +
           std::to_string(c[3]) + ")";
}

} // namespace

std::int32_t KaMaterial::UsedTextureSlots() const
{
    // Up to the last name in use: an empty slot 0 before a normal map in
    // slot 1 is stored empty (readers take empty names) rather than ending
    // the list and losing the normal map.
    const auto lastUsed = std::find_if(Textures.rbegin(), Textures.rend(),
                                       [](const std::string& name) { return !name.empty(); });
    return static_cast<std::int32_t>(Textures.rend() - lastUsed);
}

void KaMaterial::SaveToFile(RecordWriter& file) const
{
    file.writeTag("mat");
    file.writeShortString(Name);
    for (const KaColor* colour : {&Colour, &WorldAmbient, &Ambient, &Diffuse, &Specular})
        file.writeSingles(colour->data(), colour->size());
    file.writeShortString(FragmentShader);
    file.writeShortString(VertexShader);
    file.writeShortString(SelfIllumination);
    const std::int32_t used = UsedTextureSlots();
    file.writeInt32(used);
    for (std::int32_t i = 0; i < used; ++i)
        file.writeShortString(Textures[static_cast<std::size_t>(i)]);
    const std::uint8_t flags[4] = {Shininess, static_cast<std::uint8_t>(Blend ? 1 : 0),
                                   static_cast<std::uint8_t>(TwoSided ? 1 : 0), 0};
    file.writeBytes(flags, sizeof flags);
    file.writeSingle(AlphaRef);
}

void ReadMaterialRecord(RecordReader& file, KaMaterial& material)
{
    KaMaterial read;
    read.Name = file.readShortString();
    read.Colour = readColour(file);
    read.WorldAmbient = readColour(file);
    read.Ambient = readColour(file);
    read.Diffuse = readColour(file);
    read.Specular = readColour(file);
    read.FragmentShader = file.readShortString();
    read.VertexShader = file.readShortString();
    read.SelfIllumination = file.readShortString();
    const std::uint64_t countAt = file.offset();
    const std::int32_t used = file.readInt32();
    if (used < 0 || used > static_cast<std::int32_t>(kMaterialTextureSlots))
        file.failAt(countAt, "material \"" + read.Name + "\": texture count " + std::to_string(used) +
                                 " is not between 0 and 10");
    for (std::int32_t i = 0; i < used; ++i)
        read.Textures[static_cast<std::size_t>(i)] = file.readShortString();
    std::uint8_t flags[4] = {};
    file.readBytes(flags, sizeof flags);
    read.Shininess = flags[0];
    read.Blend = flags[1] != 0;
    read.TwoSided = flags[2] == 1;
    read.AlphaRef = file.readSingle();
    material = std::move(read);
}

void KaMaterial::LoadFromFile(RecordReader& file)
{
    ReadMaterialRecord(file, *this);
    if (!ra7::Textures)
        return;
    // A texture that cannot be read is a "! " line; the material keeps its
    // name for it and the library goes on.
    ra7::Textures->AddOrSkip(SelfIllumination);
    for (const std::string& name : Textures)
        ra7::Textures->AddOrSkip(name);
}

void KaMaterial::Apply() const
{
    CurrentMaterialName = Name;
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, WorldAmbient.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, Ambient.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, Diffuse.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, Specular.data());
    // The fixed-function exponent stops at 128; the fragment programs get the full value.
    glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, std::min<GLint>(Shininess, 128));

    if (AlphaRef != 0) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, AlphaRef);
    } else {
        glDisable(GL_ALPHA_TEST);
    }
    if (TwoSided)
        glDisable(GL_CULL_FACE);
    if (!MultiPass) {
        if (Blend) {
            glDepthMask(GL_FALSE);
            glEnable(GL_BLEND);
        } else {
            glDepthMask(GL_TRUE);
            glDisable(GL_BLEND);
        }
    }
    if (Colour != kKeepColour)
        glColor4fv(Colour.data());

    if (!NoShaders) {
        if (KaShader* vertex = findShader(VertexShader))
            vertex->Enable();
        if (FragmentShader != VertexShader)
            if (KaShader* fragment = findShader(FragmentShader))
                fragment->Enable();
    }

    const int lastUnit = HasMultitexture ? static_cast<int>(kMaterialTextureSlots) - 1 : 0;
    for (int unit = lastUnit; unit >= 0; --unit)
        bindUnit(unit, Textures[static_cast<std::size_t>(unit)]);
    if (HasMultitexture)
        glActiveTextureARB(GL_TEXTURE0_ARB);
    bound.known = bound.tracking;
    // Enabled once unit 0 is active: units past the fixed-function ones
    // refuse the enable.
    glEnable(GL_TEXTURE_2D);
}

void KaMaterial::Unapply() const
{
    if (KaShader* vertex = findShader(VertexShader))
        vertex->Disable();
    if (FragmentShader != VertexShader)
        if (KaShader* fragment = findShader(FragmentShader))
            fragment->Disable();
    if (AlphaRef != 0)
        glDisable(GL_ALPHA_TEST);
    if (TwoSided)
        glEnable(GL_CULL_FACE);
}

void KaMaterial::ApplyToNextObject() const
{
    if (NoShaders)
        return;
    if (KaShader* vertex = findShader(VertexShader))
        vertex->UpdateParameters();
}

MaterialTextureTracking::MaterialTextureTracking()
{
    bound.tracking = true;
    bound.known = false;
}

MaterialTextureTracking::~MaterialTextureTracking()
{
    bound.tracking = false;
    bound.known = false;
}

KaMaterial MakeDefaultMaterial()
{
    KaMaterial material;
    material.Colour = kKeepColour;
    return material;
}

std::vector<KaMaterial> ReadMaterialLibrary(std::string_view storedName)
{
    RecordReader file = RecordReader::openFile(storedName);
    file.skip(kTagSize);
    const std::size_t count = file.readCount(1120, "material count");
    std::vector<KaMaterial> materials(count);
    for (KaMaterial& material : materials) {
        file.skip(kTagSize);
        ReadMaterialRecord(file, material);
    }
    return materials;
}

std::vector<std::string> DescribeMaterialFile(std::string_view storedName)
{
    const std::vector<KaMaterial> materials = ReadMaterialLibrary(storedName);
    std::vector<std::string> lines{"material library: " + std::to_string(materials.size()) + " materials"};
    for (const KaMaterial& m : materials) {
        lines.push_back("material \"" + m.Name + "\"");
        lines.push_back("  colour " + colourText(m.Colour) + ", world ambient " + colourText(m.WorldAmbient));
        lines.push_back("  ambient " + colourText(m.Ambient) + ", diffuse " + colourText(m.Diffuse) +
                        ", specular " + colourText(m.Specular));
        lines.push_back("  shininess " + std::to_string(m.Shininess) + ", blend " + (m.Blend ? "yes" : "no") +
                        ", two-sided " + (m.TwoSided ? "yes" : "no") + ", alpha ref " +
                        std::to_string(m.AlphaRef));
        lines.push_back("  shaders: vertex \"" + m.VertexShader + "\", fragment \"" + m.FragmentShader +
                        "\"");
        for (std::size_t t = 0; t < kMaterialTextureSlots; ++t)
            if (!m.Textures[t].empty())
                lines.push_back("  texture " + std::to_string(t) + ": " + m.Textures[t]);
        if (!m.SelfIllumination.empty())
            lines.push_back("  self-illumination: " + m.SelfIllumination);
    }
    return lines;
}

} // namespace ra7
