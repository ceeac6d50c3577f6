#pragma once
// Adding objects: the six kinds the "Добавить" page and the "Создать" menu
// offer, in the order both show them, with their captions and console
// messages, and the one edit that adds a new object of a kind.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ra7 {
class KaSceneObj;
}

namespace ra7::editor {

class EditorDocument;

enum class NewObjectKind : std::uint8_t { Sprite, Light, Geometry, ParSystem, Sound, Camera };

inline constexpr std::array<NewObjectKind, 6> kNewObjectKinds = {
    NewObjectKind::Sprite,    NewObjectKind::Light, NewObjectKind::Geometry,
    NewObjectKind::ParSystem, NewObjectKind::Sound, NewObjectKind::Camera};

struct NewObjectTexts {
    std::string_view button;   // on the "Добавить" page
    std::string_view menuItem; // in the "Создать" menu
    std::string_view added;    // the console line once it is added
    std::string_view id;       // object names of the controls ("Sprite")
};
const NewObjectTexts& TextsOf(NewObjectKind kind);

// The particle count question, asked before a particle system is added and
// by "Перезадать количество".
inline constexpr const char* kParticleCountTitle = "Создание системы частиц";
inline constexpr const char* kParticleCountPrompt = "Введите количество частиц:";

// The answer to the particle count question: a count from 1 to the largest
// count scene files hold, nothing for "0" or an empty answer (the user
// changed their mind), or the reason another answer is refused.
struct ParticleCountAnswer {
    std::optional<std::int32_t> count;
    std::optional<std::string> problem;
};
ParticleCountAnswer ParseParticleCount(std::string_view answer);

// A new object of the kind as its constructor makes it (its default name,
// "spr1", "lig1", ...); `particleCount` is for particle systems only.
std::unique_ptr<KaSceneObj> MakeNewObject(NewObjectKind kind, std::int32_t particleCount = 0);

// Adds a new object of the kind under its default name made unique as one
// undoable step, logs the kind's message and selects it. Returns its name.
std::string AddNewObject(EditorDocument& document, NewObjectKind kind, std::int32_t particleCount = 0);

} // namespace ra7::editor
