#pragma once
// The Properties page's controls as data: for every kind, which field each
// scroll bar, check box and name box shows and writes, with the bar's range
// and scale. The page builds its panels from these tables and turns a moved
// bar into an edit through PropertyEdits.h; tests walk the same tables.

#include "core/PageRules.h"
#include "scene/Ka7SceneObjUnit.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ra7::editor {

// A scroll bar and the one float field it shows and writes.
struct BarField {
    std::string_view id;    // the control's object name, unique on the page
    std::string_view label; // shown beside the bar ("Размер:")
    std::string_view title; // names the edit in the history ("размер glow")
    ScaledBar bar;
    KaObjKind kind;
    float (*read)(const KaSceneObj&);
    void (*write)(KaSceneObj&, float);
};

// A minimum and a maximum bar that stay ordered (lifetime, speed, size).
struct RangeFields {
    BarField min;
    BarField max;
};

// Red, green, blue and alpha bars of one colour, with a preview.
struct ColourFields {
    std::string_view id;
    std::string_view label; // "Цвет:", "Ambient:"
    std::array<BarField, 4> parts;
};

// A check box and the flag it writes.
struct FlagField {
    std::string_view id;
    std::string_view label;
    std::optional<KaObjKind> kind; // nothing: every kind has the flag
    bool (*read)(const KaSceneObj&);
    void (*write)(KaSceneObj&, bool);
};

// A name box (texture, mesh, material, lens flare) and the name it writes.
struct NameField {
    std::string_view id;
    std::string_view label;
    std::string_view title;
    KaObjKind kind;
    std::string (*read)(const KaSceneObj&);
    void (*write)(KaSceneObj&, const std::string&);
};

// A number typed into a box (a sprite's view range, a particle direction).
struct TypedField {
    std::string_view id;
    std::string_view label;
    std::string_view title;
    KaObjKind kind;
    NumberLimits limits;
    float (*read)(const KaSceneObj&);
    void (*write)(KaSceneObj&, float);
};

// --- every kind -------------------------------------------------------------
// "Статика": the object's Static flag; the render lists are rebuilt.
const FlagField& StaticField();
// The kind's name on the page ("Спрайт", "Источник света", ...).
std::string_view KindCaption(KaObjKind kind);

// --- sprite ---------------------------------------------------------------------
struct SpriteLayerFields {
    std::string_view label; // "Glow:", "Star:", "Streak:"
    BarField size;
    NameField texture;
    ColourFields colour;
};
const std::array<SpriteLayerFields, 3>& SpriteLayers();
const std::array<FlagField, 2>& SpriteFlags(); // "Z test", "Always Rendered"
const NameField& SpriteFlareField();           // "Secondary:"
const TypedField& SpriteViewRangeField();      // "Расстояние:"

// --- light and camera ----------------------------------------------------------------
const std::array<ColourFields, 3>& LightColours(); // Ambient, Diffuse, Specular
const BarField& LightRangeField();                 // "Радиус:"
const BarField& CameraFovField();                  // "Угол обзора:"

// --- geometry --------------------------------------------------------------------
const std::array<NameField, 3>& GeometryMeshFields(); // MaxLOD, MidLOD, MinLOD
const NameField& GeometryMaterialField();

// --- particle system -------------------------------------------------------------------
const std::array<RangeFields, 3>& ParticleRanges(); // lifetime, speed, size
const BarField& ParticleSpreadField();
const BarField& ParticleSizeAddField();
const ColourFields& ParticleColourField();
const std::array<TypedField, 3>& ParticleDirectionFields(); // dirX, dirY, dirZ
const NameField& ParticleTextureField();
const FlagField& SpaceDustField(); // "Космическая пыль"
// Whether a system's particles live for ever ("Безсмертны").
bool HasUnendingLives(const KaSceneObj& system);

// --- sound source ------------------------------------------------------------------
const FlagField& LoopingField();

// --- previews -------------------------------------------------------------------------
struct PreviewRgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const PreviewRgb&) const = default;
};
// The preview box of a colour group for the object's colour now.
PreviewRgb PreviewOf(const ColourFields& colour, const KaSceneObj& object);

} // namespace ra7::editor
