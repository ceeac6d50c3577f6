// KLS lens-flare files: any bytes load or stop with a FileError, and the
// list never holds two flares of one name.
#include "FuzzSupport.h"

#include "effects/Ka7LensFlareList.h"
#include "runtime/Errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = ra7::fuzz::WriteScratchFile("fuzz.kls", data, size);
    ra7::KaLensFlareList list;
    try {
        list.LoadFromFile(path);
        list.LoadFromFile(path); // the second load renames everything it adds
    } catch (const ra7::Error&) {
    }
    std::set<std::string> seen;
    for (std::int32_t i = 0; i < list.Count(); ++i)
        if (!seen.insert(list.Get(i).Name).second)
            std::abort();
    return 0;
}
