// Particle drawing: every particle as a camera-facing square turned by its
// own angle, through the "billboard" vertex program.
#include "effects/Ka7ParSystem.h"
#include "resources/Ka7Shaders.h"
#include "resources/Ka7TextureList.h"

#include <epoxy/gl.h>

namespace ra7 {

void KaParSystem::Render()
{
    if (Count() == 0)
        return;
    if (!TextureName.empty()) {
        if (!Textures || !Textures->Find(TextureName))
            return;
        Textures->BindByName(TextureName);
    }
    KaShader* program = Shaders ? Shaders->Find("billboard") : nullptr;
    if (program)
        program->Enable();
    if (!TextureName.empty())
        Textures->BindByName(TextureName);
    glEnable(GL_TEXTURE_2D);
    glDepthMask(GL_FALSE);

    const auto [s0, t0, s1, t1] = TexRect;
    for (const KaParticle& p : Particles) {
        glColor4fv(p.Color.data());
        const float half = p.Size / 10.0f;
        glProgramLocalParameter4fARB(GL_VERTEX_PROGRAM_ARB, 0, p.Rot[0], p.Rot[1], 0, 1);
        glProgramLocalParameter4fARB(GL_VERTEX_PROGRAM_ARB, 1, p.Rot[2], p.Rot[3], 0, 1);
        const Vector3& c = p.Position;
        glBegin(GL_QUADS);
        glNormal3f(half, half, 0);
        glTexCoord2f(s0, t0);
        glVertex3f(c.x, c.y, c.z);
        glNormal3f(-half, half, 0);
        glTexCoord2f(s1, t0);
        glVertex3f(c.x, c.y, c.z);
        glNormal3f(-half, -half, 0);
        glTexCoord2f(s1, t1);
        glVertex3f(c.x, c.y, c.z);
        glNormal3f(half, -half, 0);
        glTexCoord2f(s0, t1);
        glVertex3f(c.x, c.y, c.z);
        glEnd();
    }

    glDepthMask(GL_TRUE);
    glDisable(GL_TEXTURE_2D);
    if (program)
        program->Disable();
}

} // namespace ra7
