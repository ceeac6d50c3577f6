#pragma once
// KaSprite: up to three camera-facing textured squares around one point
// (glows, halos, lamps, suns), optionally the source of a lens flare.

#include "scene/Ka7BoundingVolume.h"
#include "scene/Ka7SceneObjUnit.h"
#include "scene/SceneRecordIO.h"

#include <string>

namespace ra7 {

class KaSprite : public KaSceneObj {
public:
    // "spr1", white opaque layers of sizes 2, 5 and 4, view range 100.
    KaSprite();

    KaObjKind Kind() const override { return KaObjKind::Sprite; }
    std::unique_ptr<KaSceneObj> Create() const override;
    // Visibility, fading by the depth test and the view range, then the
    // layers as camera-facing squares.
    void Render() override;
    void Update() override;
    void LoadFromFile(RecordReader& file, const KgfNameTable& names) override;
    void SaveToFile(RecordWriter& file, const KgfNameTable& names) const override;
    // Everything but FlareName and FlareBrightness; Bounds becomes a copy of
    // the source's, of the source's shape kind.
    void Assign(const KaSceneObj& source) override;

    float FlareBrightness = 1.0f;
    KaColor Color1 = {1, 1, 1, 1};
    KaColor Color2 = {1, 1, 1, 1};
    KaColor Color3 = {1, 1, 1, 1};
    Vector3 ScreenPos;
    std::uint8_t InView = 0;
    std::string FlareName;
    std::string Texture1;
    std::string Texture2;
    std::string Texture3;
    float Size1 = 2.0f;
    float Size2 = 5.0f;
    float Size3 = 4.0f;
    float ViewRange = 100.0f;
    std::uint8_t SpareFlag = 0;
    std::uint8_t ZTest = 0;
    std::uint8_t AlwaysRendered = 0;
    std::unique_ptr<KaBoundingObj> Bounds;
};

// One camera-facing square of `size` around `centre` through the
// "billboard" vertex program (which must be bound).
void DrawBillboard(const Vector3& centre, float size);

} // namespace ra7
