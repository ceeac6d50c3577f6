// SetDisplayMode against a real X server: Xvfb with one 1024 × 768 mode.
#include "engine/TestSupport.h"

#include "runtime/DisplaySetup.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace ra7 {
namespace {

// An Xvfb server of our own on the first free display number, stopped with
// the test; DISPLAY points at it meanwhile.
class XvfbServer {
public:
    XvfbServer()
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
                     "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        std::string number;
        char c = 0;
        while (::read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(fds[0]);
        if (number.empty())
            return;
        if (const char* previous = std::getenv("DISPLAY"))
            previous_ = previous;
        ::setenv("DISPLAY", (":" + number).c_str(), 1);
        running_ = true;
    }
    ~XvfbServer()
    {
        if (previous_)
            ::setenv("DISPLAY", previous_->c_str(), 1);
        else
            ::unsetenv("DISPLAY");
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool running() const { return running_; }

private:
    pid_t pid_ = -1;
    bool running_ = false;
    std::optional<std::string> previous_;
};

TEST(DisplayModeTest, OfferedSizeIsSetAndTheDesktopModeRestored)
{
    XvfbServer server;
    if (!server.running())
        RA7_SKIP_WITHOUT("Xvfb is not available");
    EXPECT_TRUE(SetDisplayMode(1024, 768, 24, 0));
    EXPECT_TRUE(SetDisplayMode(1024, 768, 32, 60))
        << "a rate the server does not offer falls back to its own";
    EXPECT_FALSE(SetDisplayMode(800, 600, 24, 0)) << "a size the server does not offer";
    EXPECT_FALSE(SetDisplayMode(1024, 768, 16, 0)) << "X cannot change the colour depth";
    EXPECT_TRUE(SetDisplayMode(0, 0, 0, 0));
}

TEST(DisplayModeTest, WithoutAnXServerModesFailAndThereIsNothingToRestore)
{
    std::optional<std::string> previous;
    if (const char* display = std::getenv("DISPLAY"))
        previous = display;
    ::unsetenv("DISPLAY");
    EXPECT_FALSE(SetDisplayMode(1024, 768, 24, 0));
    EXPECT_TRUE(SetDisplayMode(0, 0, 0, 0));
    if (previous)
        ::setenv("DISPLAY", previous->c_str(), 1);
}

} // namespace
} // namespace ra7
