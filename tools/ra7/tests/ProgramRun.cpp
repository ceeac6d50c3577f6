#include "ToolTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace ra7::test {

namespace {

// A file for one output stream, outside the working directory.
class CaptureFile {
public:
    CaptureFile()
    {
        char name[] = "/tmp/ra7-test-output-XXXXXX";
        fd_ = ::mkstemp(name);
        path_ = name;
    }
    ~CaptureFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    CaptureFile(const CaptureFile&) = delete;
    CaptureFile& operator=(const CaptureFile&) = delete;

    int fd() const { return fd_; }
    std::string text() const
    {
        std::ifstream file(path_, std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }

private:
    int fd_ = -1;
    std::filesystem::path path_;
};

} // namespace

ProgramRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment)
{
    CaptureFile out, err;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out.fd(), STDOUT_FILENO);
        ::dup2(err.fd(), STDERR_FILENO);
        for (const std::string& entry : environment) {
            const std::size_t equals = entry.find('=');
            if (equals == std::string::npos)
                ::unsetenv(entry.c_str());
            else
                ::setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
        }
        std::vector<char*> argv;
        std::string name = program.string();
        argv.push_back(name.data());
        std::vector<std::string> copies = arguments;
        for (std::string& argument : copies)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        ::execv(name.c_str(), argv.data());
        std::_Exit(127);
    }
    ProgramRun run;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child)
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = out.text();
    run.err = err.text();
    return run;
}

std::filesystem::path ra7ToolPath()
{
    return RA7_TOOL_PATH;
}

std::filesystem::path ra7EditorPath()
{
    return RA7_EDITOR_PATH;
}

ProgramRun runRa7(const std::vector<std::string>& arguments, const std::vector<std::string>& environment)
{
    // No sound device: the null back end keeps ALSA's complaints off standard error.
    std::vector<std::string> quiet = {"ALSOFT_DRIVERS=null"};
    quiet.insert(quiet.end(), environment.begin(), environment.end());
    return runProgram(ra7ToolPath(), arguments, quiet);
}

std::vector<std::string> folderEntries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace ra7::test
