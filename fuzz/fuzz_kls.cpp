// KLS lens-flare files: any bytes load or stop with a FileError, and the
// list never holds two flares of one name.
#include "effects/Ka7LensFlareList.h"
#include "runtime/Errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/ra7fuzz-" + std::to_string(::getpid()) + ".kls";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

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
