#include "TangentSpace.h"

#include <algorithm>
#include <cmath>

namespace ra7 {

namespace {

float dot(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector2 texCoordAt(const KaGeomData2& texCoords, std::size_t i)
{
    return i < texCoords.size() ? texCoords[i] : Vector2{};
}

// The vertices of triangle k of the index list, or false when one of them is
// not in the mesh.
bool triangleAt(const KaCarArr& indices, std::size_t k, std::size_t vertexCount, std::size_t (&corner)[3])
{
    for (std::size_t i = 0; i < 3; ++i) {
        corner[i] = indices[3 * k + i];
        if (corner[i] >= vertexCount)
            return false;
    }
    return true;
}

void normalizeAll(KaGeomData3& vectors)
{
    for (Vector3& v : vectors)
        VectorNormalize(v);
}

} // namespace

void TangentSpaceGradients(const KaGeomData3& vertices, const KaCarArr& indices, const KaGeomData2& texCoords,
                           KaGeomData3& tangents, KaGeomData3& binormals)
{
    const std::size_t n = vertices.size();
    tangents.assign(n, kZeroVector);
    binormals.assign(n, kZeroVector);
    for (std::size_t k = 0; k < indices.size() / 3; ++k) {
        std::size_t c[3];
        if (!triangleAt(indices, k, n, c))
            continue;
        const Vector3 e1 = VectorSub(vertices[c[1]], vertices[c[0]]);
        const Vector3 e2 = VectorSub(vertices[c[2]], vertices[c[0]]);
        const Vector2 uv0 = texCoordAt(texCoords, c[0]);
        const Vector2 uv1 = texCoordAt(texCoords, c[1]);
        const Vector2 uv2 = texCoordAt(texCoords, c[2]);
        const float s1 = uv1.x - uv0.x, t1 = uv1.y - uv0.y;
        const float s2 = uv2.x - uv0.x, t2 = uv2.y - uv0.y;
        const float det = s1 * t2 - s2 * t1;
        if (det == 0.0f || !std::isfinite(1.0f / det))
            continue;
        const float r = 1.0f / det;
        const Vector3 t = VectorScale(VectorSub(VectorScale(e1, t2), VectorScale(e2, t1)), r);
        const Vector3 b = VectorScale(VectorSub(VectorScale(e2, s1), VectorScale(e1, s2)), r);
        for (const std::size_t v : c) {
            tangents[v] = VectorAdd(tangents[v], t);
            binormals[v] = VectorAdd(binormals[v], b);
        }
    }
    normalizeAll(tangents);
    normalizeAll(binormals);
}

namespace {

struct Corner {
    Vector3 p;
    float along;  // the coordinate that orders the corners
    float across; // the coordinate compared at the end
};

// The direction of the line of constant `along` through the
// middle corner: orders the corners by `along`, largest first, finds the point
// Q of edge 0–2 at the middle corner's height and points from the middle
// corner towards Q, or away from it when the middle corner's `across` is the
// smaller.
Vector3 isoLine(Corner c[3], const Vector3& normal)
{
    std::stable_sort(c, c + 3, [](const Corner& a, const Corner& b) { return a.along > b.along; });
    const float span = c[2].along - c[0].along;
    const float t = span == 0.0f ? 1.0f : (c[1].along - c[0].along) / span;
    const Vector3 q = VectorAdd(VectorScale(c[0].p, 1.0f - t), VectorScale(c[2].p, t));
    const float acrossQ = c[0].across + t * (c[2].across - c[0].across);
    Vector3 d = VectorSub(q, c[1].p);
    if (c[1].across < acrossQ)
        d = VectorScale(d, -1.0f);
    d = VectorSub(d, VectorScale(normal, dot(d, normal)));
    VectorNormalize(d);
    return d;
}

} // namespace

void TangentSpaceIsoLines(const KaGeomData3& vertices, const KaCarArr& indices, const KaGeomData3& normals,
                          const KaGeomData2& texCoords, KaGeomData3& tangents, KaGeomData3& binormals)
{
    const std::size_t n = vertices.size();
    tangents.assign(n, kZeroVector);
    binormals.assign(n, kZeroVector);
    for (std::size_t k = 0; k < indices.size() / 3; ++k) {
        std::size_t c[3];
        if (!triangleAt(indices, k, n, c))
            continue;
        for (const std::size_t corner : c) {
            const Vector3 normal = corner < normals.size() ? normals[corner] : kZeroVector;
            Corner byV[3], byU[3];
            for (std::size_t i = 0; i < 3; ++i) {
                const Vector2 uv = texCoordAt(texCoords, c[i]);
                byV[i] = {vertices[c[i]], uv.y, uv.x};
                byU[i] = {vertices[c[i]], uv.x, uv.y};
            }
            tangents[corner] = VectorAdd(tangents[corner], isoLine(byV, normal));
            binormals[corner] = VectorAdd(binormals[corner], isoLine(byU, normal));
        }
    }
    normalizeAll(tangents);
    normalizeAll(binormals);
}

} // namespace ra7
