#include "DataGenerator.h"
#include "MeshShapes.h"

#include "resources/Ka7Material.h"
#include "resources/Ka7MaterialList.h"
#include "scene/Ka7BoundingVolume.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <filesystem>

namespace ra7::datagen {

namespace {

constexpr const char* kArrowMesh = "data\\arrow\\arrow.mes";
constexpr const char* kCameraMesh = "data\\arrow\\camera.mes";

// An arrow along +x, one unit long: a thin shaft and a cone for the head.
std::unique_ptr<KaMesh> ArrowMesh()
{
    auto mesh = std::make_unique<KaMesh>();
    AppendCylinderX(*mesh, 0.0f, 0.75f, 0.03f, 12);
    AppendConeX(*mesh, 0.75f, 1.0f, 0.08f, 16);
    return FinishMesh(std::move(mesh), kArrowMesh);
}

// A small camera looking along -z: a body and a lens tube in front of it.
std::unique_ptr<KaMesh> CameraMesh()
{
    auto mesh = std::make_unique<KaMesh>();
    AppendBox(*mesh, {0, 0, 0.1f}, {0.2f, 0.15f, 0.25f});
    KaMesh lens;
    AppendCylinderX(lens, 0.0f, 0.2f, 0.08f, 16);
    // Turn the tube from +x to -z: (x, y, z) -> (-z, y, -x), shifted to the body's front.
    for (Vector3& v : lens.Vertices)
        v = {-v.z, v.y, -v.x - 0.15f};
    for (Vector3& n : lens.Normals)
        n = {-n.z, n.y, -n.x};
    mesh->Vertices.insert(mesh->Vertices.end(), lens.Vertices.begin(), lens.Vertices.end());
    mesh->Normals.insert(mesh->Normals.end(), lens.Normals.begin(), lens.Normals.end());
    mesh->TexCoords.insert(mesh->TexCoords.end(), lens.TexCoords.begin(), lens.TexCoords.end());
    return FinishMesh(std::move(mesh), kCameraMesh);
}

KaMaterial FlatMaterial(const std::string& name, const KaColor& colour)
{
    KaMaterial material;
    material.Name = name;
    material.Colour = colour;
    material.Ambient = colour;
    material.Diffuse = colour;
    material.Specular = {0.2f, 0.2f, 0.2f, 1};
    material.Shininess = 32;
    return material;
}

std::unique_ptr<KaGeometry> Template(const std::string& name, const std::string& mesh,
                                     const std::string& material, const Vector3& boxHalf)
{
    auto geometry = std::make_unique<KaGeometry>();
    geometry->SetName(name);
    geometry->MeshName = mesh;
    geometry->MaterialName = material;
    geometry->Bounds->Main = std::make_unique<KaBoundingAABB>(boxHalf);
    return geometry;
}

} // namespace

void WriteHelperScene()
{
    std::filesystem::create_directories("data/arrow");
    SaveMesh(*ArrowMesh());
    SaveMesh(*CameraMesh());

    KaMaterialList materials;
    materials.AddCopy(FlatMaterial("arrowmat", {0.9f, 0.9f, 0.2f, 1}));
    materials.AddCopy(FlatMaterial("cameramat", {0.3f, 0.3f, 0.35f, 1}));

    KaObjArray scene;
    scene.SetMaterialCatalog(&materials);
    scene.Add(Template("arrow", kArrowMesh, "arrowmat", {1, 0.1f, 0.1f}));
    scene.Add(Template("camera", kCameraMesh, "cameramat", {0.3f, 0.2f, 0.4f}));
    scene.SaveObjects(
        "data\\arrow\\editorData.kgf", {0, 1},
        {std::string("addmesh <") + kArrowMesh + ">", std::string("addmesh <") + kCameraMesh + ">"});
}

} // namespace ra7::datagen
