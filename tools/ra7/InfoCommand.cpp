#include "InfoCommand.h"

#include "FileJson.h"
#include "effects/Ka7LensFlare.h"
#include "resources/Ka7Material.h"
#include "resources/Ka7Mesh.h"
#include "runtime/Errors.h"
#include "runtime/RecordFile.h"
#include "runtime/TextUtil.h"
#include "scene/Ka7BoundingVolume.h"
#include "scene/SceneFile.h"

#include <algorithm>
#include <iostream>
#include <sstream>

namespace ra7 {

using json = nlohmann::ordered_json;

namespace {

enum class FileKind { Scene, Bounds, Mesh, Materials, Flares, Unknown };

FileKind kindOf(const std::string& fileName)
{
    const std::string lower = asciiLower(fileName);
    auto endsWith = [&](std::string_view suffix) {
        return lower.size() >= suffix.size() &&
               lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    if (endsWith(".kgf"))
        return FileKind::Scene;
    if (endsWith(".phz"))
        return FileKind::Bounds;
    if (endsWith(".mes"))
        return FileKind::Mesh;
    if (endsWith(".kmt"))
        return FileKind::Materials;
    if (endsWith(".kls"))
        return FileKind::Flares;
    return FileKind::Unknown;
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "none" : text;
}

std::string numbers(const json& values)
{
    std::ostringstream text;
    for (std::size_t i = 0; i < values.size(); ++i)
        text << (i ? " " : "") << values[i].get<double>();
    return text.str();
}

// One "key value" line per field of the kind, in the JSON form's words.
void printFields(std::ostream& out, const json& object, const char* indent)
{
    static const std::vector<std::string> common = {"kind",   "tag",      "name",
                                                    "parent", "children", "transformation"};
    for (const auto& [key, value] : object.items()) {
        if (std::find(common.begin(), common.end(), key) != common.end())
            continue;
        out << indent << key << ": ";
        if (key == "bounds")
            out << "main box size " << numbers(value["main"]["size"]) << " at "
                << numbers(value["main"]["transformation"]["position"]) << ", " << value["shapes"].size()
                << " further shapes";
        else if (value.is_array() && !value.empty() && value[0].is_number())
            out << numbers(value);
        else if (value.is_string())
            out << '"' << value.get<std::string>() << '"';
        else
            out << value.dump(-1, ' ', false, json::error_handler_t::replace);
        out << '\n';
    }
}

void printScene(std::ostream& out, const std::string& fileName, const SceneFileContents& contents)
{
    out << fileName << ": scene file, " << contents.Objects.size() << " objects, "
        << contents.NameTable.size() << " names, " << contents.Lines.size() << " command lines\n";
    for (const auto& object : contents.Objects) {
        const json form = SceneObjectJson(*object);
        out << form["kind"].get<std::string>() << " \"" << object->Name()
            << "\"  parent: " << (object->ParentName.empty() ? "none" : object->ParentName)
            << "  children: " << joined(object->Children) << '\n';
        if (object->Trans) {
            out << "  position: " << numbers(form["transformation"]["position"]) << '\n';
            out << "  rotation: " << numbers(form["transformation"]["rotation"]) << '\n';
        }
        printFields(out, form, "  ");
    }
    out << "command lines:\n";
    for (const std::string& line : contents.Lines)
        out << "  " << line << '\n';
}

void printBounds(std::ostream& out, const std::string& fileName, const KaBoundingVolume& volume)
{
    out << fileName << ": bounding volume, main box and " << volume.Count() << " further shapes\n";
    const json form = BoundingVolumeJson(volume);
    auto shape = [&](const json& s, const std::string& title) {
        out << title << ": " << s["kind"].get<std::string>()
            << "  position: " << numbers(s["transformation"]["position"]);
        if (s.contains("size"))
            out << "  size: " << numbers(s["size"]);
        if (s.contains("radius"))
            out << "  radius: " << s["radius"].get<double>();
        out << "\n  rotation: " << numbers(s["transformation"]["rotation"]) << '\n';
    };
    shape(form["main"], "main");
    for (std::size_t i = 0; i < form["shapes"].size(); ++i)
        shape(form["shapes"][i], "shape " + std::to_string(i));
}

// The flares of a KLS file as stored: each record read into a fresh flare,
// names kept as they are.
std::vector<KaLensFlare> readFlares(RecordReader& file)
{
    file.skip(kTagSize); // tags are not compared, as the engine reads them
    constexpr std::size_t kMinFlareRecord = kTagSize + kShortStringSize + 4;
    const std::size_t count = file.readCount(kMinFlareRecord, "flare count");
    std::vector<KaLensFlare> flares(count);
    for (KaLensFlare& flare : flares) {
        file.skip(kTagSize);
        flare.LoadFromFile(file);
    }
    return flares;
}

void printFlares(std::ostream& out, const std::string& fileName, const std::vector<KaLensFlare>& flares)
{
    out << fileName << ": lens flare file, " << flares.size() << " flares\n";
    for (const KaLensFlare& flare : flares) {
        const json form = LensFlareJson(flare);
        out << "flare \"" << flare.Name << "\"  lenses: " << flare.LensCount;
        if (flare.LensCount > 0)
            out << "  distance scale: " << flare.DistanceScale;
        out << '\n';
        for (std::size_t i = 0; i < form["lenses"].size(); ++i) {
            const json& lens = form["lenses"][i];
            out << "  lens " << i << ": texture \"" << lens["texture"].get<std::string>()
                << "\"  color: " << numbers(lens["color"]) << "  pos: " << lens["pos"].get<double>()
                << "  size: " << lens["size"].get<double>() << '\n';
        }
    }
}

// Reads one file; returns its JSON form and prints the readable form when asked.
json inspect(const std::string& fileName, bool printText)
{
    switch (kindOf(fileName)) {
    case FileKind::Scene: {
        RecordReader file = RecordReader::openFile(fileName);
        const SceneFileContents contents = ReadSceneFileContents(file);
        if (printText)
            printScene(std::cout, fileName, contents);
        return SceneFileJson(fileName, contents);
    }
    case FileKind::Bounds: {
        RecordReader file = RecordReader::openFile(fileName);
        KaBoundingVolume volume;
        if (!volume.LoadFromFile(file))
            throw FileError(fileName, FilePlace::offset(file.offset() - kTagSize),
                            "not a bounding volume: the record must begin with the tags \"vol\" and \"aab\"");
        if (printText)
            printBounds(std::cout, fileName, volume);
        return {{"file", fileName}, {"format", "phz"}, {"volume", BoundingVolumeJson(volume)}};
    }
    case FileKind::Mesh: {
        RecordReader file = RecordReader::openFile(fileName);
        KaMesh mesh;
        ReadMeshFile(file, mesh);
        if (printText) {
            std::cout << fileName << ": ";
            for (const std::string& line : DescribeMeshFile(fileName))
                std::cout << line << '\n';
        }
        return MeshFileJson(fileName, mesh);
    }
    case FileKind::Materials: {
        json materials = json::array();
        for (const KaMaterial& material : ReadMaterialLibrary(fileName))
            materials.push_back(MaterialJson(material));
        if (printText) {
            std::cout << fileName << ": ";
            for (const std::string& line : DescribeMaterialFile(fileName))
                std::cout << line << '\n';
        }
        return {{"file", fileName}, {"format", "kmt"}, {"materials", materials}};
    }
    case FileKind::Flares: {
        RecordReader file = RecordReader::openFile(fileName);
        const std::vector<KaLensFlare> flares = readFlares(file);
        if (printText)
            printFlares(std::cout, fileName, flares);
        json forms = json::array();
        for (const KaLensFlare& flare : flares)
            forms.push_back(LensFlareJson(flare));
        return {{"file", fileName}, {"format", "kls"}, {"flares", forms}};
    }
    case FileKind::Unknown:
        break;
    }
    throw FileError(fileName, FilePlace::whole(),
                    "unknown kind of file (ra7 info reads .kgf, .phz, .mes, .kmt and .kls)");
}

} // namespace

int RunInfo(const InfoOptions& options)
{
    int status = 0;
    json documents = json::array();
    for (const std::string& fileName : options.files) {
        try {
            documents.push_back(inspect(fileName, !options.json));
        } catch (const Error& e) {
            std::cerr << "ra7: " << e.what() << '\n';
            status = 1;
        }
    }
    if (options.json) {
        const json& output = options.files.size() == 1 && documents.size() == 1 ? documents[0] : documents;
        std::cout << output.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
    }
    return status;
}

} // namespace ra7
