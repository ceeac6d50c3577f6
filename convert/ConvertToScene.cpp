#include "ConvertToScene.h"

#include "EditConvert.h"
#include "GMSReader.h"

#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Errors.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "runtime/PathResolver.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace ra7 {

namespace {

std::unique_ptr<KaMesh> makeMesh(MeshArrays arrays, std::string name)
{
    auto mesh = std::make_unique<KaMesh>();
    mesh->Name = std::move(name);
    mesh->Vertices = std::move(arrays.Vertices);
    mesh->Normals = std::move(arrays.Normals);
    mesh->TexCoords = std::move(arrays.TexCoords);
    mesh->Tangents = std::move(arrays.Tangents);
    mesh->Binormals = std::move(arrays.Binormals);
    mesh->Indices = std::move(arrays.Indices);
    mesh->VertexCount = static_cast<std::int32_t>(mesh->Vertices.size());
    mesh->IndexCount = static_cast<std::int32_t>(mesh->Indices.size());
    return mesh;
}

void writeMeshFile(const KaMesh& mesh)
{
    RecordWriter file(mesh.Name);
    mesh.SaveToFile(file);
    file.commit();
}

bool fileExists(std::string_view storedName)
{
    std::error_code error;
    return std::filesystem::is_regular_file(resolvePath(storedName), error);
}

std::string joinStored(std::string_view directory, std::string_view name)
{
    return directory.empty() ? std::string(name) : std::string(directory) + "\\" + std::string(name);
}

// The texture of an MTL entry in the mesh folder, where the material names
// it: found there already, or copied from beside the model (where the MTL
// file found it). False, with a "! " line, when it is in neither place.
bool textureInMeshFolder(const TMaterial& entry, const std::string& texture)
{
    if (fileExists(texture))
        return true;
    if (entry.MapPath.empty()) {
        LogLine("! Текстура " + entry.MapName + " материала " + entry.Name +
                " не найдена ни рядом с моделью, ни в " + texture);
        return false;
    }
    std::error_code error;
    std::filesystem::copy_file(entry.MapPath, resolvePath(texture), error);
    if (error) {
        LogLine("! Текстура " + entry.MapPath.string() + " не скопирована в " + texture + ": " +
                error.message());
        return false;
    }
    LogLine("- Текстура " + entry.MapPath.string() + " скопирована в " + texture);
    return true;
}

// The material of one MTL entry. The shininess is taken by the caller
// before anything of the group is written.
KaMaterial makeMaterial(const TMaterial& entry, std::int32_t shininess, std::string_view directory)
{
    KaMaterial material;
    material.Name = Materials->MakeUniqueName(entry.Name);
    material.Ambient = {entry.Ambient.x, entry.Ambient.y, entry.Ambient.z, 1};
    material.Diffuse = {entry.Diffuse.x, entry.Diffuse.y, entry.Diffuse.z, 1};
    material.Specular = {entry.Specular.x, entry.Specular.y, entry.Specular.z, 1};
    material.Shininess = static_cast<std::uint8_t>(shininess);
    if (entry.MapName.empty())
        return material;
    const std::string texture = joinStored(directory, entry.MapName);
    if (!textureInMeshFolder(entry, texture)) {
        material.Textures[0].clear();
        return material;
    }
    material.Textures[0] = texture;
    try {
        if (Textures)
            Textures->Add(texture);
    } catch (const Error& e) {
        // The name stays: the file is there and may be replaced by a readable one.
        LogLine("! " + texture + ": " + e.what());
    }
    return material;
}

std::string objectNameFor(const std::string& groupName)
{
    return SceneObjects->MakeUniqueName(groupName.empty() ? std::string("GROUP") : groupName);
}

// A main box around the mesh instead of the unit box at the origin, so that
// view-volume culling does not drop a model larger than one unit.
void fitMainBox(KaGeometry& geometry, const KaGeomData3& vertices)
{
    const std::optional<KaBounds> bounds = BoundsOf(vertices);
    if (!bounds)
        return;
    const Vector3& low = bounds->Min;
    const Vector3& high = bounds->Max;
    auto box = std::make_unique<KaBoundingAABB>(VectorScale(VectorSub(high, low), 0.5f));
    box->LocalTrans.Position = VectorScale(VectorAdd(high, low), 0.5f);
    geometry.Bounds->Main = std::move(box);
}

std::unique_ptr<KaGeometry> makeGeometry(const std::string& name, const KaMesh& mesh,
                                         const std::string& materialName)
{
    const std::string& meshName = mesh.Name;
    auto geometry = std::make_unique<KaGeometry>();
    fitMainBox(*geometry, mesh.Vertices);
    geometry->SetName(name);
    geometry->MeshName = meshName;
    geometry->MeshLod1 = meshName;
    geometry->MeshLod2 = meshName;
    geometry->MaterialName = materialName;
    return geometry;
}

} // namespace

ConversionResult ConvertOBJModel(const TModel& model, std::string_view directory,
                                 const ModelMessageBox& showMessage)
{
    ConversionResult result;
    if (!IsTriangulated(model)) {
        LogLine(std::string("! ") + kNotTriangulatedMessage);
        if (showMessage)
            showMessage("Конвертер", kNotTriangulatedMessage);
        return result;
    }
    for (const GroupMeshPlan& plan : PlanGroupMeshes(model, directory)) {
        const TGroup& group = model.Groups[plan.Group];
        const bool hasMaterial =
            model.HasMaterials && group.MaterialIndex > 0 && group.MaterialIndex <= model.MaterialCount;
        const TMaterial* entry = hasMaterial ? &model.Materials[group.MaterialIndex] : nullptr;
        const std::int32_t shininess = entry ? MaterialShininess(*entry) : 0;

        auto mesh = makeMesh(BuildGroupMesh(model, plan.Group), plan.MeshName);
        writeMeshFile(*mesh);
        if (KaMesh* added = Meshes->AddCopy(*mesh); added && Settings.UseVBO)
            added->Upload();
        result.MeshNames.push_back(mesh->Name);

        std::string materialName;
        if (entry) {
            const KaMaterial material = makeMaterial(*entry, shininess, directory);
            Materials->AddCopy(material);
            materialName = material.Name;
            result.MaterialNames.push_back(materialName);
        }
        auto geometry = makeGeometry(objectNameFor(group.Name), *mesh, materialName);
        result.ObjectNames.push_back(geometry->Name());
        SceneObjects->Add(std::move(geometry));
    }
    return result;
}

ConversionResult LoadGMS(std::string_view fileName)
{
    ConversionResult result;
    std::vector<GmsObject> objects;
    auto addObjects = [&] {
        for (GmsObject& object : objects) {
            auto mesh = makeMesh(std::move(object.Mesh), object.Name + "Mesh");
            Meshes->AddCopy(*mesh);
            result.MeshNames.push_back(mesh->Name);
            auto geometry = makeGeometry(SceneObjects->MakeUniqueName(object.Name), *mesh, {});
            geometry->Trans->Position = object.Position;
            result.ObjectNames.push_back(geometry->Name());
            SceneObjects->Add(std::move(geometry));
        }
    };
    try {
        ReadGMS(fileName, objects);
    } catch (...) {
        addObjects(); // the objects read before the damage stay
        throw;
    }
    addObjects();
    return result;
}

} // namespace ra7
