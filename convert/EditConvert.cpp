#include "EditConvert.h"

#include "runtime/Ka7Log.h"
#include "runtime/TextCodec.h"
#include "runtime/TextUtil.h"

#include <cfenv>
#include <cmath>

#include <set>

namespace ra7 {

bool IsTriangulated(const TModel& model)
{
    for (std::int32_t g = 1; g <= model.GroupCount; ++g) {
        const TGroup& group = model.Groups[g];
        for (std::int32_t f = 1; f <= group.FaceCount; ++f)
            if (group.Faces[f].Count > 3)
                return false;
    }
    return true;
}

void ScaleModel(TModel& model, float factor)
{
    if (factor == 1.0f)
        return;
    for (std::int32_t v = 1; v <= model.VertexCount; ++v)
        model.Vertices[v] = VectorScale(model.Vertices[v], factor);
}

bool IsUsableScale(float factor)
{
    return std::isfinite(factor) && factor > 0.0f;
}

std::int64_t ModelFaceCount(const TModel& model)
{
    std::int64_t faces = 0;
    for (std::int32_t g = 1; g <= model.GroupCount; ++g)
        faces += model.Groups[g].FaceCount;
    return faces;
}

namespace {

Vector3 faceNormal(const Vector3& a, const Vector3& b, const Vector3& c)
{
    const Vector3 e1 = VectorSub(b, a);
    const Vector3 e2 = VectorSub(c, a);
    Vector3 n{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
    VectorNormalize(n);
    return n;
}

} // namespace

MeshArrays BuildGroupMesh(const TModel& model, std::int32_t group)
{
    MeshArrays mesh;
    const TGroup& source = model.Groups.at(group);
    const std::size_t corners = 3 * static_cast<std::size_t>(source.FaceCount);
    mesh.Vertices.reserve(corners);
    mesh.Normals.reserve(corners);
    mesh.TexCoords.reserve(corners);
    for (std::int32_t f = 1; f <= source.FaceCount; ++f) {
        const TCorner* c = source.FaceCorners(f);
        const Vector3 p[3] = {model.Vertices[c[0].Vertex], model.Vertices[c[1].Vertex],
                              model.Vertices[c[2].Vertex]};
        mesh.Vertices.insert(mesh.Vertices.end(), p, p + 3);
        const Vector3 flat = faceNormal(p[0], p[1], p[2]);
        for (int k = 0; k < 3; ++k)
            mesh.Normals.push_back(c[k].Normal != 0 ? model.Normals[c[k].Normal] : flat);
        for (int k = 0; k < 3; ++k)
            mesh.TexCoords.push_back(c[k].TexCoord != 0 ? model.TexCoords[c[k].TexCoord] : Vector2{});
    }
    mesh.Tangents.assign(mesh.Vertices.size(), kZeroVector);
    mesh.Binormals.assign(mesh.Vertices.size(), kZeroVector);
    mesh.Indices.resize(mesh.Vertices.size());
    for (std::size_t i = 0; i < mesh.Indices.size(); ++i)
        mesh.Indices[i] = static_cast<std::uint32_t>(i);
    return mesh;
}

std::int32_t MaterialShininess(const TMaterial& material)
{
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const float rounded = std::nearbyint(material.Shininess);
    std::fesetround(previous);
    if (rounded >= 0.0f && rounded <= 255.0f)
        return static_cast<std::int32_t>(rounded);
    // MTL allows 0 .. 1000 and exporters write values above 255: the engine's
    // byte takes the nearest value it can hold and the conversion goes on.
    const std::int32_t clamped = rounded > 255.0f ? 255 : 0;
    LogLine("! Материал " + material.Name + ": блеск Ns " + formatSingle(material.Shininess) +
            " вне 0..255, взято " + std::to_string(clamped));
    return clamped;
}

namespace {

// A group name as a file name: characters that would lead into another folder
// or that file systems refuse become "_"; an empty name becomes "GROUP".
std::string fileStem(const std::string& groupName)
{
    std::string stem = groupName;
    for (char& c : stem)
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
            c == '|' || static_cast<unsigned char>(c) < ' ')
            c = '_';
    if (stem.empty() || stem == "." || stem == "..")
        stem = "GROUP" + stem;
    return stem;
}

} // namespace

std::vector<GroupMeshPlan> PlanGroupMeshes(const TModel& model, std::string_view directory)
{
    // File names compare without regard to case, as on the systems the files
    // travel to. Every group's own name is reserved first, so that a group
    // really called "BOX_1" keeps its name when a second "BOX" needs another.
    std::set<std::string> reserved;
    for (std::int32_t g = 1; g <= model.GroupCount; ++g)
        if (model.Groups[g].FaceCount > 0)
            reserved.insert(foldCase(fileStem(model.Groups[g].Name)));
    std::set<std::string> taken;
    std::vector<GroupMeshPlan> plans;
    const std::string prefix = directory.empty() ? std::string() : std::string(directory) + "\\";
    for (std::int32_t g = 1; g <= model.GroupCount; ++g) {
        if (model.Groups[g].FaceCount == 0)
            continue;
        const std::string stem = fileStem(model.Groups[g].Name);
        std::string chosen = stem;
        if (taken.count(foldCase(chosen)) != 0) {
            for (int n = 1;; ++n) {
                chosen = stem + "_" + std::to_string(n);
                const std::string folded = foldCase(chosen);
                if (taken.count(folded) == 0 && reserved.count(folded) == 0)
                    break;
            }
        }
        taken.insert(foldCase(chosen));
        plans.push_back({g, prefix + chosen + ".mes"});
    }
    return plans;
}

} // namespace ra7
