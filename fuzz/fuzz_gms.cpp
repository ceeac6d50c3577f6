// GMS text models through the converter's loader (LoadGMS: read, then each
// object's mesh added to the mesh list and a geometry object to the scene),
// on the engine started headless: any bytes load or stop with a FileError
// naming the line, keeping what came before it, and every geometry object
// added names a mesh that is in the list.
#include "FuzzSupport.h"

#include "ConvertToScene.h"
#include "resources/Ka7MeshList.h"
#include "runtime/Errors.h"
#include "runtime/LeakChecker.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

RA7_LEAK_CHECKER_HOOKS()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::fuzz::StartedEngine();
    const std::string path = ra7::fuzz::WriteScratchFile("fuzz.gms", data, size);
    try {
        ra7::LoadGMS(path);
    } catch (const ra7::FileError&) {
    }
    for (std::int32_t i = 0; i < ra7::SceneObjects->Count(); ++i) {
        const auto* geometry = dynamic_cast<const ra7::KaGeometry*>(ra7::SceneObjects->GetItem(i));
        if (!geometry || ra7::Meshes->IndexOf(geometry->MeshName) < 0)
            std::abort();
    }
    return 0;
}
