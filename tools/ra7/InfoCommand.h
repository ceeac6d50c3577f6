#pragma once
// `ra7 info FILE...`: prints scene (KGF) and bounding-volume (PHZ) files,
// readably or as JSON.

#include <string>
#include <vector>

namespace ra7 {

struct InfoOptions {
    std::vector<std::string> files;
    bool json = false;
};

// Returns the process exit code: 0 when every file was read, 1 otherwise.
int RunInfo(const InfoOptions& options);

} // namespace ra7
