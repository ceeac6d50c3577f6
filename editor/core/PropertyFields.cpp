#include "core/PropertyFields.h"

#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sound.h"
#include "effects/Ka7Sprite.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <cmath>
#include <limits>

namespace ra7::editor {

namespace {

// Readers and writers of one member of one kind. The page only hands them
// objects of the table's kind (the edits check it first).
template <class K, float K::*Field>
float readFloat(const KaSceneObj& object)
{
    return static_cast<const K&>(object).*Field;
}
template <class K, float K::*Field>
void writeFloat(KaSceneObj& object, float value)
{
    static_cast<K&>(object).*Field = value;
}
template <class K, KaColor K::*Colour, std::size_t Part>
float readPart(const KaSceneObj& object)
{
    return (static_cast<const K&>(object).*Colour)[Part];
}
template <class K, KaColor K::*Colour, std::size_t Part>
void writePart(KaSceneObj& object, float value)
{
    (static_cast<K&>(object).*Colour)[Part] = value;
}
template <class K, std::string K::*Field>
std::string readName(const KaSceneObj& object)
{
    return static_cast<const K&>(object).*Field;
}
template <class K, std::string K::*Field>
void writeName(KaSceneObj& object, const std::string& value)
{
    static_cast<K&>(object).*Field = value;
}
template <class K, std::uint8_t K::*Field>
bool readByteFlag(const KaSceneObj& object)
{
    return static_cast<const K&>(object).*Field != 0;
}
template <class K, std::uint8_t K::*Field>
void writeByteFlag(KaSceneObj& object, bool on)
{
    static_cast<K&>(object).*Field = on ? 1 : 0;
}
template <std::size_t Axis>
float readDirection(const KaSceneObj& object)
{
    const Vector3& direction = static_cast<const KaParSystem&>(object).EmitDirection;
    return Axis == 0 ? direction.x : Axis == 1 ? direction.y : direction.z;
}
template <std::size_t Axis>
void writeDirection(KaSceneObj& object, float value)
{
    Vector3& direction = static_cast<KaParSystem&>(object).EmitDirection;
    (Axis == 0 ? direction.x : Axis == 1 ? direction.y : direction.z) = value;
}

// The Static flag and a geometry's material decide which render list an
// object is drawn from.
void rebuildListsOf(KaSceneObj& object)
{
    if (object.Owner())
        object.Owner()->RebuildLists();
}

constexpr const char* kPartLabels[4] = {"R", "G", "B", "A"};

template <class K, KaColor K::*Colour>
ColourFields colourFields(std::string_view id, std::string_view label, std::string_view title,
                          const std::array<std::string_view, 4>& partIds, ScaledBar bar, KaObjKind kind)
{
    return {
        id,
        label,
        {{{partIds[0], kPartLabels[0], title, bar, kind, readPart<K, Colour, 0>, writePart<K, Colour, 0>},
          {partIds[1], kPartLabels[1], title, bar, kind, readPart<K, Colour, 1>, writePart<K, Colour, 1>},
          {partIds[2], kPartLabels[2], title, bar, kind, readPart<K, Colour, 2>, writePart<K, Colour, 2>},
          {partIds[3], kPartLabels[3], title, bar, kind, readPart<K, Colour, 3>, writePart<K, Colour, 3>}}}};
}

constexpr ScaledBar kSpriteSizeBar{5, 1, 600};
constexpr ScaledBar kSpriteColourBar{100, 0, 100};
constexpr ScaledBar kLightColourBar{100, 0, 200};
constexpr float kLargest = std::numeric_limits<float>::max();

} // namespace

const FlagField& StaticField()
{
    static const FlagField field{"StaticBox", "Статика", std::nullopt,
                                 [](const KaSceneObj& object) { return object.Static; },
                                 [](KaSceneObj& object, bool on) {
                                     object.Static = on;
                                     rebuildListsOf(object);
                                 }};
    return field;
}

std::string_view KindCaption(KaObjKind kind)
{
    switch (kind) {
    case KaObjKind::Sprite:
        return "Спрайт";
    case KaObjKind::Light:
        return "Источник света";
    case KaObjKind::Camera:
        return "Камера";
    case KaObjKind::Geometry:
        return "Геометрия";
    case KaObjKind::ParSystem:
        return "Система частиц";
    case KaObjKind::Sound:
        return "Источник звука";
    }
    return {};
}

// --- sprite ---------------------------------------------------------------------

const std::array<SpriteLayerFields, 3>& SpriteLayers()
{
    constexpr KaObjKind sprite = KaObjKind::Sprite;
    static const std::array<SpriteLayerFields, 3> layers = {{
        {"Glow:",
         {"GlowSize", "Размер:", "размер glow", kSpriteSizeBar, sprite, readFloat<KaSprite, &KaSprite::Size1>,
          writeFloat<KaSprite, &KaSprite::Size1>},
         {"GlowTexture", "Текстура:", "текстура glow", sprite, readName<KaSprite, &KaSprite::Texture1>,
          writeName<KaSprite, &KaSprite::Texture1>},
         colourFields<KaSprite, &KaSprite::Color1>("GlowColour", "Цвет:", "цвет glow",
                                                   {"GlowR", "GlowG", "GlowB", "GlowA"}, kSpriteColourBar,
                                                   sprite)},
        {"Star:",
         {"StarSize", "Размер:", "размер star", kSpriteSizeBar, sprite, readFloat<KaSprite, &KaSprite::Size2>,
          writeFloat<KaSprite, &KaSprite::Size2>},
         {"StarTexture", "Текстура:", "текстура star", sprite, readName<KaSprite, &KaSprite::Texture2>,
          writeName<KaSprite, &KaSprite::Texture2>},
         colourFields<KaSprite, &KaSprite::Color2>("StarColour", "Цвет:", "цвет star",
                                                   {"StarR", "StarG", "StarB", "StarA"}, kSpriteColourBar,
                                                   sprite)},
        {"Streak:",
         {"StreakSize", "Размер:", "размер streak", kSpriteSizeBar, sprite,
          readFloat<KaSprite, &KaSprite::Size3>, writeFloat<KaSprite, &KaSprite::Size3>},
         {"StreakTexture", "Текстура:", "текстура streak", sprite, readName<KaSprite, &KaSprite::Texture3>,
          writeName<KaSprite, &KaSprite::Texture3>},
         colourFields<KaSprite, &KaSprite::Color3>("StreakColour", "Цвет:", "цвет streak",
                                                   {"StreakR", "StreakG", "StreakB", "StreakA"},
                                                   kSpriteColourBar, sprite)},
    }};
    return layers;
}

const std::array<FlagField, 2>& SpriteFlags()
{
    static const std::array<FlagField, 2> flags = {{
        {"ZTestBox", "Z test", KaObjKind::Sprite, readByteFlag<KaSprite, &KaSprite::ZTest>,
         writeByteFlag<KaSprite, &KaSprite::ZTest>},
        {"AlwaysRenderedBox", "Always Rendered", KaObjKind::Sprite,
         readByteFlag<KaSprite, &KaSprite::AlwaysRendered>,
         writeByteFlag<KaSprite, &KaSprite::AlwaysRendered>},
    }};
    return flags;
}

const NameField& SpriteFlareField()
{
    static const NameField field{"SecondaryName",
                                 "Secondary:",
                                 "secondary",
                                 KaObjKind::Sprite,
                                 readName<KaSprite, &KaSprite::FlareName>,
                                 writeName<KaSprite, &KaSprite::FlareName>};
    return field;
}

const TypedField& SpriteViewRangeField()
{
    // 0 is no limit; a negative range would act as its positive twin.
    static const TypedField field{"ViewRange",
                                  "Расстояние:",
                                  "расстояние",
                                  KaObjKind::Sprite,
                                  {0, kLargest},
                                  readFloat<KaSprite, &KaSprite::ViewRange>,
                                  writeFloat<KaSprite, &KaSprite::ViewRange>};
    return field;
}

// --- light and camera ----------------------------------------------------------------

const std::array<ColourFields, 3>& LightColours()
{
    constexpr KaObjKind light = KaObjKind::Light;
    static const std::array<ColourFields, 3> colours = {
        colourFields<KaLight, &KaLight::Ambient>("Ambient", "Ambient:", "ambient",
                                                 {"AmbientR", "AmbientG", "AmbientB", "AmbientA"},
                                                 kLightColourBar, light),
        colourFields<KaLight, &KaLight::Diffuse>("Diffuse", "Diffuse:", "diffuse",
                                                 {"DiffuseR", "DiffuseG", "DiffuseB", "DiffuseA"},
                                                 kLightColourBar, light),
        colourFields<KaLight, &KaLight::Specular>("Specular", "Specular:", "specular",
                                                  {"SpecularR", "SpecularG", "SpecularB", "SpecularA"},
                                                  kLightColourBar, light),
    };
    return colours;
}

const BarField& LightRangeField()
{
    static const BarField field{
        "LightRange",
        "Радиус:",
        "радиус",
        {1, 1, 1000},
        KaObjKind::Light,
        [](const KaSceneObj& object) { return static_cast<const KaLight&>(object).LightParams[0]; },
        [](KaSceneObj& object, float value) { static_cast<KaLight&>(object).LightParams[0] = value; }};
    return field;
}

const BarField& CameraFovField()
{
    static const BarField field{
        "CameraFov",
        "Угол обзора:",
        "угол обзора",
        {1, 1, 180},
        KaObjKind::Camera,
        [](const KaSceneObj& object) { return static_cast<float>(static_cast<const KaCamera&>(object).Fov); },
        [](KaSceneObj& object, float value) {
            static_cast<KaCamera&>(object).Fov = static_cast<std::int32_t>(std::lround(value));
        }};
    return field;
}

// --- geometry --------------------------------------------------------------------

const std::array<NameField, 3>& GeometryMeshFields()
{
    constexpr KaObjKind geometry = KaObjKind::Geometry;
    static const std::array<NameField, 3> fields = {{
        {"MaxLod", "MaxLOD:", "MaxLOD", geometry, readName<KaGeometry, &KaGeometry::MeshName>,
         writeName<KaGeometry, &KaGeometry::MeshName>},
        {"MidLod", "MidLOD:", "MidLOD", geometry, readName<KaGeometry, &KaGeometry::MeshLod1>,
         writeName<KaGeometry, &KaGeometry::MeshLod1>},
        {"MinLod", "MinLOD:", "MinLOD", geometry, readName<KaGeometry, &KaGeometry::MeshLod2>,
         writeName<KaGeometry, &KaGeometry::MeshLod2>},
    }};
    return fields;
}

const NameField& GeometryMaterialField()
{
    static const NameField field{"MaterialName",
                                 "Material:",
                                 "материал",
                                 KaObjKind::Geometry,
                                 readName<KaGeometry, &KaGeometry::MaterialName>,
                                 [](KaSceneObj& object, const std::string& name) {
                                     static_cast<KaGeometry&>(object).MaterialName = name;
                                     // A transparent material draws from the blend list.
                                     rebuildListsOf(object);
                                 }};
    return field;
}

// --- particle system -------------------------------------------------------------------

const std::array<RangeFields, 3>& ParticleRanges()
{
    constexpr KaObjKind system = KaObjKind::ParSystem;
    using P = KaParSystem;
    static const std::array<RangeFields, 3> ranges = {{
        {{"MinLife",
          "MinLifetime:",
          "MinLifetime",
          {1, 1, 5000},
          system,
          readFloat<P, &P::MinLife>,
          writeFloat<P, &P::MinLife>},
         {"MaxLife",
          "MaxLifetime:",
          "MaxLifetime",
          {1, 1, 5000},
          system,
          readFloat<P, &P::MaxLife>,
          writeFloat<P, &P::MaxLife>}},
        {{"MinSpeed",
          "MinSpeed:",
          "MinSpeed",
          {100, 1, 500},
          system,
          readFloat<P, &P::MinSpeed>,
          writeFloat<P, &P::MinSpeed>},
         {"MaxSpeed",
          "MaxSpeed:",
          "MaxSpeed",
          {100, 1, 500},
          system,
          readFloat<P, &P::MaxSpeed>,
          writeFloat<P, &P::MaxSpeed>}},
        {{"MinSize",
          "MinSize:",
          "MinSize",
          {50, 1, 5000},
          system,
          readFloat<P, &P::MinSize>,
          writeFloat<P, &P::MinSize>},
         {"MaxSize",
          "MaxSize:",
          "MaxSize",
          {50, 1, 5000},
          system,
          readFloat<P, &P::MaxSize>,
          writeFloat<P, &P::MaxSize>}},
    }};
    return ranges;
}

const BarField& ParticleSpreadField()
{
    static const BarField field{"Spread",
                                "Spread:",
                                "spread",
                                {100, 0, 1000},
                                KaObjKind::ParSystem,
                                readFloat<KaParSystem, &KaParSystem::Spread>,
                                writeFloat<KaParSystem, &KaParSystem::Spread>};
    return field;
}

const BarField& ParticleSizeAddField()
{
    static const BarField field{"SizeAdd",
                                "Изменение размера:",
                                "изменение размера",
                                {1000, -400, 400},
                                KaObjKind::ParSystem,
                                readFloat<KaParSystem, &KaParSystem::SizeAdd>,
                                writeFloat<KaParSystem, &KaParSystem::SizeAdd>};
    return field;
}

const ColourFields& ParticleColourField()
{
    static const ColourFields colour = colourFields<KaParSystem, &KaParSystem::Color>(
        "ParticleColour", "Начальный цвет:", "начальный цвет",
        {"ParticleR", "ParticleG", "ParticleB", "ParticleA"}, {100, 0, 100}, KaObjKind::ParSystem);
    return colour;
}

const std::array<TypedField, 3>& ParticleDirectionFields()
{
    constexpr KaObjKind system = KaObjKind::ParSystem;
    static const std::array<TypedField, 3> fields = {{
        {"dirX", "X", "направление X", system, {}, readDirection<0>, writeDirection<0>},
        {"dirY", "Y", "направление Y", system, {}, readDirection<1>, writeDirection<1>},
        {"dirZ", "Z", "направление Z", system, {}, readDirection<2>, writeDirection<2>},
    }};
    return fields;
}

const NameField& ParticleTextureField()
{
    static const NameField field{"ParticleTexture",
                                 "Текстура:",
                                 "текстура частиц",
                                 KaObjKind::ParSystem,
                                 readName<KaParSystem, &KaParSystem::TextureName>,
                                 writeName<KaParSystem, &KaParSystem::TextureName>};
    return field;
}

const FlagField& SpaceDustField()
{
    static const FlagField field{
        "SpaceDustBox", "Космическая пыль", KaObjKind::ParSystem,
        readByteFlag<KaParSystem, &KaParSystem::SpaceDust>,
        [](KaSceneObj& object, bool on) { static_cast<KaParSystem&>(object).SetSpaceDust(on); }};
    return field;
}

bool HasUnendingLives(const KaSceneObj& system)
{
    return system.Kind() == KaObjKind::ParSystem &&
           static_cast<const KaParSystem&>(system).MaxLife == kUnendingLife;
}

// --- sound source ------------------------------------------------------------------

const FlagField& LoopingField()
{
    static const FlagField field{
        "LoopingBox", "Looping", KaObjKind::Sound,
        [](const KaSceneObj& object) { return static_cast<const KaSound&>(object).Looping != 0; },
        [](KaSceneObj& object, bool on) { static_cast<KaSound&>(object).Looping = on ? 1 : 0; }};
    return field;
}

// --- previews -------------------------------------------------------------------------

PreviewRgb PreviewOf(const ColourFields& colour, const KaSceneObj& object)
{
    return {PreviewByte(colour.parts[0].read(object)), PreviewByte(colour.parts[1].read(object)),
            PreviewByte(colour.parts[2].read(object))};
}

} // namespace ra7::editor
