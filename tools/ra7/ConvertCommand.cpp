#include "ConvertCommand.h"

#include "ConversionTargets.h"
#include "ConvertToScene.h"
#include "ConverterLines.h"
#include "EditConvert.h"
#include "MeshFiles.h"
#include "OBJLoader.h"
#include "SceneTangentSpace.h"

#include "host/Ka7ConsoleCommands.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Capabilities.h"
#include "runtime/DotWindow.h"
#include "runtime/Errors.h"
#include "runtime/HeadlessContext.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "runtime/PathResolver.h"
#include "runtime/Stopwatch.h"
#include "runtime/TextUtil.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace ra7 {

namespace {

// A refusal the log already holds; ends the run with status 1. `reason` is
// the line that explains it, printed on standard error even with --quiet
// (the log's last line may only say that the conversion was cancelled).
struct Refused {
    std::string reason;
};

class Timed {
public:
    std::int64_t micros() const
    {
        const auto took = std::chrono::steady_clock::now() - start_;
        return std::chrono::duration_cast<std::chrono::microseconds>(took).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

bool hasExtension(const std::string& name, std::string_view extension)
{
    return asciiLower(fs::path(name).extension().string()) == extension;
}

void refuse(const std::string& message)
{
    LogLine("! " + message);
    throw Refused{message};
}

// The converter's own refusal: its error line, then "Отмена конвертации!".
void cancelConversion(const std::string& error)
{
    const std::string reason = "--Конвертер: Ошибка! " + error;
    LogLine(reason);
    LogLine("--Конвертер: Отмена конвертации!");
    throw Refused{reason};
}

// Another model's meshes (a model without groups writes DEFAULT.mes) are
// never replaced unasked.
void refuseFilesInTheWay(const std::vector<std::string>& names, const ConvertOptions& options)
{
    if (names.empty() || options.overwrite)
        return;
    refuse("ra7 convert: " + FilesInTheWayText(names) +
           "; give --overwrite to replace, or convert into another --folder");
}

// The part of the engine the converter needs (no shaders, no sound, so it
// runs in any folder): a context for the textures, the
// object array and the three lists conversion fills.
class ConverterEngine {
public:
    ConverterEngine() : context_(std::make_unique<HeadlessContext>(64, 64))
    {
        if (!context_.InitGL())
            refuse("ra7 convert: cannot create a headless OpenGL context");
        DetectCapabilities(context_);
        SceneObjects = std::make_unique<KaObjArray>();
        Meshes = std::make_unique<KaMeshList>();
        Materials = std::make_unique<KaMaterialList>();
        Textures = std::make_unique<KaTextureArray>();
        SceneObjects->SetMaterialCatalog(Materials.get());
    }
    ~ConverterEngine()
    {
        context_.MakeCurrent();
        SceneObjects.reset();
        Meshes.reset();
        Materials.reset();
        Textures.reset();
    }
    ConverterEngine(const ConverterEngine&) = delete;
    ConverterEngine& operator=(const ConverterEngine&) = delete;

private:
    TDotContext context_;
};

void convertOBJ(const ConvertOptions& options)
{
    if (options.folder.empty())
        refuse("ra7 convert: --folder is required for an OBJ model");
    LogLine(kConverterLoadingLine);
    Timed load;
    TModel model = LoadOBJ(options.model, [](const std::string& caption, const std::string& text) {
        LogLine("! " + caption + ": " + text);
    });
    LogLine(ConverterLoadedLine(load.micros()));
    if (!ModelHasFaces(model))
        cancelConversion("В модели нет ни одной грани (" + options.model + " - не модель OBJ?)");
    if (!IsTriangulated(model))
        cancelConversion("Модель не триангулирована!");
    ScaleModel(model, options.scale);

    const std::string folder = ConversionFolder(options.folder);
    refuseFilesInTheWay(MeshFilesInTheWay(model, folder), options);
    LogLine(kConverterStartLine);
    Timed convert;
    fs::create_directories(resolvePath(folder));
    const ConversionResult result = ConvertOBJModel(model, folder);
    LogLine(ConverterConvertedLine(convert.micros()));
    LogLine("- " + std::to_string(result.MeshNames.size()) + " мешей, " +
            std::to_string(result.MaterialNames.size()) + " материалов");
}

void convertGMS(const ConvertOptions& options)
{
    if (options.scale != 1.0f)
        refuse("ra7 convert: --scale applies to OBJ models only");
    LogLine(kConverterLoadingLine);
    Timed load;
    const ConversionResult result = LoadGMS(options.model);
    LogLine(ConverterLoadedLine(load.micros()));
    if (result.MeshNames.empty())
        cancelConversion("В файле нет ни одного объекта trimesh() (" + options.model + " - не модель GMS?)");
    refuseFilesInTheWay(ExistingMeshFiles(result.MeshNames), options);
}

void computeTangents(const ConvertOptions& options)
{
    if (options.tangent == 0)
        return;
    std::unique_ptr<MeshMenderLibrary> mender;
    if (options.tangent == 3) {
        std::string whyNot;
        mender = MeshMenderLibrary::Open(kMeshMenderFileName, whyNot);
        if (!mender)
            refuse(whyNot);
    }
    LogLine(kTangentStartLine);
    if (options.tangent == 3)
        LogLine(kMeshesSavingLine);
    const TangentSpaceReport report =
        ApplyTangentSpace(static_cast<TangentMethod>(options.tangent), mender.get(), options.mender);
    if (options.tangent == 3)
        LogLine(kMeshesSavedLine);
    for (const std::string& line : TangentReportLines(report))
        LogLine(line);
    if (report.Computed > 0)
        LogLine(kTangentDoneLine);
}

// Every mesh to its file, as the editor's "Сохранить все..." writes them.
void saveAllMeshes()
{
    LogLine(kMeshesSavingLine);
    StagedFiles files;
    const std::vector<MeshWriteFailure> failures = StageMeshes(files, AllMeshes(), nullptr);
    files.Commit();
    for (const MeshWriteFailure& failure : failures)
        LogLine("! " + MeshWriteFailureLine(failure));
    if (!failures.empty())
        throw Refused{MeshWriteFailureLine(failures.front())};
    LogLine(kMeshesSavedLine);
}

// The command lines the save window would list for these objects: each mesh
// of each geometry once, in object order.
std::vector<std::string> resourceLines(const std::vector<std::int32_t>& indexes)
{
    std::vector<std::string> lines;
    auto add = [&](const std::string& mesh) {
        const std::string line = "addmesh <" + mesh + ">";
        if (!mesh.empty() && std::find(lines.begin(), lines.end(), line) == lines.end())
            lines.push_back(line);
    };
    for (const std::int32_t index : indexes) {
        const KaSceneObj* object = SceneObjects->GetItem(index);
        if (!object || object->Kind() != KaObjKind::Geometry)
            continue;
        const auto& geometry = static_cast<const KaGeometry&>(*object);
        add(geometry.MeshName);
        add(geometry.MeshLod1);
        add(geometry.MeshLod2);
    }
    return lines;
}

void saveScene(const ConvertOptions& options)
{
    std::string output = storedForm(relativeToWorkingDirectory(resolvePath(options.output)));
    if (!hasExtension(output, ".kgf"))
        output += ".kgf";
    std::vector<std::int32_t> indexes(static_cast<std::size_t>(SceneObjects->Count()));
    for (std::size_t i = 0; i < indexes.size(); ++i)
        indexes[i] = static_cast<std::int32_t>(i);
    LogLine("--Cохраняю...");
    SceneObjects->SaveObjects(output, indexes, resourceLines(indexes));
    LogLine("--Cохранено успешно...");
}

void runPipeline(const ConvertOptions& options)
{
    const bool obj = hasExtension(options.model, ".obj");
    if (!IsUsableScale(options.scale))
        refuse("ra7 convert: the scale must be a number above 0");
    if (!obj && !hasExtension(options.model, ".gms"))
        refuse("ra7 convert: " + options.model + ": the model must be an .obj or .gms file");
    if (options.tangent < 0 || options.tangent > 3)
        refuse("ra7 convert: the tangent method is 0, 1, 2 or 3");
    if (options.output.empty())
        refuse("ra7 convert: --output is required");
    for (const float value :
         {options.scale, options.mender.MinNormalCreaseCos, options.mender.MinTangentCreaseCos,
          options.mender.MinBinormalCreaseCos, options.mender.WeightNormalsByArea})
        if (!std::isfinite(value))
            refuse("ra7 convert: the scale and the mender's settings must be numbers");
    std::error_code error;
    if (!fs::is_regular_file(resolvePath(options.model), error))
        refuse("ra7 convert: " + options.model + ": no such file");
    if (obj && fs::is_regular_file(resolvePath(options.folder), error))
        refuse("ra7 convert: --folder " + options.folder +
               " is a file; give the folder the .mes files go to (it is made when missing)");
    LoadConfig(kConfigFileName);
    // The meshes' arrays must stay in memory to be computed and written.
    Settings.UseVBO = false;
    ConverterEngine engine;
    if (obj)
        convertOBJ(options);
    else
        convertGMS(options);
    computeTangents(options);
    if (options.tangent != 3) // the mender's run has written them already
        saveAllMeshes();
    saveScene(options);
}

} // namespace

int RunConvert(const ConvertOptions& options)
{
    int status = 0;
    std::string reason;
    InitConsole();
    try {
        runPipeline(options);
    } catch (const Refused& refusal) {
        reason = refusal.reason;
        status = 1;
    } catch (const std::exception& e) {
        reason = e.what();
        LogLine("! " + reason);
        status = 1;
    }
    SaveLog();
    if (!options.quiet)
        for (const std::string& line : LogLines())
            std::cout << line << '\n';
    if (status != 0)
        std::cerr << (reason.rfind("ra7 convert: ", 0) == 0 ? reason : "ra7 convert: failed: " + reason)
                  << '\n';
    DoneConsole();
    return status;
}

} // namespace ra7
