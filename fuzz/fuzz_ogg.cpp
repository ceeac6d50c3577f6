// The Ogg Vorbis reader on arbitrary bytes: it returns 16-bit mono or stereo
// samples or throws one of the engine's errors; the stream is closed exactly
// once either way (LeakSanitizer and AddressSanitizer watch).
#include "effects/Ka7SoundLoader.h"
#include "runtime/Errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const ra7::SoundData sound =
            ra7::DecodeOgg("fuzz.ogg", std::string(reinterpret_cast<const char*>(data), size));
        const std::size_t frameBytes = sound.Format == AL_FORMAT_MONO16 ? 2 : 4;
        if (sound.Data.size() % frameBytes != 0)
            std::abort();
    } catch (const ra7::Error&) {
    }
    return 0;
}
