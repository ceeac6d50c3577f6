#include "scene/PointProjection.h"

#include "runtime/Ka7GlobalEngine.h"

#include <epoxy/gl.h>

#include <cmath>

namespace ra7 {

PointProjection PointVisible(const Vector3& point)
{
    Matrix4 modelView{};
    Matrix4 projection{};
    GLint viewport[4] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.data());
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    glGetIntegerv(GL_VIEWPORT, viewport);

    // Column-major products, as gluProject computes them.
    const float in[4] = {point.x, point.y, point.z, 1.0f};
    float eye[4] = {};
    float clip[4] = {};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            eye[r] += modelView[static_cast<std::size_t>(c * 4 + r)] * in[c];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            clip[r] += projection[static_cast<std::size_t>(c * 4 + r)] * eye[c];
    PointProjection result;
    if (clip[3] == 0.0f)
        return result;
    const float nx = clip[0] / clip[3];
    const float ny = clip[1] / clip[3];
    const float nz = clip[2] / clip[3];
    result.Window = {static_cast<float>(viewport[0]) + static_cast<float>(viewport[2]) * (nx + 1.0f) / 2.0f,
                     static_cast<float>(viewport[1]) + static_cast<float>(viewport[3]) * (ny + 1.0f) / 2.0f,
                     (nz + 1.0f) / 2.0f};
    const Vector3& w = result.Window;
    if (!(w.x > 0.0f && w.x < static_cast<float>(Settings.ScreenWidth) && w.y > 0.0f &&
          w.y < static_cast<float>(Settings.ScreenHeight)))
        return result;
    // A point behind the viewer projects through w < 0 and is never visible.
    if (clip[3] < 0.0f)
        return result;
    GLfloat stored = 0.0f;
    glReadPixels(static_cast<GLint>(std::lround(w.x)), static_cast<GLint>(std::lround(w.y)), 1, 1,
                 GL_DEPTH_COMPONENT, GL_FLOAT, &stored);
    result.Visible = stored > w.z;
    return result;
}

} // namespace ra7
