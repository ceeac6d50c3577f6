#pragma once
// KaLight: the scene object that lights the scene. For a light, Static
// means a light without position (a direction).

#include "scene/Ka7SceneObjUnit.h"
#include "scene/SceneRecordIO.h"

#include <string>

namespace ra7 {

class KaLight : public KaSceneObj {
public:
    // "lig1" with the default colours and a range of 200.
    KaLight();

    KaObjKind Kind() const override { return KaObjKind::Light; }
    std::unique_ptr<KaSceneObj> Create() const override;
    // The editor's marker: a point and a small cross.
    void Render() override;
    void Update() override;
    // The first three components of each colour and of LightParams, then
    // Static; the fourth components keep their construction values.
    void LoadFromFile(RecordReader& file, const KgfNameTable& names) override;
    void SaveToFile(RecordWriter& file, const KgfNameTable& names) const override;
    // All four components of the colours, the first of LightParams only.
    void Assign(const KaSceneObj& source) override;
    // Makes this light the current one and GL_LIGHT0: its colours, and its
    // world position (w 1) or, without position, the direction of its
    // position vector (w 0), both under the current model-view matrix.
    void ApplyLight() const;

    KaColor Ambient = {0.4f, 0.4f, 0.4f, 1.0f};
    KaColor Diffuse = {0.3f, 0.3f, 0.3f, 1.0f};
    KaColor Specular = {0.4f, 0.4f, 0.4f, 1.0f};
    // The first component is the range in world units.
    std::array<float, 4> LightParams = {200.0f, 0.0f, 0.0f, 0.0f};
};

// The light named CurrentLightName in SceneObjects, or nullptr.
KaLight* CurrentLight();

} // namespace ra7
