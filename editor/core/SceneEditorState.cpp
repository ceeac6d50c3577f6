#include "core/SceneEditorState.h"

#include "render/Ka7Scene.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Errors.h"
#include "runtime/FileIO.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <sstream>

namespace ra7::editor {

namespace {

using nlohmann::json;

constexpr int kSidecarVersion = 1;

std::uint32_t glNameOf(const std::string& name)
{
    if (name.empty() || !Textures)
        return 0;
    const KaTexture* texture = Textures->Find(name);
    return texture ? texture->GLName() : 0;
}

const json& member(const json& object, const char* key, json::value_t type)
{
    const auto found = object.find(key);
    if (found == object.end() || found->type() != type)
        throw Error(std::string("\"") + key + "\" is missing or of the wrong kind");
    return *found;
}

float finiteNumber(const json& value)
{
    if (!value.is_number() || !std::isfinite(value.get<double>()))
        throw Error("a camera number is not a finite number");
    return value.get<float>();
}

} // namespace

void ApplySkyBox(const SkyBoxFaces& sky)
{
    if (!Scene)
        return;
    Scene->SkyBox = sky.enabled;
    Scene->SkyFront = glNameOf(sky.names[0]);
    Scene->SkyBack = glNameOf(sky.names[1]);
    Scene->SkyRight = glNameOf(sky.names[2]);
    Scene->SkyLeft = glNameOf(sky.names[3]);
    Scene->SkyUp = glNameOf(sky.names[4]);
    Scene->SkyDown = glNameOf(sky.names[5]);
}

std::string SidecarText(const SceneEditorState& state)
{
    json text = {{"version", kSidecarVersion},
                 {"skyBox", {{"enabled", state.sky.enabled}, {"faces", state.sky.names}}},
                 {"flareFile", state.flareFile}};
    if (state.camera)
        text["camera"] = {
            {"position", {state.camera->Position.x, state.camera->Position.y, state.camera->Position.z}},
            {"rotation", state.camera->Rotation}};
    if (!state.activeCamera.empty())
        text["activeCamera"] = state.activeCamera;
    if (!state.editorObjects.empty())
        text["editorObjects"] = state.editorObjects;
    return text.dump(2) + "\n";
}

SceneEditorState ParseSidecar(const std::string& text)
{
    const json parsed = json::parse(text, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object())
        throw Error("not a JSON object");
    const json& version = member(parsed, "version", json::value_t::number_unsigned);
    if (version.get<int>() != kSidecarVersion)
        throw Error("version " + version.dump() + " is not known");
    SceneEditorState state;
    const json& sky = member(parsed, "skyBox", json::value_t::object);
    state.sky.enabled = member(sky, "enabled", json::value_t::boolean).get<bool>();
    const json& faces = member(sky, "faces", json::value_t::array);
    if (faces.size() != kSkyFaceCount)
        throw Error("the sky box needs six faces");
    for (std::size_t i = 0; i < kSkyFaceCount; ++i) {
        if (!faces[i].is_string())
            throw Error("a sky box face is not a name");
        state.sky.names[i] = faces[i].get<std::string>();
    }
    state.flareFile = member(parsed, "flareFile", json::value_t::string).get<std::string>();
    if (const auto camera = parsed.find("camera"); camera != parsed.end()) {
        const json& position = member(*camera, "position", json::value_t::array);
        const json& rotation = member(*camera, "rotation", json::value_t::array);
        if (position.size() != 3 || rotation.size() != 9)
            throw Error("the camera needs 3 position and 9 rotation numbers");
        KaTransformation placement;
        placement.Position = {finiteNumber(position[0]), finiteNumber(position[1]),
                              finiteNumber(position[2])};
        for (std::size_t i = 0; i < 9; ++i)
            placement.Rotation[i] = finiteNumber(rotation[i]);
        state.camera = placement;
    }
    if (const auto active = parsed.find("activeCamera"); active != parsed.end() && active->is_string())
        state.activeCamera = active->get<std::string>();
    if (const auto own = parsed.find("editorObjects"); own != parsed.end() && own->is_array())
        for (const json& name : *own)
            if (name.is_string())
                state.editorObjects.push_back(name.get<std::string>());
    return state;
}

std::filesystem::path SidecarPath(const std::filesystem::path& scene)
{
    return std::filesystem::path(scene.string() + ".editor");
}

void WriteSidecar(const std::filesystem::path& path, const SceneEditorState& state)
{
    AtomicFileWriter file(path, path.string());
    file.write(SidecarText(state));
    file.commit();
}

std::optional<SceneEditorState> ReadSidecar(const std::filesystem::path& path, std::string& why)
{
    why.clear();
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in && !in.eof()) {
        why = path.string() + ": cannot be read";
        return std::nullopt;
    }
    try {
        return ParseSidecar(text.str());
    } catch (const std::exception& e) {
        why = path.string() + ": " + e.what();
        return std::nullopt;
    }
}

} // namespace ra7::editor
