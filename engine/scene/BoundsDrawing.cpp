// Wire drawings of the bounding shapes, for the renderer's bounds pass.
#include "scene/Ka7BoundingVolume.h"

#include <epoxy/gl.h>

#include <cmath>
#include <numbers>

namespace ra7 {
namespace {

constexpr int kSphereSlices = 10;
constexpr int kSphereStacks = 10;

Vector3 spherePoint(float radius, int slice, int stack)
{
    const float theta = 2.0f * std::numbers::pi_v<float> * static_cast<float>(slice) / kSphereSlices;
    const float phi = std::numbers::pi_v<float> * static_cast<float>(stack) / kSphereStacks;
    return {radius * std::sin(phi) * std::cos(theta), radius * std::sin(phi) * std::sin(theta),
            radius * std::cos(phi)};
}

} // namespace

void KaBoundingObj::Render(const KaTransformation&) const
{
}

void KaBoundingSphere::Render(const KaTransformation& owner) const
{
    // The wire style of a GLU sphere: a ring per stack and a meridian per slice,
    // around the offset turned with its owner, where the pairwise tests
    // (WorldTrans) take the sphere to be.
    Vector3 c = LocalTrans.Position;
    VectorTransform(c, owner.Rotation);
    c = VectorAdd(owner.Position, c);
    glPushMatrix();
    glTranslatef(c.x, c.y, c.z);
    for (int stack = 1; stack < kSphereStacks; ++stack) {
        glBegin(GL_LINE_LOOP);
        for (int slice = 0; slice < kSphereSlices; ++slice) {
            const Vector3 p = spherePoint(Radius, slice, stack);
            glVertex3f(p.x, p.y, p.z);
        }
        glEnd();
    }
    for (int slice = 0; slice < kSphereSlices; ++slice) {
        glBegin(GL_LINE_STRIP);
        for (int stack = 0; stack <= kSphereStacks; ++stack) {
            const Vector3 p = spherePoint(Radius, slice, stack);
            glVertex3f(p.x, p.y, p.z);
        }
        glEnd();
    }
    glPopMatrix();
}

void KaBoundingAABB::Render(const KaTransformation& owner) const
{
    // Every edge of the box in one strip (some twice).
    static constexpr int kSigns[16][3] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                          {-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1},
                                          {-1, 1, 1},   {1, 1, 1},   {1, -1, 1}, {-1, -1, 1},
                                          {1, -1, 1},   {1, -1, -1}, {1, 1, -1}, {1, 1, 1}};
    const Vector3 c = Centre(owner);
    glBegin(GL_LINE_STRIP);
    for (const auto& s : kSigns)
        glVertex3f(c.x + static_cast<float>(s[0]) * Size.x, c.y + static_cast<float>(s[1]) * Size.y,
                   c.z + static_cast<float>(s[2]) * Size.z);
    glEnd();
}

void KaBoundingVolume::Render(const KaTransformation& owner) const
{
    if (Main)
        Main->Render(owner);
    for (std::int32_t i = 0; i < Count(); ++i)
        Item(i).Render(owner);
}

} // namespace ra7
