// Sprite drawing: visibility, fading by the depth test and the view range,
// and the layers as camera-facing squares.
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7Sprite.h"
#include "resources/DrawState.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureList.h"
#include "runtime/FrameTime.h"
#include "scene/Ka7Camera.h"
#include "scene/PointProjection.h"

#include <epoxy/gl.h>

#include <algorithm>

namespace ra7 {
namespace {

Vector3 cameraPosition()
{
    const KaCamera* camera = ActiveCamera();
    return camera && camera->Trans ? camera->Trans->Position : kZeroVector;
}

KaShader* billboardProgram()
{
    return Shaders ? Shaders->Find("billboard") : nullptr;
}

} // namespace

void DrawBillboard(const Vector3& centre, float size)
{
    const float half = size / 10.0f;
    glProgramLocalParameter4fARB(GL_VERTEX_PROGRAM_ARB, 0, 1, 0, 0, 1);
    glProgramLocalParameter4fARB(GL_VERTEX_PROGRAM_ARB, 1, 0, 1, 0, 1);
    glBegin(GL_QUADS);
    glNormal3f(half, half, 0);
    glTexCoord2f(0, 0);
    glVertex3f(centre.x, centre.y, centre.z);
    glNormal3f(-half, half, 0);
    glTexCoord2f(1, 0);
    glVertex3f(centre.x, centre.y, centre.z);
    glNormal3f(-half, -half, 0);
    glTexCoord2f(1, 1);
    glVertex3f(centre.x, centre.y, centre.z);
    glNormal3f(half, -half, 0);
    glTexCoord2f(0, 1);
    glVertex3f(centre.x, centre.y, centre.z);
    glEnd();
}

void KaSprite::Render()
{
    const float step = 0.005f * FrameTime;
    const Vector3 position = Trans->Position;
    InView = InFrustum ? 1 : 0;

    KaLensFlare* flare = nullptr;
    if (!FlareName.empty()) {
        flare = LensFlares ? LensFlares->Find(FlareName) : nullptr;
        if (!flare)
            return;
        const PointProjection seen = PointVisible(position);
        InView = seen.Visible ? 1 : 0;
        ScreenPos = seen.Window;
    }

    float d2 = 0.0f;
    if (InView && ViewRange != 0.0f) {
        d2 = DistanceSqr(cameraPosition(), position);
        if (d2 > ViewRange * ViewRange) {
            InView = 0;
            if (flare)
                FlareBrightness = 0.0f;
            if (Color1[3] <= 0.0f)
                return;
        }
    }

    if (ZTest) {
        if (InView && FlareName.empty())
            InView = PointVisible(position).Visible ? 1 : 0;
        if (InView) {
            Color1[3] += step;
        } else {
            Color1[3] -= step;
            if (flare)
                FlareBrightness -= step;
        }
        Color1[3] = std::clamp(Color1[3], 0.0f, 1.0f);
        FlareBrightness = std::clamp(FlareBrightness, 0.0f, 1.0f);
        Color2[3] = Color1[3];
        Color3[3] = Color1[3];
    }

    if (InView && ViewRange != 0.0f) {
        if (Color1[3] < 1.0f)
            Color1[3] += step;
        if (flare)
            FlareBrightness = (ViewRange * ViewRange / (d2 * flare->DistanceScale) - 0.01f) * Size1 / 3.0f;
    }

    if (AlwaysRendered)
        glDepthFunc(GL_ALWAYS);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    KaShader* program = billboardProgram();
    if (program)
        program->Enable();
    const struct {
        float size;
        const std::string& texture;
        const KaColor& colour;
    } layers[] = {{Size1, Texture1, Color1}, {Size2, Texture2, Color2}, {Size3, Texture3, Color3}};
    for (const auto& layer : layers) {
        // A texture that is not loaded skips its layer.
        if (layer.size <= 0.0f || layer.texture.empty() || !Textures || !Textures->Find(layer.texture))
            continue;
        Textures->BindByName(layer.texture);
        glColor4fv(layer.colour.data());
        DrawBillboard(position, layer.size);
    }
    if (program)
        program->Disable();
    glBindTexture(GL_TEXTURE_2D, 0);
    if (AlwaysRendered)
        glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

} // namespace ra7
