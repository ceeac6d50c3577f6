#include "resources/Ka7Mesh.h"

#include "resources/GLObjects.h"
#include "runtime/Capabilities.h"
#include "runtime/Errors.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/RecordFile.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>
#include <limits>

static_assert(sizeof(ra7::Vector3) == 12 && sizeof(ra7::Vector2) == 8,
              "mesh arrays are read and uploaded as packed singles");

namespace ra7 {

namespace {

constexpr std::uint64_t kBytesPerVertex = 12 + 12 + 8 + 12 + 12;

template <class T>
void freeArray(std::vector<T>& array)
{
    std::vector<T>().swap(array);
}

void readVectors(RecordReader& file, KaGeomData3& out, std::size_t count)
{
    out.resize(count);
    file.readSingles(reinterpret_cast<float*>(out.data()), count * 3);
}

void readVectors(RecordReader& file, KaGeomData2& out, std::size_t count)
{
    out.resize(count);
    file.readSingles(reinterpret_cast<float*>(out.data()), count * 2);
}

template <class T>
void bufferData(GLenum target, GLuint buffer, const std::vector<T>& data)
{
    glBindBufferARB(target, buffer);
    glBufferDataARB(target, static_cast<GLsizeiptr>(data.size() * sizeof(T)), data.data(),
                    GL_STATIC_DRAW_ARB);
}

void texCoordArray(GLenum unit, GLint components, const void* pointer)
{
    if (HasMultitexture)
        glClientActiveTextureARB(unit);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(components, GL_FLOAT, 0, pointer);
}

void disableTexCoordArray(GLenum unit)
{
    glClientActiveTextureARB(unit);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

} // namespace

KaMesh::KaMesh() = default;
KaMesh::~KaMesh() = default;

std::uint32_t KaMesh::DisplayList() const
{
    return list_ ? list_->name : 0;
}

std::array<std::uint32_t, 6> KaMesh::Buffers() const
{
    return buffers_ ? buffers_->names : std::array<std::uint32_t, 6>{};
}

void KaMesh::ResetDisplayList()
{
    list_.reset();
}

void KaMesh::SaveToFile(RecordWriter& file) const
{
    const auto vertices = static_cast<std::size_t>(std::max(VertexCount, 0));
    const auto indices = static_cast<std::size_t>(std::max(IndexCount, 0));
    const bool complete = VertexCount >= 0 && IndexCount >= 1 && Indices.size() == indices &&
                          Vertices.size() == vertices && Normals.size() == vertices &&
                          TexCoords.size() == vertices && Tangents.size() == vertices &&
                          Binormals.size() == vertices;
    if (!complete)
        throw Error("Меш \"" + Name + "\" нельзя сохранить: его массивы не заполнены (" +
                    std::to_string(VertexCount) + " вершин, " + std::to_string(IndexCount) +
                    " индексов, в памяти " + std::to_string(Vertices.size()) + " вершин и " +
                    std::to_string(Indices.size()) + " индексов)");
    file.writeTag("mes");
    file.writeShortString(Name);
    file.writeInt32(VertexCount);
    file.writeInt32(IndexCount);
    file.writeUInt32s(Indices.data(), indices);
    for (const KaGeomData3* block : {&Vertices, &Normals})
        file.writeSingles(reinterpret_cast<const float*>(block->data()), vertices * 3);
    file.writeSingles(reinterpret_cast<const float*>(TexCoords.data()), vertices * 2);
    for (const KaGeomData3* block : {&Tangents, &Binormals})
        file.writeSingles(reinterpret_cast<const float*>(block->data()), vertices * 3);
}

void KaMesh::LoadFromFile(RecordReader& file)
{
    ReadRecord(file);
    if (Settings.UseVBO)
        Upload();
}

void KaMesh::ReadRecord(RecordReader& file)
{
    KaMesh read;
    read.Name = file.readShortString();
    const std::uint64_t countsAt = file.offset();
    read.VertexCount = file.readInt32();
    read.IndexCount = file.readInt32();
    if (read.VertexCount < 0)
        file.failAt(countsAt, "vertex count " + std::to_string(read.VertexCount) + " is negative");
    if (read.IndexCount <= 0)
        file.failAt(countsAt + 4,
                    "index count " + std::to_string(read.IndexCount) + ": a mesh needs at least one index");
    const auto vertices = static_cast<std::size_t>(read.VertexCount);
    const auto indices = static_cast<std::size_t>(read.IndexCount);
    const std::uint64_t needed = 4 * std::uint64_t(indices) + kBytesPerVertex * vertices;
    if (needed > file.remaining())
        file.failAt(countsAt, std::to_string(read.VertexCount) + " vertices and " +
                                  std::to_string(read.IndexCount) + " indices need " +
                                  std::to_string(needed) + " bytes, the file has " +
                                  std::to_string(file.remaining()) + " left");

    const std::uint64_t indicesAt = file.offset();
    read.Indices.resize(indices);
    file.readUInt32s(read.Indices.data(), indices);
    for (std::size_t i = 0; i < indices; ++i)
        if (read.Indices[i] >= vertices)
            file.failAt(indicesAt + 4 * i, "index " + std::to_string(i) + " is " +
                                               std::to_string(read.Indices[i]) +
                                               ", not below the vertex count " + std::to_string(vertices));
    readVectors(file, read.Vertices, vertices);
    readVectors(file, read.Normals, vertices);
    readVectors(file, read.TexCoords, vertices);
    readVectors(file, read.Tangents, vertices);
    readVectors(file, read.Binormals, vertices);

    ReleaseBuffers();
    ResetDisplayList();
    Name = std::move(read.Name);
    VertexCount = read.VertexCount;
    IndexCount = read.IndexCount;
    Indices = std::move(read.Indices);
    Vertices = std::move(read.Vertices);
    Normals = std::move(read.Normals);
    TexCoords = std::move(read.TexCoords);
    Tangents = std::move(read.Tangents);
    Binormals = std::move(read.Binormals);
}

void KaMesh::Upload()
{
    if (!Settings.UseVBO)
        throw Error("VBO not support");
    auto buffers = std::make_shared<GLMeshBuffers>();
    const auto& names = buffers->names;
    bufferData(GL_ARRAY_BUFFER_ARB, names[0], Vertices);
    bufferData(GL_ARRAY_BUFFER_ARB, names[1], Normals);
    bufferData(GL_ARRAY_BUFFER_ARB, names[2], TexCoords);
    buffers->filled = {true, true, true, true, false, false};
    if (!Binormals.empty()) {
        bufferData(GL_ARRAY_BUFFER_ARB, names[4], Binormals);
        buffers->filled[4] = true;
    }
    if (!Tangents.empty()) {
        bufferData(GL_ARRAY_BUFFER_ARB, names[5], Tangents);
        buffers->filled[5] = true;
    }
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    bufferData(GL_ELEMENT_ARRAY_BUFFER_ARB, names[3], Indices);
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
    buffers_ = std::move(buffers);
    // From here on the data lives only in the GPU buffers.
    freeArray(Vertices);
    freeArray(Normals);
    freeArray(TexCoords);
    freeArray(Indices);
    freeArray(Binormals);
    freeArray(Tangents);
}

void KaMesh::ReleaseBuffers()
{
    buffers_.reset();
}

void KaMesh::Assign(const KaMesh& source)
{
    if (&source == this)
        return;
    Name = source.Name;
    VertexCount = source.VertexCount;
    IndexCount = source.IndexCount;
    buffers_ = source.buffers_;
    list_ = source.list_;
    Vertices = source.Vertices;
    Normals = source.Normals;
    Tangents = source.Tangents;
    Binormals = source.Binormals;
    TexCoords = source.TexCoords;
    Indices = source.Indices;
}

void KaMesh::BuildDisplayList()
{
    auto list = std::make_shared<GLDisplayList>();
    glNewList(list->name, GL_COMPILE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    if (buffers_) {
        const auto& names = buffers_->names;
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, names[1]);
        glNormalPointer(GL_FLOAT, 0, nullptr);
        // Empty tangent-space buffers are left out: nothing may read past them.
        if (HasMultitexture) {
            if (buffers_->filled[4]) {
                glBindBufferARB(GL_ARRAY_BUFFER_ARB, names[4]);
                texCoordArray(GL_TEXTURE2_ARB, 3, nullptr);
            }
            if (buffers_->filled[5]) {
                glBindBufferARB(GL_ARRAY_BUFFER_ARB, names[5]);
                texCoordArray(GL_TEXTURE1_ARB, 3, nullptr);
            }
        }
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, names[2]);
        texCoordArray(GL_TEXTURE0_ARB, 2, nullptr);
        glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, names[3]);
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, names[0]);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
        glDrawElements(GL_TRIANGLES, IndexCount, GL_UNSIGNED_INT, nullptr);
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
        glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
    } else if (Indices.size() == static_cast<std::size_t>(std::max(IndexCount, 0)) &&
               Vertices.size() == static_cast<std::size_t>(std::max(VertexCount, 0))) {
        const auto vertices = static_cast<std::size_t>(VertexCount);
        texCoordArray(GL_TEXTURE0_ARB, 2, TexCoords.size() == vertices ? TexCoords.data() : nullptr);
        if (TexCoords.size() != vertices)
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        if (HasMultitexture) {
            if (Tangents.size() == vertices)
                texCoordArray(GL_TEXTURE1_ARB, 3, Tangents.data());
            if (Binormals.size() == vertices)
                texCoordArray(GL_TEXTURE2_ARB, 3, Binormals.data());
        }
        if (Normals.size() == vertices)
            glNormalPointer(GL_FLOAT, 0, Normals.data());
        else
            glDisableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, Vertices.data());
        glDrawElements(GL_TRIANGLES, IndexCount, GL_UNSIGNED_INT, Indices.data());
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    if (HasMultitexture) {
        disableTexCoordArray(GL_TEXTURE2_ARB);
        disableTexCoordArray(GL_TEXTURE1_ARB);
        disableTexCoordArray(GL_TEXTURE0_ARB);
    } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glEndList();
    list_ = std::move(list);
}

void KaMesh::Draw()
{
    if (DisplayList() == 0)
        BuildDisplayList();
    glCallList(DisplayList());
}

std::optional<KaBounds> BoundsOf(const KaGeomData3& points)
{
    if (points.empty())
        return std::nullopt;
    KaBounds bounds{points.front(), points.front()};
    for (const Vector3& v : points) {
        bounds.Min = {std::min(bounds.Min.x, v.x), std::min(bounds.Min.y, v.y), std::min(bounds.Min.z, v.z)};
        bounds.Max = {std::max(bounds.Max.x, v.x), std::max(bounds.Max.y, v.y), std::max(bounds.Max.z, v.z)};
    }
    return bounds;
}

void ReadMeshFile(RecordReader& file, KaMesh& mesh)
{
    file.skip(kTagSize);
    mesh.ReadRecord(file);
}

std::vector<std::string> DescribeMeshFile(std::string_view storedName)
{
    RecordReader file = RecordReader::openFile(storedName);
    KaMesh mesh;
    ReadMeshFile(file, mesh);

    std::vector<std::string> lines;
    lines.push_back("mesh \"" + mesh.Name + "\"");
    lines.push_back("vertices: " + std::to_string(mesh.VertexCount));
    lines.push_back("indices: " + std::to_string(mesh.IndexCount) + " (" +
                    std::to_string(mesh.IndexCount / 3) + " triangles)");
    if (const std::optional<KaBounds> bounds = mesh.Bounds()) {
        const Vector3& low = bounds->Min;
        const Vector3& high = bounds->Max;
        lines.push_back("bounds: (" + std::to_string(low.x) + ", " + std::to_string(low.y) + ", " +
                        std::to_string(low.z) + ") - (" + std::to_string(high.x) + ", " +
                        std::to_string(high.y) + ", " + std::to_string(high.z) + ")");
    }
    const bool hasTangents = std::any_of(mesh.Tangents.begin(), mesh.Tangents.end(),
                                         [](const Vector3& t) { return t.x != 0 || t.y != 0 || t.z != 0; });
    lines.push_back(std::string("tangent space: ") + (hasTangents ? "yes" : "no"));
    return lines;
}

} // namespace ra7
