#pragma once
// The rules of the Materials page: which material is selected, what every
// control shows of it, and what each control writes. Every edit is one
// undoable step that writes only the field of its own control; a text that
// does not convert, a name the files cannot keep or one that is taken is
// refused with a message and changes nothing.

#include "core/PageRules.h"
#include "resources/Ka7Material.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ra7 {
class KaShader;
}

namespace ra7::editor {

class EditorDocument;

// The five colour groups, top to bottom.
enum class MaterialColour { Colour, WorldAmbient, Ambient, Diffuse, Specular };
inline constexpr std::size_t kColourGroups = 5;
// Red, green, blue and alpha bars of 0 to 200 showing the component × 100.
inline constexpr ScaledBar kColourBar{100.0f, 0, 200};
// The highest shininess the page stores (the fixed-function limit).
inline constexpr std::int32_t kMaxShininess = 128;

// The two "Шейдер:" boxes: the vertex (or GLSL) program and the fragment program.
enum class ShaderBox { Vertex, Fragment };
struct ShaderPair {
    std::string vertex;
    std::string fragment;
    bool operator==(const ShaderPair&) const = default;
};

// What the page shows of one material.
struct MaterialView {
    std::string name;
    std::array<std::array<std::int32_t, 4>, kColourGroups> bars{};
    std::array<KaColor, kColourGroups> colours{}; // what the previews show
    bool engineColour = false;                    // "Задается движком"
    std::int32_t shininess = 0;
    bool blend = false;
    bool twoSided = false;
    std::string alphaText;
    ShaderPair shaders;
    std::string selfIllumination;
    std::array<std::string, kMaterialTextureSlots> textures;
};

// A message for the user after an edit: a refusal, a failure or a warning.
// `showConsole` brings the console window up (a missing texture file).
struct PageMessage {
    std::string text;
    bool showConsole = false;
};
using EditOutcome = std::optional<PageMessage>;

// The text "Alpha range:" shows for a value: the shortest that reads back
// exactly ("0.3", "0", "0.125").
std::string AlphaText(float value);

// The shaders after a pick in one box (or its clearing, `chosen` empty). A
// GLSL program holds both stages and fills both boxes; a box that then names
// a GLSL program while the other does not is emptied, so that Apply never
// enables a GLSL program as a fragment program beside an ARB vertex program.
ShaderPair ShadersAfterChoice(const ShaderPair& current, ShaderBox box, const std::string& chosen,
                              const std::function<bool(const std::string&)>& isGlsl);
// Whether the shader set holds a GLSL program of that name.
bool IsGlslProgram(const std::string& name);

class MaterialPageModel {
public:
    explicit MaterialPageModel(EditorDocument& document);

    // Makes the 3-D view's context current before textures are loaded.
    std::function<void()> makeCurrent;

    // --- the list and the selection ------------------------------------------------------
    std::vector<std::string> Names() const;
    const std::string& Selected() const { return selected_; }
    void Select(const std::string& name);
    // The selected material, found by name; null when none is selected.
    const KaMaterial* Material() const;
    MaterialView View() const;
    // The page is shown or the scene changed: a selected material that is
    // gone is followed to its slot (an undone rename); with none selected,
    // the material of the geometry selected in the tree is taken.
    void Reconcile();
    // "Перейти к материалу": the geometry's material, or none.
    void GoToMaterialOf(const std::string& geometryName);

    // --- the controls ------------------------------------------------------------------
    void MoveColourBar(MaterialColour group, std::size_t component, std::int32_t position);
    void SetEngineColour(bool ticked);
    EditOutcome SetShininessText(const std::string& text);
    void SetBlend(bool on);
    void SetTwoSided(bool on);
    EditOutcome SetAlphaText(const std::string& text);
    // A program picked in a box; null (the chooser cancelled) changes nothing.
    void ChooseShader(ShaderBox box, const KaShader* chosen);
    void ClearShader(ShaderBox box);
    // A file chosen for a texture slot or for self-illumination, as stored.
    EditOutcome SetTexture(std::size_t slot, const std::string& storedName);
    void ClearTexture(std::size_t slot);
    EditOutcome SetSelfIllumination(const std::string& storedName);
    void ClearSelfIllumination();

    // --- the list's commands -------------------------------------------------------------
    EditOutcome Rename(const std::string& text);
    // The name the input box offers for a new material.
    std::string NewMaterialName() const;
    // Adds a material with default settings under the typed name and selects it.
    EditOutcome Add(const std::string& text);
    // Deletes the selected material and selects the last one.
    void Delete();
    // Loads a KMT library (stored name); the materials whose names are new
    // join the list, with their textures. Missing textures are reported.
    EditOutcome Load(const std::string& storedName);
    // Writes every material, in list order, to a KMT file. Returns the count.
    std::int32_t Save(const std::string& fileName) const;
    // Gives the selected material to every geometry selected in the tree.
    EditOutcome AssignToSelection();

private:
    KaColor colourBehindEngine(const KaMaterial& material) const;
    EditOutcome setTextureName(std::size_t slot, const std::string& storedName);
    std::optional<std::string> loadTexture(const std::string& storedName);
    void setShaders(const ShaderPair& after);

    EditorDocument& document_;
    std::string selected_;
    std::int32_t selectedSlot_ = -1;
    // The colour a material had before "Задается движком" was ticked on this
    // page: unticking gives it back.
    std::map<std::string, KaColor> colourBeforeEngine_;
};

} // namespace ra7::editor
