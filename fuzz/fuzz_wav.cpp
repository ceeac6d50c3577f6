// WAV files through the engine's loader (LoadWav, what a sound buffer runs):
// it returns a sound or throws a FileError; it never reads outside the file
// and never allocates more than the file holds.
#include "FuzzSupport.h"

#include "effects/Ka7SoundLoader.h"
#include "runtime/Errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const ra7::SoundData sound = ra7::LoadWav(ra7::fuzz::WriteScratchFile("fuzz.wav", data, size));
        if (sound.Data.size() > size)
            std::abort();
    } catch (const ra7::FileError&) {
    }
    return 0;
}
