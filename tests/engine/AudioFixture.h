#pragma once
// Audio for the tests: the device opened as the engine opens it (the null
// backend under ctest) with the sound buffer list, and a way to run a body
// in a child process whose audio library starts afresh.

#include "engine/TestSupport.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace ra7::test {

// A console, an open audio device and `SoundBuffers`, freed in reverse order.
class AudioTest : public ConsoleTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

// The exit code of `body` run in a forked child (an exception gives 1, a
// signal −1). OpenAL Soft reads its configuration once per process, when it
// is first used, so a child that sets ALSOFT_* variables before its first
// OpenAL call gets them; kChildCannotConfigure tells the parent that OpenAL
// was already started before the fork.
int runInChildProcess(const std::function<int()>& body);
inline constexpr int kChildCannotConfigure = 77;

// An OpenAL Soft configuration that mixes 16-bit stereo at `rate` into the
// WAV file `output` (the wave backend); written to `config`.
void writeWaveBackendConfig(const std::filesystem::path& config, const std::filesystem::path& output,
                            int rate);

// Sample `frame` of `channel` (0 left, 1 right) of 16-bit stereo data, from −1 to 1.
double stereoSample(const std::vector<std::uint8_t>& data, std::size_t frame, int channel);

} // namespace ra7::test
