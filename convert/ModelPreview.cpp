#include "ModelPreview.h"

#include "resources/Ka7TextureList.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Log.h"

#include <epoxy/gl.h>

#include <algorithm>

namespace ra7 {

namespace {

void setColour(GLenum which, const Vector3& colour)
{
    const GLfloat rgba[4] = {colour.x, colour.y, colour.z, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, which, rgba);
}

// Fixed-function colours and texture of the group's material.
void applyMaterial(const TModel& model, const TGroup& group)
{
    const bool known = group.MaterialIndex > 0 && group.MaterialIndex <= model.MaterialCount;
    const TMaterial& material = model.Materials[known ? group.MaterialIndex : 0];
    setColour(GL_DIFFUSE, material.Diffuse);
    setColour(GL_SPECULAR, material.Specular);
    setColour(GL_AMBIENT, material.Ambient);
    // MTL exponents reach 1000; OpenGL refuses more than 128.
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(material.Shininess, 0.0f, 128.0f));
    if (!material.MapName.empty()) {
        glEnable(GL_TEXTURE_2D);
        if (Textures)
            Textures->BindByName(material.MapPath.string());
        else
            glBindTexture(GL_TEXTURE_2D, 0);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
}

GLenum primitiveFor(std::int32_t corners)
{
    if (corners == 3)
        return GL_TRIANGLES;
    return corners == 4 ? GL_QUADS : GL_POLYGON;
}

} // namespace

void LoadModelTextures(const TModel& model)
{
    if (!Textures)
        return;
    for (std::int32_t m = 1; m <= model.MaterialCount; ++m) {
        const TMaterial& material = model.Materials[m];
        if (material.MapPath.empty())
            continue;
        try {
            Textures->Add(material.MapPath.string());
        } catch (const Error& e) {
            LogLine("! " + material.MapPath.string() + ": " + e.what());
        }
    }
}

void DrawModel(const TModel& model)
{
    const bool normals = model.NormalCount > 0;
    const bool texCoords = model.TexCoordCount > 0;
    for (std::int32_t g = 1; g <= model.GroupCount; ++g) {
        const TGroup& group = model.Groups[g];
        if (model.HasMaterials)
            applyMaterial(model, group);
        for (std::int32_t f = 1; f <= group.FaceCount; ++f) {
            const TCorner* corners = group.FaceCorners(f);
            const std::int32_t count = group.Faces[f].Count;
            glBegin(primitiveFor(count));
            for (std::int32_t c = 0; c < count; ++c) {
                const TCorner& corner = corners[c];
                if (normals && corner.Normal != 0) {
                    const Vector3& n = model.Normals[corner.Normal];
                    glNormal3f(n.x, n.y, n.z);
                }
                if (texCoords && corner.TexCoord != 0) {
                    const Vector2& t = model.TexCoords[corner.TexCoord];
                    glTexCoord2f(t.x, t.y);
                }
                const Vector3& v = model.Vertices[corner.Vertex];
                glVertex3f(v.x, v.y, v.z);
            }
            glEnd();
        }
    }
    glDisable(GL_TEXTURE_2D);
}

} // namespace ra7
