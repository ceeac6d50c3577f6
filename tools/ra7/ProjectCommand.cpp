#include "ProjectCommand.h"

#include "host/ProjectFolder.h"

#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace ra7 {

namespace {

void explainMissingData()
{
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    std::cerr << "ra7 init: cannot find the engine's data (data/shaders, data/arrow, sample/); looked in:\n";
    for (const fs::path& place : EngineDataCandidates(program))
        std::cerr << "  " << place.string() << '\n';
    std::cerr << "  Set RA7_DATA_DIR to the folder that holds them.\n";
}

} // namespace

int RunInit(const InitOptions& options)
{
    const std::optional<fs::path> data = FindEngineData();
    if (!data) {
        explainMissingData();
        return 1;
    }
    const fs::path folder = fs::absolute(options.folder).lexically_normal();
    try {
        const std::vector<std::string> lines =
            options.sample ? CopySampleProject(folder, *data) : CreateProject(folder, *data);
        std::cout << "ra7 init: " << (options.sample ? "sample project in " : "project folder ")
                  << folder.string() << '\n';
        for (const std::string& line : lines)
            std::cout << "  " << line << '\n';
    } catch (const std::exception& e) {
        std::cerr << "ra7 init: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

int EnterProject(const std::string& command, const std::string& project)
{
    std::error_code ec;
    if (!project.empty()) {
        fs::current_path(project, ec);
        if (ec) {
            std::cerr << "ra7 " << command << ": --project " << project << ": " << ec.message() << '\n';
            return 2;
        }
    }
    const fs::path here = fs::current_path(ec);
    const std::string problem = ProjectProblem(here);
    if (problem.empty())
        return 0;
    std::cerr << "ra7 " << command << ": " << here.string() << " is not a project folder: " << problem
              << ".\n"
              << "  Make one with `ra7 init DIR` (or `ra7 init --sample DIR` for the sample project) and run "
                 "there, or name one with --project DIR.\n";
    return 1;
}

} // namespace ra7
