#include "MendMesh.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

namespace meshmender {

namespace {

constexpr std::size_t kRecord = 14;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 a, float s)
{
    return {a.x * s, a.y * s, a.z * s};
}
float dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float length(Vec3 a)
{
    return std::sqrt(dot(a, a));
}
Vec3 normalized(Vec3 a)
{
    const float l = length(a);
    return l > 0 && std::isfinite(l) ? a * (1.0f / l) : Vec3{};
}
bool isZero(Vec3 a)
{
    return a.x == 0 && a.y == 0 && a.z == 0;
}
bool sameBits(Vec3 a, Vec3 b)
{
    // Bit for bit on purpose: the same sums in the same order give the same
    // bits, and only those corners may share a vertex.
    return std::memcmp(&a, &b, sizeof a) == 0; // NOLINT(bugprone-suspicious-memory-comparison)
}

// Any unit vector perpendicular to the unit vector n.
Vec3 perpendicular(Vec3 n)
{
    const Vec3 axis = std::fabs(n.x) < 0.9f ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
    return normalized(axis - n * dot(axis, n));
}

Vec3 field(const float* record, std::size_t first)
{
    return {record[first], record[first + 1], record[first + 2]};
}

struct PositionKey {
    std::uint32_t bits[3];
    bool operator==(const PositionKey& o) const
    {
        return bits[0] == o.bits[0] && bits[1] == o.bits[1] && bits[2] == o.bits[2];
    }
};
struct PositionHash {
    std::size_t operator()(const PositionKey& k) const
    {
        std::uint64_t h = 1469598103934665603ull;
        for (std::uint32_t b : k.bits)
            h = (h ^ b) * 1099511628211ull;
        return static_cast<std::size_t>(h);
    }
};

PositionKey positionKey(const float* record)
{
    PositionKey key{};
    for (int i = 0; i < 3; ++i) {
        const float value = record[i] == 0.0f ? 0.0f : record[i]; // -0 and +0 are one place
        std::memcpy(&key.bits[i], &value, sizeof value);
    }
    return key;
}

class Mender {
public:
    Mender(const float* records, std::size_t vertexCount, const std::uint32_t* indices,
           std::size_t indexCount, const MendSettings& settings)
        : in_(records), vertexCount_(vertexCount), idx_(indices), corners_(indexCount),
          triangles_(indexCount / 3), s_(settings)
    {
    }

    void run(MendOutput& out)
    {
        cornerTexCoords();
        faceFrames();
        neighbourhoods();
        cornerNormals();
        cornerTangents();
        emit(out);
    }

private:
    const float* record(std::uint32_t vertex) const { return in_ + kRecord * vertex; }

    // Texture coordinates per corner; with fixCylindrical a triangle that
    // spans more than half the texture in u (the direction that wraps round a
    // cylinder) gets 1 added to its low corners, so it takes the short way
    // round the wrap.
    void cornerTexCoords()
    {
        u_.resize(corners_);
        v_.resize(corners_);
        for (std::size_t c = 0; c < corners_; ++c) {
            u_[c] = record(idx_[c])[3];
            v_[c] = record(idx_[c])[4];
        }
        if (!s_.fixCylindrical)
            return;
        for (std::size_t t = 0; t < triangles_; ++t) {
            float* u = u_.data() + 3 * t;
            const float high = std::max({u[0], u[1], u[2]});
            const float low = std::min({u[0], u[1], u[2]});
            if (high - low <= 0.5f)
                continue;
            for (int k = 0; k < 3; ++k)
                if (u[k] < high - 0.5f)
                    u[k] += 1.0f;
        }
    }

    void faceFrames()
    {
        faceNormal_.resize(triangles_);
        faceTangent_.resize(triangles_);
        faceBinormal_.resize(triangles_);
        weight_.resize(triangles_);
        const float areaShare = std::clamp(s_.weightNormalsByArea, 0.0f, 1.0f);
        for (std::size_t t = 0; t < triangles_; ++t) {
            const std::size_t c = 3 * t;
            const Vec3 p0 = field(record(idx_[c]), 0);
            const Vec3 e1 = field(record(idx_[c + 1]), 0) - p0;
            const Vec3 e2 = field(record(idx_[c + 2]), 0) - p0;
            const Vec3 n = cross(e1, e2);
            faceNormal_[t] = normalized(n);
            weight_[t] = (1.0f - areaShare) + areaShare * 0.5f * length(n);
            const float s1 = u_[c + 1] - u_[c], t1 = v_[c + 1] - v_[c];
            const float s2 = u_[c + 2] - u_[c], t2 = v_[c + 2] - v_[c];
            const float det = s1 * t2 - s2 * t1;
            if (det != 0.0f && std::isfinite(1.0f / det)) {
                const float r = 1.0f / det;
                faceTangent_[t] = normalized((e1 * t2 - e2 * t1) * r);
                faceBinormal_[t] = normalized((e2 * s1 - e1 * s2) * r);
            }
        }
    }

    // Corners that may be smoothed together share a key: the vertex itself
    // when splits are respected, otherwise the vertex's position. The corners
    // of each key are listed together, in corner order.
    void neighbourhoods()
    {
        std::vector<std::uint32_t> keyOfVertex(vertexCount_);
        std::uint32_t keys = 0;
        if (s_.respectSplits) {
            for (std::size_t v = 0; v < vertexCount_; ++v)
                keyOfVertex[v] = static_cast<std::uint32_t>(v);
            keys = static_cast<std::uint32_t>(vertexCount_);
        } else {
            std::unordered_map<PositionKey, std::uint32_t, PositionHash> places;
            places.reserve(vertexCount_);
            for (std::size_t v = 0; v < vertexCount_; ++v) {
                const auto next = static_cast<std::uint32_t>(places.size());
                keyOfVertex[v] = places.try_emplace(positionKey(record(static_cast<std::uint32_t>(v))), next)
                                     .first->second;
            }
            keys = static_cast<std::uint32_t>(places.size());
        }
        key_.resize(corners_);
        start_.assign(keys + 1, 0);
        for (std::size_t c = 0; c < corners_; ++c) {
            key_[c] = keyOfVertex[idx_[c]];
            ++start_[key_[c] + 1];
        }
        for (std::uint32_t k = 0; k < keys; ++k)
            start_[k + 1] += start_[k];
        members_.resize(corners_);
        std::vector<std::uint32_t> fill(start_.begin(), start_.end() - 1);
        for (std::size_t c = 0; c < corners_; ++c)
            members_[fill[key_[c]]++] = static_cast<std::uint32_t>(c);
    }

    template <class Accept>
    Vec3 smoothed(std::size_t c, const std::vector<Vec3>& faceValues, Accept accept) const
    {
        Vec3 sum;
        for (std::uint32_t i = start_[key_[c]]; i < start_[key_[c] + 1]; ++i) {
            const std::uint32_t other = members_[i];
            if (accept(other))
                sum = sum + faceValues[other / 3] * weight_[other / 3];
        }
        return sum;
    }

    void cornerNormals()
    {
        normal_.resize(corners_);
        for (std::size_t c = 0; c < corners_; ++c) {
            const Vec3 given = field(record(idx_[c]), 5);
            if (!s_.calculateNormals) {
                normal_[c] = given;
                continue;
            }
            // A face without area has no direction of its own: it takes the
            // normal of the faces around its corner.
            const Vec3 own = faceNormal_[c / 3];
            const bool flat = isZero(own);
            const Vec3 n = normalized(smoothed(c, faceNormal_, [&](std::uint32_t other) {
                return flat || dot(faceNormal_[other / 3], own) >= s_.minNormalCreaseCos;
            }));
            normal_[c] = isZero(n) ? normalized(given) : n;
        }
    }

    void cornerTangents()
    {
        tangent_.resize(corners_);
        binormal_.resize(corners_);
        for (std::size_t c = 0; c < corners_; ++c) {
            const Vec3 n = normalized(normal_[c]);
            // Only corners that ended with the same normal share tangents.
            const auto sameNormal = [&](std::uint32_t other) { return sameBits(normal_[other], normal_[c]); };
            const Vec3 ownT = faceTangent_[c / 3];
            const Vec3 ownB = faceBinormal_[c / 3];
            Vec3 t = smoothed(c, faceTangent_, [&](std::uint32_t other) {
                return sameNormal(other) && dot(faceTangent_[other / 3], ownT) >= s_.minTangentCreaseCos;
            });
            Vec3 b = smoothed(c, faceBinormal_, [&](std::uint32_t other) {
                return sameNormal(other) && dot(faceBinormal_[other / 3], ownB) >= s_.minBinormalCreaseCos;
            });
            if (isZero(n)) {
                tangent_[c] = normalized(t);
                binormal_[c] = normalized(b);
                continue;
            }
            t = normalized(t - n * dot(t, n));
            if (isZero(t))
                t = perpendicular(n);
            b = b - n * dot(b, n);
            b = normalized(b - t * dot(b, t));
            if (isZero(b)) {
                // Keep the handedness the face's texture mapping has, if any.
                b = cross(n, t);
                if (dot(b, ownB) < 0)
                    b = b * -1.0f;
            }
            tangent_[c] = t;
            binormal_[c] = b;
        }
    }

    // One output vertex per distinct record of each input vertex: the first
    // keeps the input vertex's slot, further ones (splits) are appended.
    void emit(MendOutput& out)
    {
        out.records.assign(in_, in_ + kRecord * vertexCount_);
        out.indices.resize(corners_);
        std::vector<std::uint32_t> firstSlot(vertexCount_, kNone);
        std::vector<std::uint32_t> nextSlot(vertexCount_, kNone);
        float made[kRecord];
        for (std::size_t c = 0; c < corners_; ++c) {
            const std::uint32_t v = idx_[c];
            std::memcpy(made, record(v), sizeof made);
            made[3] = u_[c];
            made[4] = v_[c];
            std::memcpy(made + 5, &normal_[c], 3 * sizeof(float));
            std::memcpy(made + 8, &tangent_[c], 3 * sizeof(float));
            std::memcpy(made + 11, &binormal_[c], 3 * sizeof(float));
            std::uint32_t slot = firstSlot[v];
            std::uint32_t last = kNone;
            while (slot != kNone &&
                   // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison): equal bits, as above
                   std::memcmp(out.records.data() + kRecord * slot, made, sizeof made) != 0) {
                last = slot;
                slot = nextSlot[slot];
            }
            if (slot == kNone) {
                if (firstSlot[v] == kNone) {
                    slot = v;
                    firstSlot[v] = v;
                } else {
                    slot = static_cast<std::uint32_t>(out.records.size() / kRecord);
                    out.records.resize(out.records.size() + kRecord);
                    nextSlot.push_back(kNone);
                    nextSlot[last] = slot;
                }
                std::memcpy(out.records.data() + kRecord * slot, made, sizeof made);
            }
            out.indices[c] = slot;
        }
    }

    const float* in_;
    std::size_t vertexCount_;
    const std::uint32_t* idx_;
    std::size_t corners_;
    std::size_t triangles_;
    MendSettings s_;

    std::vector<float> u_, v_;
    std::vector<Vec3> faceNormal_, faceTangent_, faceBinormal_;
    std::vector<float> weight_;
    std::vector<std::uint32_t> key_, start_, members_;
    std::vector<Vec3> normal_, tangent_, binormal_;
};

} // namespace

bool mendMesh(const float* records, std::size_t vertexCount, const std::uint32_t* indices,
              std::size_t indexCount, const MendSettings& settings, MendOutput& out)
{
    if (indexCount % 3 != 0 || vertexCount >= kNone || indexCount >= kNone)
        return false;
    for (std::size_t i = 0; i < kRecord * vertexCount; ++i)
        if (!std::isfinite(records[i]))
            return false;
    for (std::size_t i = 0; i < indexCount; ++i)
        if (indices[i] >= vertexCount)
            return false;
    Mender(records, vertexCount, indices, indexCount, settings).run(out);
    return true;
}

} // namespace meshmender
