#include "OBJLoader.h"

#include "ModelNames.h"
#include "TextFields.h"
#include "TextLines.h"
#include "WorkProgress.h"

#include "runtime/Errors.h"
#include "runtime/FileIO.h"
#include "runtime/PathResolver.h"
#include "runtime/TextCodec.h"
#include "runtime/TextUtil.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace fs = std::filesystem;

namespace ra7 {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

class ObjReader {
public:
    ObjReader(TModel& model, std::string_view displayName, fs::path folder,
              const ModelMessageBox& showMessage)
        : model_(model), displayName_(displayName), folder_(std::move(folder)), showMessage_(showMessage)
    {
    }

    void line(std::string_view raw, std::uint64_t number);

private:
    [[noreturn]] void fail(const std::string& what) const
    {
        throw FileError(displayName_, FilePlace::line(lineNumber_), what);
    }

    void readVertex(std::string_view rest);
    void readNormal(std::string_view rest);
    void readTexCoord(std::string_view rest);
    void readFace(std::string_view rest);
    void readGroup(std::string_view rest);
    void readLibrary(std::string_view rest);
    void useMaterial(std::string_view rest);

    int readNumbers(std::string_view rest, float* values, int wanted);
    TGroup& currentGroup();
    void addGroup(std::string name);
    void parseCorner(const char*& p, const char* end, TCorner& corner) const;
    std::int32_t resolveIndex(std::int64_t written, std::int32_t count, const char* kind) const
    {
        if (written > 0 && written <= count)
            return static_cast<std::int32_t>(written);
        return resolveOtherIndex(written, count, kind);
    }
    // Relative indices, and the errors.
    std::int32_t resolveOtherIndex(std::int64_t written, std::int32_t count, const char* kind) const;

    TModel& model_;
    std::string displayName_;
    fs::path folder_;
    const ModelMessageBox& showMessage_;
    std::uint64_t lineNumber_ = 0;
    // A material chosen by USEMTL before any face used it: the group that
    // follows starts with it (exporters write "usemtl" before or after "g").
    std::int32_t pendingMaterial_ = 0;
};

void ObjReader::line(std::string_view raw, std::uint64_t number)
{
    lineNumber_ = number;
    const std::string_view text = trimBlanks(raw);
    if (text.empty() || text.front() == '#')
        return;
    const auto [keyword, rest] = splitKeyword(text);
    switch (keyword.front()) {
    case 'v':
    case 'V':
        if (keyword.size() == 1)
            readVertex(rest);
        else if (keyword.size() == 2 && (keyword[1] == 'n' || keyword[1] == 'N'))
            readNormal(rest);
        else if (keyword.size() == 2 && (keyword[1] == 't' || keyword[1] == 'T'))
            readTexCoord(rest);
        break;
    case 'f':
    case 'F':
        if (keyword.size() == 1)
            readFace(rest);
        break;
    case 'g':
    case 'G':
        if (keyword.size() == 1)
            readGroup(rest);
        break;
    case 'm':
    case 'M':
        if (equalsIgnoringAsciiCase(keyword, "MTLLIB"))
            readLibrary(rest);
        break;
    case 'u':
    case 'U':
        if (equalsIgnoringAsciiCase(keyword, "USEMTL"))
            useMaterial(rest);
        break;
    default:
        break; // other statements are not needed by the converter
    }
}

int ObjReader::readNumbers(std::string_view rest, float* values, int wanted)
{
    FieldCursor fields(rest);
    std::string_view field;
    int got = 0;
    while (got < wanted && fields.next(field)) {
        if (!parseNumberField(field, values[got]))
            fail("malformed number " + quoteField(field));
        ++got;
    }
    return got;
}

void ObjReader::readVertex(std::string_view rest)
{
    float xyz[3];
    if (readNumbers(rest, xyz, 3) < 3)
        fail("a vertex needs three numbers");
    if (model_.VertexCount >= kMaxModelCount)
        fail("too many vertices");
    model_.Vertices.push_back({xyz[0], xyz[1], xyz[2]});
    ++model_.VertexCount;
}

void ObjReader::readNormal(std::string_view rest)
{
    float xyz[3];
    if (readNumbers(rest, xyz, 3) < 3)
        fail("a normal needs three numbers");
    if (model_.NormalCount >= kMaxModelCount)
        fail("too many normals");
    model_.Normals.push_back({xyz[0], xyz[1], xyz[2]});
    ++model_.NormalCount;
}

void ObjReader::readTexCoord(std::string_view rest)
{
    // u and v; a third coordinate is ignored, a missing v is 0 as in OBJ.
    float uv[2] = {0, 0};
    if (readNumbers(rest, uv, 2) < 1)
        fail("a texture coordinate needs a number");
    if (model_.TexCoordCount >= kMaxModelCount)
        fail("too many texture coordinates");
    model_.TexCoords.push_back({uv[0], uv[1]});
    ++model_.TexCoordCount;
}

void ObjReader::addGroup(std::string name)
{
    if (model_.GroupCount >= kMaxModelCount)
        fail("too many groups");
    TGroup group;
    group.Name = std::move(name);
    group.MaterialIndex = pendingMaterial_;
    model_.Groups.push_back(std::move(group));
    ++model_.GroupCount;
}

TGroup& ObjReader::currentGroup()
{
    if (model_.GroupCount == 0)
        addGroup(std::string(kImplicitGroupName));
    return model_.Groups[model_.GroupCount];
}

void ObjReader::readGroup(std::string_view rest)
{
    addGroup(modelName(rest));
}

std::int32_t ObjReader::resolveOtherIndex(std::int64_t written, std::int32_t count, const char* kind) const
{
    if (written == 0)
        fail(std::string(kind) + " index 0 is not valid: indices start at 1");
    if (written > 0)
        fail(std::string(kind) + " index " + std::to_string(written) + " is past the " +
             std::to_string(count) + " read so far");
    // Relative: -1 is the last one read so far.
    const std::int64_t absolute = count + 1 + written;
    if (absolute < 1)
        fail("relative " + std::string(kind) + " index " + std::to_string(written) +
             " points before the first of the " + std::to_string(count) + " read so far");
    return static_cast<std::int32_t>(absolute);
}

namespace {

// A signed decimal integer at `p`; advances past it. Values are limited to
// what an index can hold so that the arithmetic cannot overflow.
inline bool takeInteger(const char*& p, const char* end, std::int64_t& value)
{
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    const char* first = p;
    std::int64_t magnitude = 0;
    while (p != end && static_cast<unsigned char>(*p - '0') <= 9) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > std::numeric_limits<std::int32_t>::max())
            return false;
        ++p;
    }
    if (p == first)
        return false;
    value = negative ? -magnitude : magnitude;
    return true;
}

} // namespace

void ObjReader::parseCorner(const char*& p, const char* end, TCorner& corner) const
{
    // v, v/t, v//n or v/t/n, up to the next blank
    const char* start = p;
    std::int64_t vertex = 0, texCoord = 0, normal = 0;
    bool hasTexCoord = false, hasNormal = false;
    bool ok = takeInteger(p, end, vertex);
    if (ok && p != end && *p == '/') {
        ++p;
        if (p != end && *p != '/') {
            ok = takeInteger(p, end, texCoord);
            hasTexCoord = true;
        }
        if (ok && p != end && *p == '/') {
            ++p;
            ok = takeInteger(p, end, normal);
            hasNormal = true;
        } else if (ok && !hasTexCoord) {
            ok = false; // "v/" is no form
        }
    }
    if (!ok || (p != end && !isFieldBlank(*p))) {
        const char* fieldEnd = start;
        while (fieldEnd != end && !isFieldBlank(*fieldEnd))
            ++fieldEnd;
        fail("face corner " +
             quoteField(std::string_view(start, static_cast<std::size_t>(fieldEnd - start))) +
             " is not v, v/t, v//n or v/t/n");
    }
    corner.Vertex = resolveIndex(vertex, model_.VertexCount, "vertex");
    corner.TexCoord = hasTexCoord ? resolveIndex(texCoord, model_.TexCoordCount, "texture coordinate") : 0;
    corner.Normal = hasNormal ? resolveIndex(normal, model_.NormalCount, "normal") : 0;
}

void ObjReader::readFace(std::string_view rest)
{
    TGroup& group = currentGroup();
    pendingMaterial_ = 0;
    if (group.FaceCount >= kMaxModelCount)
        fail("too many faces in group " + group.Name);
    const std::size_t first = group.Corners.size();
    const char* p = rest.data();
    const char* end = p + rest.size();
    for (;;) {
        while (p != end && isFieldBlank(*p))
            ++p;
        if (p == end)
            break;
        if (group.Corners.size() >= static_cast<std::size_t>(kMaxModelCount))
            fail("too many face corners in group " + group.Name);
        parseCorner(p, end, group.Corners.emplace_back());
    }
    const std::size_t count = group.Corners.size() - first;
    if (count < 3) {
        group.Corners.resize(first);
        fail("a face needs at least three corners, this one has " + std::to_string(count));
    }
    group.Faces.push_back({static_cast<std::int32_t>(first), static_cast<std::int32_t>(count)});
    ++group.FaceCount;
}

void ObjReader::readLibrary(std::string_view rest)
{
    const std::string name = modelName(rest);
    const fs::path path = resolveBeside(folder_, name);
    if (!isExistingFile(path)) {
        if (showMessage_)
            showMessage_("Load Model Material", "Cannot find the material file : " + name);
        model_.HasMaterials = false;
        return;
    }
    ReadMTLText(model_, readFileBytes(path.string()), path.filename().string(), folder_);
    model_.HasMaterials = true;
}

void ObjReader::useMaterial(std::string_view rest)
{
    const std::string name = modelName(rest);
    std::int32_t found = 0;
    for (std::int32_t i = 1; i <= model_.MaterialCount; ++i)
        if (model_.Materials[i].Name == name)
            found = i; // the last match wins
    if (found == 0)
        return;
    pendingMaterial_ = found;
    if (model_.GroupCount > 0)
        model_.Groups[model_.GroupCount].MaterialIndex = found;
}

} // namespace

void ReadOBJText(TModel& model, std::string_view bytes, std::string_view displayName, const fs::path& folder,
                 const ModelMessageBox& showMessage)
{
    ObjReader reader(model, displayName, folder, showMessage);
    TextLineSplitter lines{std::string(displayName)};
    auto onLine = [&](std::string_view text, std::uint64_t number) { reader.line(text, number); };
    lines.feed(bytes, onLine);
    lines.finish(onLine);
}

TModel LoadOBJ(std::string_view fileName, const ModelMessageBox& showMessage, WorkProgress* progress)
{
    TModel model;
    const fs::path path = resolvePath(fileName);
    const std::string base = path.filename().string();
    model.Name = cp1251ToUtf8(base.substr(0, base.find('.')));
    if (!isExistingFile(path))
        return model;

    const std::string displayName(fileName);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw FileError(displayName, FilePlace::whole(),
                        std::string("cannot open file: ") + std::strerror(errno));
    ObjReader reader(model, displayName, path.parent_path(), showMessage);
    TextLineSplitter lines(displayName);
    auto onLine = [&](std::string_view text, std::uint64_t number) { reader.line(text, number); };
    // Read in blocks: the whole file is never held in memory next to the model.
    constexpr std::size_t kBlock = std::size_t{1} << 20;
    const std::unique_ptr<char[]> block(new char[kBlock]);
    std::error_code sizeError;
    const auto size = fs::file_size(path, sizeError);
    BeginWork(progress, "Чтение модели " + displayName, sizeError ? 0 : static_cast<std::int64_t>(size));
    std::int64_t consumed = 0;
    for (;;) {
        const std::size_t got = std::fread(block.get(), 1, kBlock, file.get());
        lines.feed(std::string_view(block.get(), got), onLine);
        consumed += static_cast<std::int64_t>(got);
        ReachWork(progress, consumed);
        if (got < kBlock) {
            if (std::ferror(file.get()))
                throw FileError(displayName, FilePlace::whole(),
                                std::string("cannot read: ") + std::strerror(errno));
            break;
        }
    }
    lines.finish(onLine);
    return model;
}

void ClearModel(TModel& model)
{
    model = TModel{};
}

} // namespace ra7
