#pragma once
// KaGeometry: places a mesh in the scene with a material and two further
// meshes for distant levels of detail, and carries a bounding volume. Meshes
// and materials are looked up by name whenever they are drawn.

#include "scene/Ka7BoundingVolume.h"
#include "scene/Ka7SceneObjUnit.h"

#include <string>

namespace ra7 {

class KaMaterial;
class KaMesh;

// Level-of-detail thresholds, compared with DistToCamera (a squared distance).
inline constexpr float LodNear = 1.0e7f;
inline constexpr float LodFar = 1.0e9f;
inline constexpr float LodCull = 5.0e11f;

class KaGeometry : public KaSceneObj {
public:
    // "Geom1", empty names, a bounding set with a unit main box.
    KaGeometry();

    KaObjKind Kind() const override { return KaObjKind::Geometry; }
    std::unique_ptr<KaSceneObj> Create() const override;
    // Draws the mesh of the chosen level of detail with the material at the
    // world transformation.
    void Render() override;
    // Propagation, the bounds' world placement and DistToCamera from the
    // active camera (left as it was when there is none).
    void Update() override;
    void LoadFromFile(RecordReader& file, const KgfNameTable& names) override;
    void SaveToFile(RecordWriter& file, const KgfNameTable& names) const override;
    void Assign(const KaSceneObj& source) override;
    // Draws the mesh once more with the material's self-illumination texture
    // bound and white colour; nothing when the material has none.
    void RenderSelfIllumination();

    // What one lit draw of this geometry needs, looked up by name as Render
    // does: the mesh of its level of detail (display list built) and its
    // material. No mesh when nothing is to be drawn.
    // The placement is taken once for all the passes of a frame.
    struct PreparedDraw {
        KaMesh* mesh = nullptr;
        const KaMaterial* material = nullptr;
        bool noShaders = false;
        Matrix4 placement{};
        // The material has a self-illumination texture.
        bool Glows() const;
        // The material's shaders run for this draw (and read the object's name).
        bool Shaded() const;
        // Draws the mesh at the placement under the material the caller has
        // applied (the grouped lit passes apply one for many objects).
        void Draw() const;
    };
    PreparedDraw PrepareDraw() const;

    std::string MaterialName;
    std::string MeshName;
    std::string MeshLod1;
    std::string MeshLod2;
    std::unique_ptr<KaBoundingVolume> Bounds;
};

// Which mesh a draw uses. An empty name draws nothing; `noShaders` asks for
// the far level's draw without vertex or fragment programs.
struct LodChoice {
    std::string_view mesh;
    bool noShaders = false;
};

// The level of detail for the geometry at its DistToCamera. `useLod` is the
// USE LOD setting; `selfIllumPass` is set while the self-illumination pass draws.
LodChoice ChooseLodMesh(const KaGeometry& geometry, bool useLod, bool selfIllumPass);

} // namespace ra7
