#include "GMSReader.h"

#include "TextFields.h"
#include "WorkProgress.h"

#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "runtime/TextUtil.h"

#include <algorithm>
#include <array>

namespace ra7 {

MeshArrays MergeGmsMesh(const KaGeomData3& positions, const KaGeomData3& normals,
                        const KaGeomData2& texCoords, const KaCarArr& vertexIndices,
                        const KaCarArr& texIndices)
{
    MeshArrays mesh;
    if (texCoords.size() > positions.size()) {
        mesh.Indices = texIndices;
        mesh.TexCoords = texCoords;
        mesh.Vertices.assign(texCoords.size(), kZeroVector);
        mesh.Normals.assign(texCoords.size(), kZeroVector);
        for (std::size_t c = 0; c < texIndices.size(); ++c) {
            mesh.Vertices[texIndices[c]] = positions[vertexIndices[c]];
            if (vertexIndices[c] < normals.size())
                mesh.Normals[texIndices[c]] = normals[vertexIndices[c]];
        }
    } else {
        mesh.Indices = vertexIndices;
        mesh.Vertices = positions;
        mesh.Normals = normals;
        mesh.Normals.resize(positions.size());
        mesh.TexCoords.assign(positions.size(), Vector2{});
        if (!texCoords.empty())
            for (std::size_t c = 0; c < vertexIndices.size(); ++c)
                mesh.TexCoords[vertexIndices[c]] = texCoords[texIndices[c]];
    }
    mesh.Tangents.assign(mesh.Vertices.size(), kZeroVector);
    mesh.Binormals.assign(mesh.Vertices.size(), kZeroVector);
    return mesh;
}

namespace {

class GmsReader {
public:
    GmsReader(std::vector<std::string> lines, std::string_view displayName)
        : lines_(std::move(lines)), displayName_(displayName)
    {
    }

    // One progress unit a line, reported after each object.
    void read(std::vector<GmsObject>& objects, WorkProgress* progress)
    {
        BeginWork(progress, "Чтение модели " + displayName_, static_cast<std::int64_t>(lines_.size()));
        while (next_ < lines_.size()) {
            if (asciiLower(trimBlanks(lines_[next_++])) == "new object") {
                GmsObject object;
                if (readObject(object))
                    objects.push_back(std::move(object));
                ReachWork(progress, static_cast<std::int64_t>(next_));
            }
        }
    }

private:
    [[noreturn]] void fail(std::size_t lineIndex, const std::string& what) const
    {
        throw FileError(displayName_, FilePlace::line(lineIndex + 1), what);
    }

    void skip(std::size_t count) { next_ = std::min(lines_.size(), next_ + count); }

    const std::string& nextLine(const char* expected)
    {
        if (next_ >= lines_.size())
            fail(next_, std::string("the file ends where ") + expected + " should follow");
        return lines_[next_++];
    }

    // `count` numbers on one line (more are ignored).
    template <std::size_t N>
    std::array<float, N> readSingles(const char* expected)
    {
        const std::size_t at = next_;
        FieldCursor fields(nextLine(expected));
        std::array<float, N> values{};
        std::string_view field;
        for (float& value : values) {
            if (!fields.next(field))
                fail(at, std::string(expected) + " needs " + std::to_string(N) + " numbers");
            if (!parseNumberField(field, value))
                fail(at, "malformed number " + quoteField(field));
        }
        return values;
    }

    std::array<std::int32_t, 3> readIntegers(const char* expected)
    {
        const std::size_t at = next_;
        FieldCursor fields(nextLine(expected));
        std::array<std::int32_t, 3> values{};
        std::string_view field;
        for (std::int32_t& value : values) {
            if (!fields.next(field))
                fail(at, std::string(expected) + " needs 3 whole numbers");
            const auto parsed = parseInt32(field);
            if (!parsed)
                fail(at, "malformed whole number " + quoteField(field));
            value = *parsed;
        }
        return values;
    }

    void readIndices(std::size_t faceCount, std::size_t limit, const char* what, KaCarArr& indices)
    {
        indices.reserve(3 * faceCount);
        for (std::size_t f = 0; f < faceCount; ++f) {
            const std::size_t at = next_;
            for (const std::int32_t index : readIntegers(what)) {
                if (index < 0 || static_cast<std::size_t>(index) >= limit)
                    fail(at, std::string(what) + " " + std::to_string(index) + " is outside 0 .. " +
                                 std::to_string(static_cast<std::int64_t>(limit) - 1));
                indices.push_back(static_cast<std::uint32_t>(index));
            }
        }
    }

    bool readObject(GmsObject& object)
    {
        skip(1);
        const auto position = readSingles<3>("the object's position");
        object.Position = {position[0], position[1], position[2]};
        object.Name = std::string(trimBlanks(nextLine("the object's name")));
        if (asciiLower(trimBlanks(nextLine("the object's type"))) != "trimesh()")
            return false;
        readTriMesh(object);
        return true;
    }

    void readTriMesh(GmsObject& object)
    {
        skip(1);
        const std::size_t countsLine = next_;
        const auto counts = readIntegers("the vertex, face and texture-coordinate counts");
        for (const std::int32_t count : counts)
            if (count < 0)
                fail(countsLine, "count " + std::to_string(count) + " is negative");
        const auto vertexCount = static_cast<std::size_t>(counts[0]);
        const auto faceCount = static_cast<std::size_t>(counts[1]);
        const auto texCount = static_cast<std::size_t>(counts[2]);
        // Every item takes a line: refuse counts the file cannot hold before
        // reserving anything.
        if (2 * vertexCount + 2 * faceCount + texCount > lines_.size() - next_)
            fail(countsLine, "counts " + std::to_string(vertexCount) + " " + std::to_string(faceCount) + " " +
                                 std::to_string(texCount) + " are larger than the file");

        KaGeomData3 positions, normals;
        KaGeomData2 texCoords;
        KaCarArr vertexIndices, texIndices;
        skip(1);
        positions.reserve(vertexCount);
        for (std::size_t v = 0; v < vertexCount; ++v) {
            const auto p = readSingles<3>("a vertex");
            positions.push_back({p[0], p[1], p[2]});
        }
        skip(2);
        readIndices(faceCount, vertexCount, "vertex index", vertexIndices);
        skip(2);
        normals.reserve(vertexCount);
        for (std::size_t v = 0; v < vertexCount; ++v) {
            const auto n = readSingles<3>("a normal");
            normals.push_back({n[0], n[1], n[2]});
        }
        skip(2);
        texCoords.reserve(texCount);
        for (std::size_t t = 0; t < texCount; ++t) {
            const auto uv = readSingles<2>("a texture coordinate");
            texCoords.push_back({uv[0], uv[1]});
        }
        skip(2);
        if (texCount > 0) {
            readIndices(faceCount, texCount, "texture-coordinate index", texIndices);
        } else {
            // Without texture coordinates the index lines say nothing.
            for (std::size_t f = 0; f < faceCount; ++f)
                readIntegers("texture-coordinate index");
            texIndices.assign(3 * faceCount, 0);
        }
        skip(2);
        object.Mesh = MergeGmsMesh(positions, normals, texCoords, vertexIndices, texIndices);
    }

    std::vector<std::string> lines_;
    std::string displayName_;
    std::size_t next_ = 0;
};

} // namespace

void ReadGMSText(std::string_view cp1251Text, std::string_view displayName, std::vector<GmsObject>& objects,
                 WorkProgress* progress)
{
    GmsReader(splitTextLines(cp1251Text), displayName).read(objects, progress);
}

void ReadGMS(std::string_view fileName, std::vector<GmsObject>& objects, WorkProgress* progress)
{
    ReadGMSText(readFileBytes(fileName), fileName, objects, progress);
}

} // namespace ra7
