// KMT material libraries through the loader "addmat" runs, on the engine
// started headless (texture names are loaded, or skipped with a "! " line):
// a library loads or stops with a FileError, the list never holds two
// materials of one name, and loading the same file again adds nothing.
#include "FuzzSupport.h"

#include "resources/Ka7MaterialList.h"
#include "runtime/Errors.h"
#include "runtime/LeakChecker.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

RA7_LEAK_CHECKER_HOOKS()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::fuzz::StartedEngine();
    const std::string path = ra7::fuzz::WriteScratchFile("fuzz.kmt", data, size);
    ra7::KaMaterialList& list = *ra7::Materials;
    bool loaded = true;
    try {
        list.LoadFromFile(path);
    } catch (const ra7::FileError&) {
        loaded = false;
    }
    std::set<std::string> names;
    for (std::int32_t i = 0; i < list.Count(); ++i)
        if (!names.insert(list.Get(i).Name).second)
            std::abort();
    if (loaded) {
        const std::int32_t count = list.Count();
        list.LoadFromFile(path);
        if (list.Count() != count)
            std::abort();
    }
    return 0;
}
