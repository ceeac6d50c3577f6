#pragma once
// How a surface is drawn: fixed-function colours, shininess, blending, alpha
// test, face culling, up to ten textures, a self-illumination texture and the
// vertex and fragment shaders of the standard set. Materials are stored in
// material libraries (KMT files).

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

class RecordReader;
class RecordWriter;

using KaColor = std::array<float, 4>; // red, green, blue, alpha

inline constexpr std::size_t kMaterialTextureSlots = 10;
// The colour that leaves the current vertex colour alone.
inline constexpr KaColor kKeepColour = {-1, -1, -1, 1};

class KaMaterial {
public:
    std::string Name = "Mat1";
    KaColor Colour = {0.4f, 0.4f, 0.4f, 1};
    bool Blend = false;
    KaColor WorldAmbient = {0.4f, 0.4f, 0.4f, 1};
    KaColor Ambient = {0.4f, 0.4f, 0.4f, 1};
    KaColor Diffuse = {0.4f, 0.4f, 0.4f, 1};
    KaColor Specular = {0.4f, 0.4f, 0.4f, 1};
    std::uint8_t Shininess = 128;
    float AlphaRef = 0;
    bool TwoSided = false;
    std::string FragmentShader;
    std::string VertexShader;
    std::array<std::string, kMaterialTextureSlots> Textures;
    std::string SelfIllumination;

    // The number of texture names a record stores: slots from 0 up to the
    // last one in use, empty slots between them included.
    std::int32_t UsedTextureSlots() const;

    // One record, "mat" tag first.
    void SaveToFile(RecordWriter& file) const;
    // One record without its tag; its texture names are added to the texture
    // array. On an error the material is left as it was.
    void LoadFromFile(RecordReader& file);
    void Assign(const KaMaterial& source) { *this = source; }

    // Sets colours, alpha test, culling, blending, shaders and textures for a draw.
    void Apply() const;
    // Turns off what Apply turned on that the next Apply would not reset.
    void Unapply() const;
    // For the next object drawn while this material stays applied: the
    // vertex shader's parameters (which depend on the object) set again.
    void ApplyToNextObject() const;
};

// While a guard lives, Apply binds only the textures that differ from what
// the last Apply under the guard left on each unit. The holder vouches that
// nothing else binds textures meanwhile.
class MaterialTextureTracking {
public:
    MaterialTextureTracking();
    ~MaterialTextureTracking();
    MaterialTextureTracking(const MaterialTextureTracking&) = delete;
    MaterialTextureTracking& operator=(const MaterialTextureTracking&) = delete;
};

// Reads one record without its tag and without touching the texture array.
void ReadMaterialRecord(RecordReader& file, KaMaterial& material);

// The material of geometry that names none: the defaults, but leaving the
// current colour alone.
KaMaterial MakeDefaultMaterial();
extern std::unique_ptr<KaMaterial> DefaultMaterial;

// Every material of a KMT file, without touching the texture array.
std::vector<KaMaterial> ReadMaterialLibrary(std::string_view storedName);

// A readable description of a KMT file, a few lines per material.
std::vector<std::string> DescribeMaterialFile(std::string_view storedName);

} // namespace ra7
