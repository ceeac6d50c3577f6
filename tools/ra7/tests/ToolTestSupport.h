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
