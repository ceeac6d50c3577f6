#pragma once
// Project folders on the command line: `ra7 init DIR` makes one, and every
// command that starts the engine enters one first (`--project DIR`, or the
// working directory) and stops before writing anything when it is not one.

#include <string>

namespace ra7 {

struct InitOptions {
    std::string folder;
    bool sample = false; // the sample project instead of an empty one
};

// Makes the folder a project from the engine data this program was built or
// installed with, and prints what was written. Returns 0, or 1 with the
// reason on standard error.
int RunInit(const InitOptions& options);

// Enters `project` (when given) and checks that the working directory is a
// project folder for the engine. Returns 0, 2 when the folder does not exist,
// or 1 when it is not a project, with the reason and how to make one on
// standard error; nothing is written in either case.
int EnterProject(const std::string& command, const std::string& project);

} // namespace ra7
