#include "engine/AudioFixture.h"

#include "effects/Ka7Audio.h"
#include "effects/Ka7SoundBuffersList.h"

#include <cstdio>
#include <exception>
#include <sys/wait.h>
#include <unistd.h>

namespace ra7::test {

void AudioTest::SetUp()
{
    ConsoleTest::SetUp();
    ASSERT_TRUE(OpenAudio()) << "no audio device (tests run with ALSOFT_DRIVERS=null)";
    SoundBuffers = std::make_unique<KaSoundBuffersList>();
}

void AudioTest::TearDown()
{
    SoundBuffers.reset();
    CloseAudio();
    ConsoleTest::TearDown();
}

int runInChildProcess(const std::function<int()>& body)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        int code = 1;
        try {
            code = body();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "child: %s\n", e.what());
        }
        std::fflush(nullptr);
        ::_exit(code);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void writeWaveBackendConfig(const std::filesystem::path& config, const std::filesystem::path& output,
                            int rate)
{
    writeFile(config, "[general]\nchannels = stereo\nsample-type = int16\nfrequency = " +
                          std::to_string(rate) + "\n[wave]\nfile = " + output.string() + "\n");
}

double stereoSample(const std::vector<std::uint8_t>& data, std::size_t frame, int channel)
{
    const std::size_t at = frame * 4 + static_cast<std::size_t>(channel) * 2;
    return static_cast<std::int16_t>(data[at] | data[at + 1] << 8) / 32768.0;
}

} // namespace ra7::test
