#pragma once
// KaCamera: the scene object the view is rendered from. Its rotation is the
// view rotation (world directions to eye directions; the camera looks along
// the eye's −z axis); its view volume is extracted from the projection and
// model-view matrices for the visibility tests.

#include "math/Frustum.h"
#include "scene/Ka7BoundingVolume.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneObjUnit.h"

namespace ra7 {

class KaCamera : public KaSceneObj {
public:
    // "cam1", Fov 60, a bounding sphere of radius 1.
    KaCamera();

    KaObjKind Kind() const override { return KaObjKind::Camera; }
    std::unique_ptr<KaSceneObj> Create() const override;
    // Draws CameraModel as a green wire model facing the way the camera looks.
    void Render() override;
    void Update() override;
    void LoadFromFile(RecordReader& file, const KgfNameTable& names) override;
    void SaveToFile(RecordWriter& file, const KgfNameTable& names) const override;
    void Assign(const KaSceneObj& source) override;

    // Frustum := the planes of projection·modelView (the matrices current
    // for the frame, read from OpenGL by the renderer).
    void UpdateFrustum(const Matrix4& projection, const Matrix4& modelView);
    // The same from the projection and model-view matrices current in
    // OpenGL (needs a current context).
    void UpdateFrustumFromGL();

    KaFrustum Frustum{};
    std::int32_t Fov = 60;
    std::unique_ptr<KaBoundingSphere> Bounds;
};

// The model drawn for cameras; set by the host (the editor loads it from
// its data), nullptr draws no camera marker.
extern std::unique_ptr<KaGeometry> CameraModel;

// The camera named ActiveCameraName in SceneObjects, or nullptr.
KaCamera* ActiveCamera();

} // namespace ra7
