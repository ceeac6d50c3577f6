// The camera's marker and its view volume from the OpenGL matrices.
#include "scene/Ka7Camera.h"

#include <epoxy/gl.h>

namespace ra7 {

std::unique_ptr<KaGeometry> CameraModel;

void KaCamera::Render()
{
    if (!CameraModel)
        return;
    CameraModel->Trans->Assign(*Trans);
    // The model turns to face the way the camera looks.
    Matrix3 rotation = MatrixMultiply3(Trans->Rotation, RotationY(DegToRad(180.0f)));
    MatrixTranspose3(rotation);
    CameraModel->Trans->Rotation = rotation;

    glDisable(GL_LIGHTING);
    glColor3f(0.0f, 0.6f, 0.0f);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    CameraModel->Render();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
}

void KaCamera::UpdateFrustumFromGL()
{
    Matrix4 projection{};
    Matrix4 modelView{};
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.data());
    UpdateFrustum(projection, modelView);
}

} // namespace ra7
