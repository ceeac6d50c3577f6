// The editor's markers of lights and sound sources, and the light's hand-over
// to the driver's first light.
#include "effects/Ka7Light.h"
#include "effects/Ka7Sound.h"
#include "resources/DrawState.h"

#include <epoxy/gl.h>

namespace ra7 {
namespace {

// A point of size 10 at the origin and a cross of half-length 0.2.
void drawMarker(const KaTransformation& where, const KaColor& point, const KaColor& cross)
{
    glPushMatrix();
    where.ApplyMatrix();
    glPointSize(10.0f);
    glColor4fv(point.data());
    glBegin(GL_POINTS);
    glVertex3f(0, 0, 0);
    glEnd();
    glColor4fv(cross.data());
    glBegin(GL_LINES);
    glVertex3f(0.2f, 0, 0);
    glVertex3f(-0.2f, 0, 0);
    glVertex3f(0, 0.2f, 0);
    glVertex3f(0, -0.2f, 0);
    glVertex3f(0, 0, 0.2f);
    glVertex3f(0, 0, -0.2f);
    glEnd();
    glPopMatrix();
}

} // namespace

void KaLight::Render()
{
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    drawMarker(*Trans, {1.0f, 1.0f, 0.5f, 1.0f}, {1.0f, 0.8f, 0.3f, 1.0f});
    glEnable(GL_LIGHTING);
}

void KaLight::ApplyLight() const
{
    CurrentLightName = Name();
    glEnable(GL_LIGHT0);
    // The driver takes the position through the current model-view matrix
    // (the camera's view) into eye space. A light with position stands at
    // its world position; a light without shines from the direction of its
    // position vector, as the lighting programs read it.
    glPushMatrix();
    GLfloat position[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    if (Static) {
        position[0] = Trans->Position.x;
        position[1] = Trans->Position.y;
        position[2] = Trans->Position.z;
        position[3] = 0.0f;
    } else {
        Trans->ApplyMatrix();
    }
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightfv(GL_LIGHT0, GL_AMBIENT, Ambient.data());
    glLightfv(GL_LIGHT0, GL_DIFFUSE, Diffuse.data());
    glLightfv(GL_LIGHT0, GL_SPECULAR, Specular.data());
    glPopMatrix();
}

void KaSound::Render()
{
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    drawMarker(*Trans, {0.0f, 1.0f, 0.5f, 1.0f}, {0.0f, 1.0f, 0.3f, 1.0f});
    glEnable(GL_LIGHTING);
}

} // namespace ra7
