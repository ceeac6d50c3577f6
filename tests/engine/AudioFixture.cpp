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

} // namespace ra7::test
