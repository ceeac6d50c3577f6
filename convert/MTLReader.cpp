#include "OBJLoader.h"

#include "ModelNames.h"
#include "TextFields.h"
#include "TextLines.h"

#include "runtime/Errors.h"
#include "runtime/TextUtil.h"

namespace fs = std::filesystem;

namespace ra7 {

namespace {

class MtlReader {
public:
    MtlReader(TModel& model, std::string_view displayName, fs::path folder)
        : model_(model), displayName_(displayName), folder_(std::move(folder))
    {
    }

    void line(std::string_view raw, std::uint64_t number);

private:
    [[noreturn]] void fail(const std::string& what) const
    {
        throw FileError(displayName_, FilePlace::line(lineNumber_), what);
    }
    Vector3 readColour(std::string_view rest) const;
    void readMap(std::string_view keyword, std::string_view text);

    TModel& model_;
    std::string displayName_;
    fs::path folder_;
    std::uint64_t lineNumber_ = 0;
    bool haveDiffuseMap_ = false;
};

Vector3 MtlReader::readColour(std::string_view rest) const
{
    FieldCursor fields(rest);
    std::string_view field;
    float rgb[3];
    int got = 0;
    while (got < 3 && fields.next(field)) {
        if (!parseNumberField(field, rgb[got]))
            fail("malformed number " + quoteField(field));
        ++got;
    }
    if (got == 1)
        return {rgb[0], rgb[0], rgb[0]}; // "Kd 0.5" is a grey
    if (got < 3)
        fail("a colour needs three numbers");
    return {rgb[0], rgb[1], rgb[2]};
}

void MtlReader::readMap(std::string_view keyword, std::string_view text)
{
    // The diffuse map is the one the engine draws with: a bump or specular map
    // written after it must not replace it.
    const bool diffuse = equalsIgnoringAsciiCase(keyword, "MAP_KD");
    if (haveDiffuseMap_ && !diffuse)
        return;
    std::size_t start = text.size();
    while (start > 0 && !isFieldBlank(text[start - 1]))
        --start;
    TMaterial& material = model_.Materials[model_.MaterialCount];
    material.MapName = modelName(text.substr(start));
    const fs::path path = resolveBeside(folder_, material.MapName);
    material.MapPath = isExistingFile(path) ? path : fs::path();
    haveDiffuseMap_ = haveDiffuseMap_ || diffuse;
}

void MtlReader::line(std::string_view raw, std::uint64_t number)
{
    lineNumber_ = number;
    const std::string_view text = trimBlanks(raw);
    if (text.empty() || text.front() == '#')
        return;
    const auto [keyword, rest] = splitKeyword(text);
    if (equalsIgnoringAsciiCase(keyword, "NEWMTL")) {
        if (model_.MaterialCount >= kMaxModelCount)
            fail("too many materials");
        TMaterial material;
        material.Name = modelName(rest);
        model_.Materials.push_back(std::move(material));
        ++model_.MaterialCount;
        haveDiffuseMap_ = false;
        return;
    }
    if (model_.MaterialCount == 0)
        return; // nothing to apply it to before the first "newmtl"
    TMaterial& material = model_.Materials[model_.MaterialCount];
    if (equalsIgnoringAsciiCase(keyword, "NS")) {
        FieldCursor fields(rest);
        std::string_view field;
        if (!fields.next(field))
            fail("Ns needs a number");
        if (!parseNumberField(field, material.Shininess))
            fail("malformed number " + quoteField(field));
    } else if (equalsIgnoringAsciiCase(keyword, "KA")) {
        material.Ambient = readColour(rest);
    } else if (equalsIgnoringAsciiCase(keyword, "KD")) {
        material.Diffuse = readColour(rest);
    } else if (equalsIgnoringAsciiCase(keyword, "KS")) {
        material.Specular = readColour(rest);
    } else if (keyword.size() > 3 && equalsIgnoringAsciiCase(keyword.substr(0, 4), "MAP_")) {
        readMap(keyword, rest);
    }
}

} // namespace

void ReadMTLText(TModel& model, std::string_view bytes, std::string_view displayName, const fs::path& folder)
{
    MtlReader reader(model, displayName, folder);
    TextLineSplitter lines{std::string(displayName)};
    auto onLine = [&](std::string_view text, std::uint64_t number) { reader.line(text, number); };
    lines.feed(bytes, onLine);
    lines.finish(onLine);
}

} // namespace ra7
