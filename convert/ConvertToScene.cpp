#include "ConvertToScene.h"

#include "EditConvert.h"
#include "GMSReader.h"
#include "MeshFiles.h"
#include "WorkProgress.h"

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

// The group's MTL entry, or nothing when the group has no material.
const TMaterial* materialEntry(const TModel& model, const TGroup& group)
{
    const bool hasMaterial =
        model.HasMaterials && group.MaterialIndex > 0 && group.MaterialIndex <= model.MaterialCount;
    return hasMaterial ? &model.Materials[group.MaterialIndex] : nullptr;
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

// Makes sure the entry's texture will be in the mesh folder, where the
// material names it: there already, staged by an earlier group, or staged
// as a copy of the file the MTL library found beside the model. What it
// did, or why the slot will stay empty, goes to `prepared.TextureLines`.
void stageTexture(PreparedConversion& prepared, const TMaterial& entry)
{
    if (entry.MapName.empty())
        return;
    const std::string texture = joinStored(prepared.Directory, entry.MapName);
    if (fileExists(texture) || prepared.Files.Holds(texture))
        return;
    if (entry.MapPath.empty()) {
        prepared.TextureLines.push_back("! Текстура " + entry.MapName + " материала " + entry.Name +
                                        " не найдена ни рядом с моделью, ни в " + texture);
        return;
    }
    if (const std::error_code error = prepared.Files.StageCopy(texture, entry.MapPath)) {
        prepared.TextureLines.push_back("! Текстура " + entry.MapPath.string() + " не скопирована в " +
                                        texture + ": " + error.message());
        return;
    }
    prepared.TextureLines.push_back("- Текстура " + entry.MapPath.string() + " скопирована в " + texture);
}

// The material of one MTL entry, with the shininess MaterialShininess gave.
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
    if (!fileExists(texture)) { // neither there nor copied: stageTexture said why
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

// Appends the mesh, or puts it in the place of the mesh of the same name,
// which comes back. Uploaded with USE VBO.
std::unique_ptr<KaMesh> placeMesh(std::unique_ptr<KaMesh> mesh)
{
    std::unique_ptr<KaMesh> replaced;
    KaMesh* placed = mesh.get();
    const std::int32_t index = Meshes->IndexOf(mesh->Name);
    if (index >= 0) {
        replaced = Meshes->Take(index);
        Meshes->InsertAt(index, std::move(mesh));
    } else {
        Meshes->Add(std::move(mesh));
    }
    if (Settings.UseVBO)
        placed->Upload();
    return replaced;
}

} // namespace

PreparedConversion::PreparedConversion() = default;
PreparedConversion::~PreparedConversion() = default;
PreparedConversion::PreparedConversion(PreparedConversion&&) noexcept = default;
PreparedConversion& PreparedConversion::operator=(PreparedConversion&&) noexcept = default;

PreparedConversion PrepareOBJConversion(const TModel& model, std::string_view directory,
                                        WorkProgress* progress)
{
    PreparedConversion prepared;
    prepared.Directory = directory;
    const std::vector<GroupMeshPlan> plans = PlanGroupMeshes(model, directory);
    BeginWork(progress, "Конвертация " + model.Name, static_cast<std::int64_t>(plans.size()));
    for (const GroupMeshPlan& plan : plans) {
        const TGroup& group = model.Groups[plan.Group];
        PreparedGroup part;
        part.Group = plan.Group;
        part.Mesh = makeMesh(BuildGroupMesh(model, plan.Group), plan.MeshName);
        StageMesh(prepared.Files, *part.Mesh);
        if (const TMaterial* entry = materialEntry(model, group))
            stageTexture(prepared, *entry);
        prepared.Groups.push_back(std::move(part));
        ReachWork(progress, static_cast<std::int64_t>(prepared.Groups.size()));
    }
    return prepared;
}

ConversionResult AddConvertedModel(const TModel& model, PreparedConversion& prepared)
{
    ConversionResult result;
    for (const std::string& line : prepared.TextureLines)
        LogLine(line);
    prepared.TextureLines.clear();
    for (PreparedGroup& part : prepared.Groups) {
        const TGroup& group = model.Groups[part.Group];
        const TMaterial* entry = materialEntry(model, group);
        std::string materialName;
        if (entry) {
            const std::int32_t texturesBefore = Textures ? Textures->Count() : 0;
            const KaMaterial material = makeMaterial(*entry, MaterialShininess(*entry), prepared.Directory);
            for (std::int32_t t = texturesBefore; Textures && t < Textures->Count(); ++t)
                result.TextureNames.push_back(Textures->Get(t).FileName);
            Materials->AddCopy(material);
            materialName = material.Name;
            result.MaterialNames.push_back(materialName);
        }
        // The box is taken before an upload empties the arrays.
        auto geometry = makeGeometry(objectNameFor(group.Name), *part.Mesh, materialName);
        result.MeshNames.push_back(part.Mesh->Name);
        if (auto replaced = placeMesh(std::move(part.Mesh)))
            result.ReplacedMeshes.push_back(std::move(replaced));
        result.ObjectNames.push_back(geometry->Name());
        SceneObjects->Add(std::move(geometry));
    }
    prepared.Groups.clear();
    return result;
}

ConversionResult ConvertOBJModel(const TModel& model, std::string_view directory,
                                 const ModelMessageBox& showMessage)
{
    if (!IsTriangulated(model)) {
        LogLine(std::string("! ") + kNotTriangulatedMessage);
        if (showMessage)
            showMessage("Конвертер", kNotTriangulatedMessage);
        return {};
    }
    PreparedConversion prepared = PrepareOBJConversion(model, directory);
    prepared.Files.Commit();
    return AddConvertedModel(model, prepared);
}

std::string ConversionFolder(std::string_view chosenFolder)
{
    return storedForm(relativeToWorkingDirectory(resolvePath(chosenFolder)));
}

ConversionResult AddGmsObjects(std::vector<GmsObject>& objects)
{
    ConversionResult result;
    for (GmsObject& object : objects) {
        auto mesh = makeMesh(std::move(object.Mesh), object.Name + "Mesh");
        if (Meshes->AddCopy(*mesh))
            result.MeshNames.push_back(mesh->Name);
        auto geometry = makeGeometry(SceneObjects->MakeUniqueName(object.Name), *mesh, {});
        geometry->Trans->Position = object.Position;
        result.ObjectNames.push_back(geometry->Name());
        SceneObjects->Add(std::move(geometry));
    }
    objects.clear();
    return result;
}

ConversionResult LoadGMS(std::string_view fileName)
{
    std::vector<GmsObject> objects;
    try {
        ReadGMS(fileName, objects);
    } catch (...) {
        AddGmsObjects(objects); // the objects read before the damage stay
        throw;
    }
    return AddGmsObjects(objects);
}

} // namespace ra7
