#pragma once
// `ra7 convert MODEL.obj|.gms`: the converter page's pipeline without the
// editor. The engine starts headless in the working directory (config.txt,
// log.txt), the model is read, scaled and converted, tangent space is
// computed, every mesh is written to its file and the scene to a KGF file
// (its materials to the KMT file beside it).

#include "MeshMenderCall.h"

#include <cstdint>
#include <string>

namespace ra7 {

struct ConvertOptions {
    std::string model;  // .obj or .gms, relative to the working directory or absolute
    std::string folder; // where the .mes files of an OBJ model go; created when missing
    std::string output; // the KGF file; ".kgf" is appended when it has another extension
    float scale = 1;    // OBJ only
    int tangent = 0;    // 0 none, 1 gradients, 2 iso-lines, 3 the mesh mender
    MeshMenderOptions mender;
    bool quiet = false;     // do not copy the log to standard output
    bool overwrite = false; // replace mesh files that are already there
};

// Returns 0, or 1 when the model was refused or a step failed (the reason is
// in the log and on standard error). A model without faces is refused, and
// so is a conversion that would replace mesh files already there unless
// `overwrite` is set; nothing is written then.
int RunConvert(const ConvertOptions& options);

} // namespace ra7
