#include "ConversionTargets.h"

#include "EditConvert.h"

#include "runtime/PathResolver.h"

#include <system_error>

namespace ra7 {

namespace {

constexpr std::size_t kNamesShown = 3;

} // namespace

bool ModelHasFaces(const TModel& model)
{
    for (std::int32_t g = 1; g <= model.GroupCount; ++g)
        if (model.Groups[static_cast<std::size_t>(g)].FaceCount > 0)
            return true;
    return false;
}

std::vector<std::string> ExistingMeshFiles(const std::vector<std::string>& meshNames)
{
    std::vector<std::string> existing;
    for (const std::string& name : meshNames) {
        std::error_code ec;
        if (std::filesystem::exists(resolvePath(name), ec))
            existing.push_back(name);
    }
    return existing;
}

std::vector<std::string> MeshFilesInTheWay(const TModel& model, std::string_view directory)
{
    std::vector<std::string> names;
    for (const GroupMeshPlan& plan : PlanGroupMeshes(model, directory))
        names.push_back(plan.MeshName);
    return ExistingMeshFiles(names);
}

std::string FilesInTheWayText(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i)
        text += (i == 0 ? "" : ", ") + names[i];
    if (names.size() > kNamesShown)
        text += " and " + std::to_string(names.size() - kNamesShown) + " more";
    return text + (names.size() == 1 ? " is already there" : " are already there");
}

} // namespace ra7
