// Ogg Vorbis files through the engine's loader (LoadOgg, what a sound buffer
// runs; damage part of the way is a "! " line in a fresh log): it returns
// 16-bit mono or stereo samples or throws one of the engine's errors; the
// stream is closed exactly once either way (LeakSanitizer and
// AddressSanitizer watch; libvorbisfile's own leak is on the engine's list).
#include "FuzzSupport.h"

#include "effects/Ka7SoundLoader.h"
#include "runtime/Errors.h"
#include "runtime/LeakChecker.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

RA7_LEAK_CHECKER_HOOKS()

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ra7::fuzz::FreshConsole();
    const std::string path = ra7::fuzz::WriteScratchFile("fuzz.ogg", data, size);
    try {
        const ra7::SoundData sound = ra7::LoadOgg(path);
        const std::size_t frameBytes = sound.Format == AL_FORMAT_MONO16 ? 2 : 4;
        if (sound.Data.size() % frameBytes != 0)
            std::abort();
    } catch (const ra7::Error&) {
    }
    return 0;
}
