#pragma once
// What the ra7 tool's tests share: captured output and a project folder's
// engine data in the scratch working directory.

#include <iostream>
#include <sstream>
#include <string>
#include <utility>

namespace ra7::test {

// Runs `run` with standard output and error captured.
template <class Run>
std::pair<std::string, std::string> captured(Run run, int& status)
{
    std::ostringstream out, err;
    std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());
    std::streambuf* oldErr = std::cerr.rdbuf(err.rdbuf());
    status = run();
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    return {out.str(), err.str()};
}

// The engine's own data (shader programs) in the working directory, as a
// project folder has it.
void installEngineData();

} // namespace ra7::test

#include <filesystem>
#include <vector>

namespace ra7::test {

// What a program run left: its exit status and its two output streams.
struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `program` with `arguments` in the working directory, its outputs
// captured apart from it (nothing is written there by this). `environment`
// entries "NAME=value" are set, "NAME" alone removes the variable.
ProgramRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment = {});

// The ra7 tool and the editor of this build.
std::filesystem::path ra7ToolPath();
std::filesystem::path ra7EditorPath();

// The ra7 tool of this build.
ProgramRun runRa7(const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment = {});

// The names in a folder (not below), sorted.
std::vector<std::string> folderEntries(const std::filesystem::path& folder);

} // namespace ra7::test
