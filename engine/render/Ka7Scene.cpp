#include "render/Ka7Scene.h"

#include "effects/Ka7Light.h"
#include "effects/Ka7ParSystem.h"
#include "effects/Ka7Sprite.h"
#include "render/Ortho2D.h"
#include "render/RenderTargets.h"
#include "resources/DrawState.h"
#include "resources/Ka7Shaders.h"
#include "runtime/GLChecks.h"
#include "runtime/Ka7GlobalEngine.h"
#include "scene/Ka7Camera.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <epoxy/gl.h>

#include <cmath>

namespace ra7 {

std::unique_ptr<KaScene> Scene;

namespace {

// The texture coordinates stay off the borders so that the faces' edges do
// not sample the clamped border texels.
constexpr float kLo = 0.001f;
constexpr float kHi = 0.999f;

struct SkyCorner {
    float s, t;
    float x, y, z;
};

template <class T>
T* objectAt(std::int32_t index)
{
    return static_cast<T*>(SceneObjects->GetItem(index));
}

Vector3 cameraPosition(const KaCamera* camera)
{
    return camera && camera->Trans ? camera->Trans->Position : kZeroVector;
}

// The visibility of a geometry's bounding volume against the active
// camera's view volume; everything is visible without a camera.
bool geometryVisible(KaGeometry& geometry, const KaCamera* camera)
{
    if (!camera || !geometry.Bounds)
        return true;
    return geometry.Bounds->TestFrustum(camera->Frustum, *geometry.Trans);
}

bool shapeVisible(KaBoundingObj* shape, const KaTransformation& placement, const KaCamera* camera)
{
    if (!camera || !shape)
        return true;
    return shape->TestFrustum(camera->Frustum, placement);
}

// The object's rotation at its position moved by `offset`.
KaTransformation shiftedPlacement(const KaSceneObj& object, const Vector3& offset)
{
    KaTransformation placement;
    placement.Rotation = object.Trans->Rotation;
    placement.Position = VectorAdd(object.Trans->Position, offset);
    return placement;
}

void attachColour(std::uint32_t texture)
{
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture, 0);
}

} // namespace

void KaScene::drawSkyBox() const
{
    static constexpr SkyCorner kFaces[6][4] = {
        {{kLo, kHi, -1, 1, 1}, {kHi, kHi, 1, 1, 1}, {kHi, kLo, 1, -1, 1}, {kLo, kLo, -1, -1, 1}},
        {{kHi, kHi, -1, 1, -1}, {kHi, kLo, -1, -1, -1}, {kLo, kLo, 1, -1, -1}, {kLo, kHi, 1, 1, -1}},
        {{kLo, kHi, -1, 1, -1}, {kHi, kHi, -1, 1, 1}, {kHi, kLo, -1, -1, 1}, {kLo, kLo, -1, -1, -1}},
        {{kLo, kHi, 1, 1, 1}, {kHi, kHi, 1, 1, -1}, {kHi, kLo, 1, -1, -1}, {kLo, kLo, 1, -1, 1}},
        {{kHi, kLo, -1, 1, 1}, {kLo, kLo, -1, 1, -1}, {kLo, kHi, 1, 1, -1}, {kHi, kHi, 1, 1, 1}},
        {{kHi, kLo, 1, -1, 1}, {kLo, kLo, 1, -1, -1}, {kLo, kHi, -1, -1, -1}, {kHi, kHi, -1, -1, 1}},
    };
    const std::uint32_t textures[6] = {SkyFront, SkyBack, SkyRight, SkyLeft, SkyUp, SkyDown};
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);
    for (int face = 0; face < 6; ++face) {
        glBindTexture(GL_TEXTURE_2D, textures[face]);
        glBegin(GL_QUADS);
        for (const SkyCorner& corner : kFaces[face]) {
            glTexCoord2f(corner.s, corner.t);
            glVertex3f(corner.x, corner.y, corner.z);
        }
        glEnd();
    }
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
}

void KaScene::RenderStatic()
{
    const KaCamera* camera = SceneObjects->ActiveCamera();
    const Vector3 eye = cameraPosition(camera);
    const bool useLod = Settings.UseLod;
    Settings.UseLod = false;
    glDepthMask(GL_FALSE);
    glPushMatrix();
    glTranslatef(eye.x, eye.y, eye.z);
    if (SkyBox)
        drawSkyBox();
    // The lights are applied under the camera-centred matrix, as the objects are drawn.
    lit_.Clear();
    for (const std::int32_t index : SceneObjects->StaticGeomList) {
        KaGeometry* geometry = objectAt<KaGeometry>(index);
        if (geometryVisible(*geometry, camera))
            lit_.Add(*geometry, geometry->Trans->Position);
    }
    lit_.Draw();
    for (const std::int32_t index : SceneObjects->StaticParSysList) {
        KaParSystem* system = objectAt<KaParSystem>(index);
        if (shapeVisible(system->Bounds.get(), shiftedPlacement(*system, eye), camera))
            system->Render();
    }
    glPopMatrix();
    glDepthMask(GL_TRUE);
    Settings.UseLod = useLod;
}

void KaScene::RenderOpaque()
{
    // No marker for the camera the view looks through either: its wire model
    // stands at the eye and would cut across the picture. The editor's camera
    // loses the name "cam1" when a loaded scene brings a camera of that name.
    const KaCamera* viewer = SceneObjects->ActiveCamera();
    for (std::int32_t i = 0; i < SceneObjects->Count(); ++i) {
        KaSceneObj* object = SceneObjects->GetItem(i);
        if (!object || !ShowMarkers)
            continue;
        const KaObjKind kind = object->Kind();
        if (kind != KaObjKind::Sound && kind != KaObjKind::Light && kind != KaObjKind::Camera)
            continue;
        if (object->Name() != "cam1" && object != viewer)
            object->Render();
    }
    const KaCamera* camera = SceneObjects->ActiveCamera();
    lit_.Clear();
    for (const std::int32_t index : SceneObjects->GeomList) {
        KaGeometry* geometry = objectAt<KaGeometry>(index);
        if (geometryVisible(*geometry, camera))
            lit_.Add(*geometry, geometry->Trans->Position);
    }
    lit_.Draw();
}

void KaScene::RenderEffects()
{
    const KaCamera* camera = SceneObjects->ActiveCamera();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    for (const std::int32_t index : SceneObjects->SpriteList) {
        KaSprite* sprite = objectAt<KaSprite>(index);
        InFrustum = shapeVisible(sprite->Bounds.get(), *sprite->Trans, camera);
        sprite->Render();
    }
    for (const std::int32_t index : SceneObjects->ParSysList) {
        KaParSystem* system = objectAt<KaParSystem>(index);
        if (shapeVisible(system->Bounds.get(), *system->Trans, camera))
            system->Render();
    }
    const Vector3 eye = cameraPosition(camera);
    glPushMatrix();
    glTranslatef(eye.x, eye.y, eye.z);
    for (const std::int32_t index : SceneObjects->StaticSpriteList) {
        KaSprite* sprite = objectAt<KaSprite>(index);
        InFrustum = shapeVisible(sprite->Bounds.get(), shiftedPlacement(*sprite, eye), camera);
        sprite->Render();
    }
    glPopMatrix();
    InFrustum = false;
    glDisable(GL_BLEND);
}

void KaScene::RenderBounds(std::string_view selected)
{
    const KaCamera* active = SceneObjects->ActiveCamera();
    const Vector3 eye = cameraPosition(active);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (std::int32_t i = 0; i < SceneObjects->Count(); ++i) {
        KaSceneObj* object = SceneObjects->GetItem(i);
        if (!object)
            continue;
        const float red = object->Name() == selected ? 10.0f : 0.2f;
        glColor4f(red, 0.2f, 0.2f, 1.0f);
        const KaTransformation placement = shiftedPlacement(*object, object->Static ? eye : kZeroVector);
        switch (object->Kind()) {
        case KaObjKind::Geometry:
            if (auto& bounds = static_cast<KaGeometry*>(object)->Bounds)
                bounds->Render(placement);
            break;
        case KaObjKind::ParSystem:
            if (auto& bounds = static_cast<KaParSystem*>(object)->Bounds)
                bounds->Render(placement);
            break;
        case KaObjKind::Camera:
            if (object != active)
                if (auto& bounds = static_cast<KaCamera*>(object)->Bounds)
                    bounds->Render(placement);
            break;
        default:
            break;
        }
    }
    glDisable(GL_BLEND);
}

void KaScene::RenderBlended()
{
    const KaCamera* camera = SceneObjects->ActiveCamera();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    MultiPass = true;
    for (const std::int32_t index : SceneObjects->BlendGeomList) {
        KaGeometry* geometry = objectAt<KaGeometry>(index);
        if (geometryVisible(*geometry, camera))
            geometry->Render();
    }
    MultiPass = false;
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

void KaScene::DrawFullScreenQuad()
{
    const auto w = static_cast<float>(Settings.ScreenWidth);
    const auto h = static_cast<float>(Settings.ScreenHeight);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2f(0, h);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(w, 0);
    glTexCoord2f(1, 1);
    glVertex2f(w, h);
    glEnd();
}

void KaScene::RenderBloom()
{
    if (!Settings.UseFBO || BloomFramebuffer == 0)
        return;
    const auto size = static_cast<GLsizei>(Settings.BloomTextureSize);
    const float s = static_cast<float>(Settings.BloomTextureSize);
    // The host's window may itself be a framebuffer object (headless).
    GLint window = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &window);

    glViewport(0, 0, size, size);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, BloomFramebuffer);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                 BloomDepthBuffer);
    attachColour(BloomTextures[0]);
    CheckFramebuffer();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    const KaCamera* camera = SceneObjects->ActiveCamera();
    for (const auto* list : {&SceneObjects->GeomList, &SceneObjects->StaticGeomList})
        for (const std::int32_t index : *list) {
            KaGeometry* geometry = objectAt<KaGeometry>(index);
            if (geometryVisible(*geometry, camera))
                geometry->RenderSelfIllumination();
        }
    RenderBlended();

    KaShader* bright = Shaders ? Shaders->Find("bright_pass") : nullptr;
    if (Settings.UseBloomBrightPass && bright) {
        attachColour(BloomTextures[1]);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        RenderOpaque();
        Enter2DMode();
        bright->Enable();
        attachColour(BloomTextures[2]);
        glBindTexture(GL_TEXTURE_2D, BloomTextures[1]);
        DrawFullScreenQuad();
        bright->Disable();
        attachColour(BloomTextures[0]);
        glBlendFunc(GL_ONE, GL_ONE);
        glEnable(GL_BLEND);
        glBindTexture(GL_TEXTURE_2D, BloomTextures[2]);
        DrawFullScreenQuad();
        glDisable(GL_BLEND);
    } else {
        Enter2DMode();
    }

    if (KaShader* blur = Shaders ? Shaders->Find("blur") : nullptr) {
        blur->Enable();
        const KaUniform* offset = blur->FindUniform("blur_offset");
        struct BlurPass {
            int target, source;
            float x, y, k;
        };
        const BlurPass passes[4] = {
            {1, 0, 2 / s, 0, 3.2f}, {0, 1, 0, 2 / s, 3.2f}, {1, 0, 1 / s, 0, 2.6f}, {0, 1, 0, 1 / s, 2.6f}};
        glEnable(GL_TEXTURE_2D);
        for (const BlurPass& pass : passes) {
            attachColour(BloomTextures[static_cast<std::size_t>(pass.target)]);
            glBindTexture(GL_TEXTURE_2D, BloomTextures[static_cast<std::size_t>(pass.source)]);
            if (offset)
                glUniform3fARB(offset->Location, pass.x, pass.y, pass.k);
            DrawFullScreenQuad();
        }
        blur->Disable();
    }
    Leave2DMode();
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(window));
    ResetProjection();
}

void KaScene::DrawBloom()
{
    if (!Settings.UseGLSL || BloomTextures[0] == 0)
        return;
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, BloomTextures[0]);
    DrawFullScreenQuad();
    DrawFullScreenQuad();
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_BLEND);
}

} // namespace ra7
