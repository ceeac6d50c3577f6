#include "MeshShapes.h"

#include "math/DotMath.h"
#include "runtime/RecordFile.h"

#include <cmath>
#include <numbers>

namespace ra7::datagen {

namespace {

Vector3 sub(const Vector3& a, const Vector3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vector3 normalized(const Vector3& v)
{
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length < 1e-12f)
        return kZeroVector;
    return {v.x / length, v.y / length, v.z / length};
}

// One triangle, counter-clockwise seen from its front, with a flat normal.
void triangle(KaMesh& mesh, const Vector3& a, const Vector3& b, const Vector3& c, const Vector2& ta,
              const Vector2& tb, const Vector2& tc)
{
    const Vector3 normal = normalized(cross(sub(b, a), sub(c, a)));
    for (const auto& [v, t] : {std::pair{a, ta}, std::pair{b, tb}, std::pair{c, tc}}) {
        mesh.Vertices.push_back(v);
        mesh.Normals.push_back(normal);
        mesh.TexCoords.push_back(t);
    }
}

// A quad a-b-c-d counter-clockwise from the front, texture (0,0) (1,0) (1,1) (0,1) times `repeat`.
void quad(KaMesh& mesh, const Vector3& a, const Vector3& b, const Vector3& c, const Vector3& d,
          float repeat = 1)
{
    const Vector2 t0{0, 0}, t1{repeat, 0}, t2{repeat, repeat}, t3{0, repeat};
    triangle(mesh, a, b, c, t0, t1, t2);
    triangle(mesh, a, c, d, t0, t2, t3);
}

Vector3 ring(float x, float radius, int i, int sides)
{
    const float angle = 2 * std::numbers::pi_v<float> * static_cast<float>(i) / static_cast<float>(sides);
    return {x, radius * std::cos(angle), radius * std::sin(angle)};
}

Vector2 discCoord(int i, int sides)
{
    const float angle = 2 * std::numbers::pi_v<float> * static_cast<float>(i) / static_cast<float>(sides);
    return {0.5f + 0.5f * std::cos(angle), 0.5f + 0.5f * std::sin(angle)};
}

// The cap of a solid along x at x0, facing -x.
void backCap(KaMesh& mesh, float x0, float radius, int sides)
{
    const Vector3 centre{x0, 0, 0};
    for (int i = 0; i < sides; ++i)
        triangle(mesh, centre, ring(x0, radius, i + 1, sides), ring(x0, radius, i, sides), {0.5f, 0.5f},
                 discCoord(i + 1, sides), discCoord(i, sides));
}

} // namespace

void AppendBox(KaMesh& mesh, const Vector3& c, const Vector3& h)
{
    auto p = [&](float sx, float sy, float sz) {
        return Vector3{c.x + sx * h.x, c.y + sy * h.y, c.z + sz * h.z};
    };
    quad(mesh, p(-1, -1, 1), p(1, -1, 1), p(1, 1, 1), p(-1, 1, 1));     // +z
    quad(mesh, p(1, -1, -1), p(-1, -1, -1), p(-1, 1, -1), p(1, 1, -1)); // -z
    quad(mesh, p(1, -1, 1), p(1, -1, -1), p(1, 1, -1), p(1, 1, 1));     // +x
    quad(mesh, p(-1, -1, -1), p(-1, -1, 1), p(-1, 1, 1), p(-1, 1, -1)); // -x
    quad(mesh, p(-1, 1, 1), p(1, 1, 1), p(1, 1, -1), p(-1, 1, -1));     // +y
    quad(mesh, p(-1, -1, -1), p(1, -1, -1), p(1, -1, 1), p(-1, -1, 1)); // -y
}

void AppendCylinderX(KaMesh& mesh, float x0, float x1, float radius, int sides)
{
    for (int i = 0; i < sides; ++i) {
        const float u0 = static_cast<float>(i) / static_cast<float>(sides);
        const float u1 = static_cast<float>(i + 1) / static_cast<float>(sides);
        const Vector3 a = ring(x0, radius, i, sides), b = ring(x0, radius, i + 1, sides);
        const Vector3 c = ring(x1, radius, i + 1, sides), d = ring(x1, radius, i, sides);
        triangle(mesh, a, b, c, {u0, 0}, {u1, 0}, {u1, 1});
        triangle(mesh, a, c, d, {u0, 0}, {u1, 1}, {u0, 1});
    }
    backCap(mesh, x0, radius, sides);
    const Vector3 front{x1, 0, 0};
    for (int i = 0; i < sides; ++i)
        triangle(mesh, front, ring(x1, radius, i, sides), ring(x1, radius, i + 1, sides), {0.5f, 0.5f},
                 discCoord(i, sides), discCoord(i + 1, sides));
}

void AppendConeX(KaMesh& mesh, float x0, float x1, float radius, int sides)
{
    const Vector3 apex{x1, 0, 0};
    for (int i = 0; i < sides; ++i) {
        const float u0 = static_cast<float>(i) / static_cast<float>(sides);
        const float u1 = static_cast<float>(i + 1) / static_cast<float>(sides);
        triangle(mesh, ring(x0, radius, i, sides), ring(x0, radius, i + 1, sides), apex, {u0, 0}, {u1, 0},
                 {(u0 + u1) / 2, 1});
    }
    backCap(mesh, x0, radius, sides);
}

void AppendFloor(KaMesh& mesh, float half, float height, float repeat)
{
    quad(mesh, {-half, height, half}, {half, height, half}, {half, height, -half}, {-half, height, -half},
         repeat);
}

std::unique_ptr<KaMesh> FinishMesh(std::unique_ptr<KaMesh> mesh, const std::string& name)
{
    mesh->Name = name;
    const std::size_t count = mesh->Vertices.size();
    mesh->VertexCount = static_cast<std::int32_t>(count);
    mesh->IndexCount = mesh->VertexCount;
    mesh->Indices.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        mesh->Indices[i] = static_cast<std::uint32_t>(i);
    mesh->Tangents.assign(count, kZeroVector);
    mesh->Binormals.assign(count, kZeroVector);
    for (std::size_t t = 0; t + 2 < count; t += 3) {
        const Vector3 e1 = sub(mesh->Vertices[t + 1], mesh->Vertices[t]);
        const Vector3 e2 = sub(mesh->Vertices[t + 2], mesh->Vertices[t]);
        const Vector2 a = mesh->TexCoords[t], b = mesh->TexCoords[t + 1], c = mesh->TexCoords[t + 2];
        const float du1 = b.x - a.x, dv1 = b.y - a.y, du2 = c.x - a.x, dv2 = c.y - a.y;
        const float det = du1 * dv2 - du2 * dv1;
        if (std::fabs(det) < 1e-12f)
            continue;
        const float r = 1 / det;
        const Vector3 tangent = normalized(
            {(e1.x * dv2 - e2.x * dv1) * r, (e1.y * dv2 - e2.y * dv1) * r, (e1.z * dv2 - e2.z * dv1) * r});
        const Vector3 binormal = normalized(
            {(e2.x * du1 - e1.x * du2) * r, (e2.y * du1 - e1.y * du2) * r, (e2.z * du1 - e1.z * du2) * r});
        for (std::size_t k = 0; k < 3; ++k) {
            mesh->Tangents[t + k] = tangent;
            mesh->Binormals[t + k] = binormal;
        }
    }
    return mesh;
}

void SaveMesh(const KaMesh& mesh)
{
    RecordWriter file(mesh.Name);
    mesh.SaveToFile(file);
    file.commit();
}

} // namespace ra7::datagen
