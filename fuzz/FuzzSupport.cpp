#include "FuzzSupport.h"

#include "anim/Ka7AnimScriptList.h"
#include "effects/Ka7LensFlareList.h"
#include "effects/Ka7SoundBuffersList.h"
#include "host/HeadlessEngine.h"
#include "host/Ka7ConsoleCommands.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7Console.h"
#include "runtime/KaRandom.h"
#include "scene/Ka7SceneUnit.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdlib.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace ra7::fuzz {

namespace {

// Shared memory where there is some: every input is written to a file, and on
// a disk (ext4 flushes a file rewritten from its start when it is closed)
// that costs milliseconds, a hundred times the work of most targets.
fs::path memoryFolder()
{
    std::error_code ec;
    if (fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    return fs::temp_directory_path();
}

// Removes the folder when the process ends; made before anything that writes
// into it, so it goes after them.
class Scratch {
public:
    Scratch()
    {
        std::string pattern = (memoryFolder() / "ra7fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::perror("ra7 fuzz: cannot make a scratch folder");
            std::abort();
        }
        path_ = pattern;
    }
    ~Scratch()
    {
        std::error_code ec;
        fs::current_path(fs::temp_directory_path(), ec);
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void writeBytes(const fs::path& path, const void* data, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

// A 2×2 uncompressed true-colour TGA, which DevIL reads.
void writeTexture(const fs::path& path)
{
    const unsigned char image[18 + 12] = {0, 0,  2, 0, 0, 0,   0, 0,   0, 0,   0, 0, 2,   0,   2,
                                          0, 24, 0, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    writeBytes(path, image, sizeof image);
}

// The engine's start-up compiles the standard shader set from data/shaders
// of its working folder.
void placeShaders()
{
    const fs::path shaders = ScratchFolder() / "data" / "shaders";
    fs::create_directories(shaders);
    fs::copy(RA7_FUZZ_SHADER_DIR, shaders, fs::copy_options::recursive | fs::copy_options::skip_existing);
}

bool consoleOpen = false;
HeadlessEngine* engine = nullptr;

} // namespace

const fs::path& ScratchFolder()
{
    static const Scratch scratch;
    return scratch.path();
}

void EnterScratchFolder()
{
    fs::current_path(ScratchFolder());
}

std::string WriteScratchFile(std::string_view name, const std::uint8_t* data, std::size_t size)
{
    const fs::path path = ScratchFolder() / name;
    writeBytes(path, data, size);
    return path.string();
}

void PlaceSeedFiles()
{
    static bool placed = false;
    if (placed)
        return;
    const fs::path seeds = RA7_FUZZ_SEED_DIR;
    for (const char* target : {"fuzz_mes", "fuzz_kmt", "fuzz_kls", "fuzz_mtl"}) {
        std::error_code ec;
        for (const fs::directory_entry& entry : fs::directory_iterator(seeds / target, ec))
            fs::copy_file(entry.path(), ScratchFolder() / entry.path().filename(),
                          fs::copy_options::skip_existing, ec);
    }
    writeTexture(ScratchFolder() / "tex.tga");
    placed = true;
}

void FreshConsole()
{
    if (consoleOpen) {
        DoneConsole();
    } else {
        EnterScratchFolder();
        consoleOpen = true;
    }
    InitConsole();
}

void StartedEngine()
{
    static bool started = false;
    if (!started) {
        EnterScratchFolder();
        PlaceSeedFiles();
        placeShaders();
        // No sound card: OpenAL Soft's null device, unless told otherwise.
        ::setenv("ALSOFT_DRIVERS", "null", 0);
        engine = new HeadlessEngine(64, 64);
        // Shut down as `ra7 console` does, when the fuzzer ends: registered
        // after the start-up, so it runs before the exit handlers the GL and
        // audio libraries registered during it.
        std::atexit([] { delete engine; });
        SetConsoleExitHandler([] {});
        started = true;
    }
    // Objects first: sound sources hold buffers, geometry names materials.
    SceneObjects->Clear();
    ActiveCameraName.clear();
    AnimList->Clear();
    LensFlares->Clear();
    Materials->Clear();
    Meshes->Clear();
    Textures->Clear();
    SoundBuffers->Clear();
    SeedRandom(1);
    DoneConsole();
    InitConsole();
}

} // namespace ra7::fuzz
