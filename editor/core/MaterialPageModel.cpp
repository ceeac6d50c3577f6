#include "core/MaterialPageModel.h"

#include "core/EditorDocument.h"
#include "core/MaterialCommands.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <numeric>

namespace ra7::editor {

namespace {

// The colour a material shows in the "Цвет:" group while the engine sets it
// and nothing better is known: the colour of a new material.
constexpr KaColor kDefaultColour = {0.4f, 0.4f, 0.4f, 1.0f};

const char* const kGroupNames[kColourGroups] = {"Цвет", "World ambient", "Ambient", "Diffuse", "Specular"};
const char* const kComponentNames[4] = {"R", "G", "B", "A"};

KaColor& colourOf(KaMaterial& material, MaterialColour group)
{
    switch (group) {
    case MaterialColour::Colour:
        return material.Colour;
    case MaterialColour::WorldAmbient:
        return material.WorldAmbient;
    case MaterialColour::Ambient:
        return material.Ambient;
    case MaterialColour::Diffuse:
        return material.Diffuse;
    case MaterialColour::Specular:
        break;
    }
    return material.Specular;
}

const KaColor& colourOf(const KaMaterial& material, MaterialColour group)
{
    return colourOf(const_cast<KaMaterial&>(material), group);
}

std::string fieldLabel(const std::string& material, const std::string& field)
{
    return "Материал " + material + ": " + field;
}

} // namespace

std::string AlphaText(float value)
{
    if (value == 0.0f)
        return "0"; // also -0
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

ShaderPair ShadersAfterChoice(const ShaderPair& current, ShaderBox box, const std::string& chosen,
                              const std::function<bool(const std::string&)>& isGlsl)
{
    if (!chosen.empty() && isGlsl(chosen))
        return {chosen, chosen};
    ShaderPair after = current;
    (box == ShaderBox::Vertex ? after.vertex : after.fragment) = chosen;
    std::string& other = box == ShaderBox::Vertex ? after.fragment : after.vertex;
    if (!other.empty() && isGlsl(other))
        other.clear();
    return after;
}

bool IsGlslProgram(const std::string& name)
{
    const KaShader* shader = Shaders && !name.empty() ? Shaders->Find(name) : nullptr;
    // An inactive shader is a GLSL program asked for without GLSL support.
    return shader && (shader->ShaderKind() == KaShader::Glsl || shader->ShaderKind() == KaShader::Inactive);
}

MaterialPageModel::MaterialPageModel(EditorDocument& document) : document_(document)
{
}

// --- the list and the selection --------------------------------------------------------

std::vector<std::string> MaterialPageModel::Names() const
{
    std::vector<std::string> names;
    if (Materials)
        for (std::int32_t i = 0; i < Materials->Count(); ++i)
            names.push_back(Materials->Get(i).Name);
    return names;
}

void MaterialPageModel::Select(const std::string& name)
{
    selected_ = name;
    selectedSlot_ = Materials && !name.empty() ? Materials->IndexOf(name) : -1;
}

const KaMaterial* MaterialPageModel::Material() const
{
    return Materials && !selected_.empty() ? Materials->Find(selected_) : nullptr;
}

KaColor MaterialPageModel::colourBehindEngine(const KaMaterial& material) const
{
    const auto remembered = colourBeforeEngine_.find(material.Name);
    return remembered != colourBeforeEngine_.end() ? remembered->second : kDefaultColour;
}

MaterialView MaterialPageModel::View() const
{
    MaterialView view;
    const KaMaterial* material = Material();
    if (!material)
        return view;
    view.name = material->Name;
    view.engineColour = material->Colour == kKeepColour;
    for (std::size_t g = 0; g < kColourGroups; ++g) {
        const auto group = static_cast<MaterialColour>(g);
        const KaColor colour = group == MaterialColour::Colour && view.engineColour
                                   ? colourBehindEngine(*material)
                                   : colourOf(*material, group);
        view.colours[g] = colour;
        for (std::size_t c = 0; c < 4; ++c)
            view.bars[g][c] = kColourBar.Position(colour[c]);
    }
    view.shininess = std::min<std::int32_t>(material->Shininess, kMaxShininess);
    view.blend = material->Blend;
    view.twoSided = material->TwoSided;
    view.alphaText = AlphaText(material->AlphaRef);
    view.shaders = {material->VertexShader, material->FragmentShader};
    view.selfIllumination = material->SelfIllumination;
    view.textures = material->Textures;
    return view;
}

void MaterialPageModel::Reconcile()
{
    if (!selected_.empty() && (!Materials || Materials->IndexOf(selected_) < 0)) {
        const std::vector<std::string> names = Names();
        const bool slotValid = selectedSlot_ >= 0 && selectedSlot_ < static_cast<std::int32_t>(names.size());
        Select(slotValid ? names[static_cast<std::size_t>(selectedSlot_)] : std::string());
    }
    if (selected_.empty()) {
        const KaSceneObj* object = document_.Scene().FindByName(document_.Selection().SelectedName());
        if (object && object->Kind() == KaObjKind::Geometry) {
            const std::string& material = static_cast<const KaGeometry*>(object)->MaterialName;
            if (Materials && !material.empty() && Materials->IndexOf(material) >= 0)
                Select(material);
        }
    }
    selectedSlot_ = Materials && !selected_.empty() ? Materials->IndexOf(selected_) : -1;
}

void MaterialPageModel::GoToMaterialOf(const std::string& geometryName)
{
    const KaSceneObj* object = document_.Scene().FindByName(geometryName);
    std::string material;
    if (object && object->Kind() == KaObjKind::Geometry)
        material = static_cast<const KaGeometry*>(object)->MaterialName;
    Select(Materials && !material.empty() && Materials->IndexOf(material) >= 0 ? material : std::string());
}

// --- the controls ------------------------------------------------------------------------

void MaterialPageModel::MoveColourBar(MaterialColour group, std::size_t component, std::int32_t position)
{
    const KaMaterial* material = Material();
    if (!material || component >= 4)
        return;
    if (group == MaterialColour::Colour && material->Colour == kKeepColour)
        return; // the bars are disabled while the engine sets the colour
    const float before = colourOf(*material, group)[component];
    // A value outside the bar's range only pins the bar; it is kept until the
    // bar really moves.
    if (kColourBar.Position(before) == position)
        return;
    const auto g = static_cast<std::size_t>(group);
    const std::string name = material->Name;
    document_.Execute(SetMaterialField<float>(
        document_, fieldLabel(name, std::string(kGroupNames[g]) + " " + kComponentNames[component]),
        "material:" + name + ":colour:" + std::to_string(g) + ":" + std::to_string(component), name, before,
        kColourBar.Value(position),
        [group, component](KaMaterial& m, const float& value) { colourOf(m, group)[component] = value; }));
}

void MaterialPageModel::SetEngineColour(bool ticked)
{
    const KaMaterial* material = Material();
    if (!material || (material->Colour == kKeepColour) == ticked)
        return;
    const KaColor before = material->Colour;
    KaColor after = kKeepColour;
    if (ticked)
        colourBeforeEngine_[material->Name] = before;
    else
        after = colourBehindEngine(*material);
    document_.Execute(SetMaterialField<KaColor>(
        document_, fieldLabel(material->Name, "Задается движком"), {}, material->Name, before, after,
        [](KaMaterial& m, const KaColor& value) { m.Colour = value; }));
}

EditOutcome MaterialPageModel::SetShininessText(const std::string& text)
{
    const KaMaterial* material = Material();
    if (!material)
        return std::nullopt;
    const std::optional<float> typed = ParseTypedNumber(text, {0.0f, 3.4e38f});
    if (!typed)
        return PageMessage{"Shininess: <" + TrimmedName(text) + "> не число от 0 до " +
                           std::to_string(kMaxShininess) + "; осталось " +
                           std::to_string(std::min<std::int32_t>(material->Shininess, kMaxShininess))};
    // A typed value above the limit is set back to it.
    const auto after =
        static_cast<std::uint8_t>(std::min<double>(std::round(static_cast<double>(*typed)), kMaxShininess));
    if (after == material->Shininess)
        return std::nullopt;
    document_.Execute(SetMaterialField<std::uint8_t>(
        document_, fieldLabel(material->Name, "Shininess"), {}, material->Name, material->Shininess, after,
        [](KaMaterial& m, const std::uint8_t& value) { m.Shininess = value; }));
    return std::nullopt;
}

void MaterialPageModel::SetBlend(bool on)
{
    const KaMaterial* material = Material();
    if (!material || material->Blend == on)
        return;
    // Transparency moves geometry between the opaque and the transparent render list.
    document_.Execute(SetMaterialField<bool>(
        document_, fieldLabel(material->Name, "Прозрачность"), {}, material->Name, material->Blend, on,
        [](KaMaterial& m, const bool& value) { m.Blend = value; }, true));
}

void MaterialPageModel::SetTwoSided(bool on)
{
    const KaMaterial* material = Material();
    if (!material || material->TwoSided == on)
        return;
    document_.Execute(SetMaterialField<bool>(document_, fieldLabel(material->Name, "Cull face"), {},
                                             material->Name, material->TwoSided, on,
                                             [](KaMaterial& m, const bool& value) { m.TwoSided = value; }));
}

EditOutcome MaterialPageModel::SetAlphaText(const std::string& text)
{
    const KaMaterial* material = Material();
    if (!material)
        return std::nullopt;
    float after = 0.0f; // an empty box: no alpha test
    if (!TrimmedName(text).empty()) {
        const std::optional<float> typed = ParseTypedNumber(text);
        if (!typed)
            return PageMessage{"Alpha range: <" + TrimmedName(text) + "> не число; осталось " +
                               AlphaText(material->AlphaRef)};
        after = *typed;
    }
    if (after == material->AlphaRef)
        return std::nullopt;
    document_.Execute(SetMaterialField<float>(document_, fieldLabel(material->Name, "Alpha range"), {},
                                              material->Name, material->AlphaRef, after,
                                              [](KaMaterial& m, const float& value) { m.AlphaRef = value; }));
    return std::nullopt;
}

void MaterialPageModel::setShaders(const ShaderPair& after)
{
    const KaMaterial* material = Material();
    const ShaderPair before{material->VertexShader, material->FragmentShader};
    if (after == before)
        return;
    document_.Execute(SetMaterialField<ShaderPair>(document_, fieldLabel(material->Name, "Шейдер"), {},
                                                   material->Name, before, after,
                                                   [](KaMaterial& m, const ShaderPair& value) {
                                                       m.VertexShader = value.vertex;
                                                       m.FragmentShader = value.fragment;
                                                   }));
}

void MaterialPageModel::ChooseShader(ShaderBox box, const KaShader* chosen)
{
    const KaMaterial* material = Material();
    if (!material || !chosen)
        return;
    setShaders(ShadersAfterChoice({material->VertexShader, material->FragmentShader}, box, chosen->Name,
                                  IsGlslProgram));
}

void MaterialPageModel::ClearShader(ShaderBox box)
{
    const KaMaterial* material = Material();
    if (!material)
        return;
    setShaders(
        ShadersAfterChoice({material->VertexShader, material->FragmentShader}, box, {}, IsGlslProgram));
}

std::optional<std::string> MaterialPageModel::loadTexture(const std::string& storedName)
{
    if (!Textures)
        return std::nullopt;
    if (makeCurrent)
        makeCurrent();
    try {
        Textures->Add(storedName);
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

EditOutcome MaterialPageModel::setTextureName(std::size_t slot, const std::string& storedName)
{
    const KaMaterial* material = Material();
    if (!material)
        return std::nullopt;
    const bool selfIllumination = slot >= kMaterialTextureSlots;
    if (!StoredFileExists(storedName))
        return PageMessage{FileMissingLine(storedName), !selfIllumination};
    if (const auto failure = loadTexture(storedName))
        return PageMessage{*failure, !selfIllumination};
    LogLine(FileAddedLine(storedName));
    const std::string& before = selfIllumination ? material->SelfIllumination : material->Textures[slot];
    if (before == storedName)
        return std::nullopt;
    const std::string label = selfIllumination ? "Self-Illumination" : "текстура " + std::to_string(slot);
    document_.Execute(SetMaterialField<std::string>(
        document_, fieldLabel(material->Name, label), {}, material->Name, before, storedName,
        [slot, selfIllumination](KaMaterial& m, const std::string& value) {
            (selfIllumination ? m.SelfIllumination : m.Textures[slot]) = value;
        }));
    return std::nullopt;
}

EditOutcome MaterialPageModel::SetTexture(std::size_t slot, const std::string& storedName)
{
    if (slot >= kMaterialTextureSlots)
        return PageMessage{"Слотов текстур всего " + std::to_string(kMaterialTextureSlots)};
    return setTextureName(slot, storedName);
}

void MaterialPageModel::ClearTexture(std::size_t slot)
{
    const KaMaterial* material = Material();
    if (!material || slot >= kMaterialTextureSlots || material->Textures[slot].empty())
        return;
    document_.Execute(SetMaterialField<std::string>(
        document_, fieldLabel(material->Name, "текстура " + std::to_string(slot)), {}, material->Name,
        material->Textures[slot], {},
        [slot](KaMaterial& m, const std::string& value) { m.Textures[slot] = value; }));
}

EditOutcome MaterialPageModel::SetSelfIllumination(const std::string& storedName)
{
    return setTextureName(kMaterialTextureSlots, storedName);
}

void MaterialPageModel::ClearSelfIllumination()
{
    const KaMaterial* material = Material();
    if (!material || material->SelfIllumination.empty())
        return;
    document_.Execute(SetMaterialField<std::string>(
        document_, fieldLabel(material->Name, "Self-Illumination"), {}, material->Name,
        material->SelfIllumination, {},
        [](KaMaterial& m, const std::string& value) { m.SelfIllumination = value; }));
}

// --- the list's commands -------------------------------------------------------------------

EditOutcome MaterialPageModel::Rename(const std::string& text)
{
    const KaMaterial* material = Material();
    if (!material)
        return std::nullopt;
    const std::string name = TrimmedName(text);
    if (name == material->Name)
        return std::nullopt;
    if (const auto problem = NameProblem(text, "Имя материала"))
        return PageMessage{*problem + "; осталось " + material->Name};
    if (Materials->IndexOf(name) >= 0)
        return PageMessage{"Материал <" + name + "> уже есть; осталось " + material->Name};
    const std::string oldName = material->Name;
    document_.Execute(std::make_unique<RenameMaterialCommand>(document_, oldName, name));
    const auto remembered = colourBeforeEngine_.find(oldName);
    if (remembered != colourBeforeEngine_.end()) {
        colourBeforeEngine_[name] = remembered->second;
        colourBeforeEngine_.erase(oldName);
    }
    Select(name);
    return std::nullopt;
}

std::string MaterialPageModel::NewMaterialName() const
{
    const std::string name = KaMaterial().Name;
    return Materials ? Materials->MakeUniqueName(name) : name;
}

EditOutcome MaterialPageModel::Add(const std::string& text)
{
    if (const auto problem = NameProblem(text, "Имя материала"))
        return PageMessage{*problem + "; материал не добавлен"};
    KaMaterial material;
    material.Name = TrimmedName(text);
    if (Materials && Materials->IndexOf(material.Name) >= 0)
        return PageMessage{"Материал <" + material.Name + "> уже есть; новый не добавлен"};
    const std::string name = material.Name;
    document_.Execute(std::make_unique<AddMaterialCommand>(document_, std::move(material)));
    Select(name);
    return std::nullopt;
}

void MaterialPageModel::Delete()
{
    const KaMaterial* material = Material();
    if (!material)
        return;
    document_.Execute(std::make_unique<DeleteMaterialCommand>(document_, material->Name));
    const std::vector<std::string> names = Names();
    Select(names.empty() ? std::string() : names.back());
}

EditOutcome MaterialPageModel::Load(const std::string& storedName)
{
    if (!StoredFileExists(storedName))
        return PageMessage{FileMissingLine(storedName)};
    std::vector<KaMaterial> library;
    try {
        library = ReadMaterialLibrary(storedName);
    } catch (const std::exception& e) {
        return PageMessage{e.what()};
    }
    // The textures of the materials that will join the list; a texture that
    // cannot be read is reported and the rest still load.
    std::vector<std::string> failures;
    for (const KaMaterial& material : library) {
        if (Materials && Materials->IndexOf(material.Name) >= 0)
            continue;
        std::vector<std::string> files(material.Textures.begin(), material.Textures.end());
        files.push_back(material.SelfIllumination);
        for (const std::string& file : files) {
            if (file.empty() || (Textures && Textures->IndexOf(file) >= 0))
                continue;
            const auto failure = StoredFileExists(file) ? loadTexture(file) : FileMissingLine(file);
            if (failure && std::find(failures.begin(), failures.end(), *failure) == failures.end())
                failures.push_back(*failure);
        }
    }
    auto command = std::make_unique<LoadMaterialsCommand>(document_, storedName, std::move(library));
    LoadMaterialsCommand& load = *command;
    document_.Execute(std::move(command));
    if (!load.Added().empty())
        Select(load.Added().back());
    LogLine(FileAddedLine(storedName));
    if (failures.empty())
        return std::nullopt;
    for (std::size_t i = 0; i + 1 < failures.size(); ++i)
        LogLine("! " + failures[i]);
    return PageMessage{failures.back(), true};
}

std::int32_t MaterialPageModel::Save(const std::string& fileName) const
{
    if (!Materials)
        return 0;
    std::vector<std::int32_t> indices(static_cast<std::size_t>(Materials->Count()));
    std::iota(indices.begin(), indices.end(), 0);
    Materials->SaveToFile(fileName, indices);
    LogLine("- Материалы сохранены в " + fileName + ": " + std::to_string(indices.size()));
    return static_cast<std::int32_t>(indices.size());
}

EditOutcome MaterialPageModel::AssignToSelection()
{
    const KaMaterial* material = Material();
    if (!material)
        return std::nullopt;
    std::vector<std::string> geometry;
    for (const std::string& name : document_.Selection().Names()) {
        const KaSceneObj* object = document_.Scene().FindByName(name);
        if (object && object->Kind() == KaObjKind::Geometry)
            geometry.push_back(name);
    }
    if (geometry.empty())
        return PageMessage{"Выделите в дереве геометрию, которой назначить материал <" + material->Name +
                           ">"};
    document_.Execute(std::make_unique<AssignMaterialCommand>(document_, geometry, material->Name));
    return std::nullopt;
}

} // namespace ra7::editor
