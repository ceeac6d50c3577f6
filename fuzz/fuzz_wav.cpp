// The WAV reader on arbitrary bytes: it returns a sound or throws a
// FileError; it never reads outside the input and never allocates more than
// the input holds.
#include "effects/Ka7SoundLoader.h"
#include "runtime/Errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const ra7::SoundData sound =
            ra7::ParseWav("fuzz.wav", std::string_view(reinterpret_cast<const char*>(data), size));
        if (sound.Data.size() > size)
            std::abort();
    } catch (const ra7::FileError&) {
    }
    return 0;
}
