// Drawing of geometry objects: the mesh of the chosen level of detail with
// the object's material, and the extra self-illumination pass.
#include "resources/DrawState.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Capabilities.h"
#include "runtime/Ka7GlobalEngine.h"
#include "scene/Ka7SceneGeom.h"

#include <epoxy/gl.h>

namespace ra7 {
namespace {

// The material named, else the default material: an empty name, and a
// material whose library is missing or not loaded yet (the geometry keeps
// that name, so that saving writes it back).
const KaMaterial* findMaterial(const std::string& name)
{
    const KaMaterial* material = name.empty() || !Materials ? nullptr : Materials->Find(name);
    return material ? material : DefaultMaterial.get();
}

} // namespace

void KaGeometry::Render()
{
    CurrentObjectName = Name();
    const LodChoice choice = ChooseLodMesh(*this, Settings.UseLod, SelfIllumPass);
    if (choice.mesh.empty() || !Meshes)
        return;
    KaMesh* mesh = Meshes->Find(choice.mesh);
    if (!mesh)
        return;
    const KaMaterial* material = nullptr;
    if (!SelfIllumPass) {
        material = findMaterial(MaterialName);
        if (!material)
            return;
        NoShaders = choice.noShaders;
        material->Apply();
    }
    NoShaders = false;

    glPushMatrix();
    Trans->ApplyMatrix();
    if (mesh->DisplayList() == 0)
        mesh->BuildDisplayList();
    glCallList(mesh->DisplayList());
    if (material)
        material->Unapply();
    glPopMatrix();
}

bool KaGeometry::PreparedDraw::Glows() const
{
    return material && !material->SelfIllumination.empty();
}

bool KaGeometry::PreparedDraw::Shaded() const
{
    return material && !noShaders && (!material->VertexShader.empty() || !material->FragmentShader.empty());
}

KaGeometry::PreparedDraw KaGeometry::PrepareDraw() const
{
    const LodChoice choice = ChooseLodMesh(*this, Settings.UseLod, false);
    if (choice.mesh.empty() || !Meshes)
        return {};
    KaMesh* mesh = Meshes->Find(choice.mesh);
    const KaMaterial* material = findMaterial(MaterialName);
    if (!mesh || !material)
        return {};
    if (mesh->DisplayList() == 0)
        mesh->BuildDisplayList();
    return {mesh, material, choice.noShaders, Trans->ModelMatrix()};
}

void KaGeometry::PreparedDraw::Draw() const
{
    glPushMatrix();
    glMultMatrixf(placement.data());
    glCallList(mesh->DisplayList());
    glPopMatrix();
}

void KaGeometry::RenderSelfIllumination()
{
    const KaMaterial* material = MaterialName.empty() || !Materials ? nullptr : Materials->Find(MaterialName);
    if (!material || material->SelfIllumination.empty())
        return;
    // The glow is not lit: it shows at the texture's own colours.
    const GLboolean lighting = glIsEnabled(GL_LIGHTING);
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    SelfIllumPass = true;
    if (HasMultitexture)
        glActiveTextureARB(GL_TEXTURE0_ARB);
    if (Textures)
        Textures->BindByName(material->SelfIllumination);
    glEnable(GL_TEXTURE_2D);
    Render();
    SelfIllumPass = false;
    if (lighting)
        glEnable(GL_LIGHTING);
}

} // namespace ra7
