// Every fenced example of README.md, run in order in a scratch folder with
// the ra7 of this build first on the PATH:
//   ```sh              commands, run with bash (errexit, pipefail); must succeed
//   ```LANG FILE       a file the following commands use, written first
//   ```output          lines the commands just before must print
// Any other fenced block fails the test: an example nobody runs goes stale.
#include "ToolTestSupport.h"

#include "engine/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace ra7 {
namespace {

namespace fs = std::filesystem;

struct Example {
    int line = 0; // of the opening fence
    std::string language;
    std::string file;
    std::string body;
};

std::vector<Example> fencedExamples(const std::string& markdown)
{
    std::vector<Example> examples;
    std::istringstream lines(markdown);
    std::string line;
    Example* open = nullptr;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.rfind("```", 0) != 0) {
            if (open)
                open->body += line + '\n';
            continue;
        }
        if (open) {
            open = nullptr;
            continue;
        }
        Example example;
        example.line = number;
        std::istringstream info(line.substr(3));
        info >> example.language >> example.file;
        examples.push_back(example);
        open = &examples.back();
    }
    return examples;
}

std::vector<std::string> nonEmptyLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

class Ra7Readme : public test::ScratchDirectoryTest {};

TEST(Ra7ReadmeExamples, FencesAreFoundWithTheirFileNames)
{
    const auto examples =
        fencedExamples("text\n```sh\nra7 init a\n```\n\n```text a/walk.txt\n0 move box (1;0;0) t:10\n```\n");
    ASSERT_EQ(examples.size(), 2u);
    EXPECT_EQ(examples[0].language, "sh");
    EXPECT_EQ(examples[0].body, "ra7 init a\n");
    EXPECT_EQ(examples[0].line, 2);
    EXPECT_EQ(examples[1].file, "a/walk.txt");
    EXPECT_EQ(examples[1].body, "0 move box (1;0;0) t:10\n");
}

TEST_F(Ra7Readme, EveryExampleRunsAsWritten)
{
    const std::vector<Example> examples =
        fencedExamples(test::readFile(fs::path(RA7_SOURCE_DIR) / "README.md"));
    ASSERT_GE(examples.size(), 5u) << "the README's examples were not found";
    const char* path = std::getenv("PATH");
    const std::string searchPath =
        "PATH=" + test::ra7ToolPath().parent_path().string() + ":" + (path ? path : "/usr/bin:/bin");
    std::string lastOutput;
    int commands = 0;
    for (const Example& example : examples) {
        const std::string where = "README.md:" + std::to_string(example.line);
        if (example.language == "sh") {
            const test::ProgramRun run =
                test::runProgram("/bin/bash", {"-euo", "pipefail", "-c", example.body}, {searchPath});
            EXPECT_EQ(run.status, 0) << where << '\n' << example.body << run.out << run.err;
            lastOutput = run.out;
            ++commands;
        } else if (example.language == "output") {
            for (const std::string& expected : nonEmptyLines(example.body))
                EXPECT_NE(lastOutput.find(expected), std::string::npos)
                    << where << ": the commands before did not print\n"
                    << expected << "\nbut\n"
                    << lastOutput;
        } else if (!example.file.empty()) {
            fs::create_directories(fs::path(example.file).parent_path().empty()
                                       ? fs::path(".")
                                       : fs::path(example.file).parent_path());
            test::writeFile(example.file, example.body);
        } else {
            ADD_FAILURE() << where << ": a fenced example the test cannot run (```" << example.language
                          << "): make it ```sh, or give the file it stands for after the language";
        }
    }
    EXPECT_GE(commands, 3);
}

} // namespace
} // namespace ra7
