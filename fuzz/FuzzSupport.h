#pragma once
// What the fuzz targets share: a scratch folder per process that the engine
// runs in (its log.txt and config.txt, the files an input is written to, so
// that the production loaders read it the way they read a user's file), and
// the engine started headless as `ra7 console` starts it.
//
// A target that enters the scratch folder changes the working directory;
// scripts/fuzz passes libFuzzer absolute corpus and artifact paths for that.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace ra7::fuzz {

// The process's scratch folder, made on first use and removed when the
// process ends.
const std::filesystem::path& ScratchFolder();

// Makes the scratch folder the working directory.
void EnterScratchFolder();

// Writes the input into the scratch folder under `name`; returns the absolute
// path, in the form the engine stores names.
std::string WriteScratchFile(std::string_view name, const std::uint8_t* data, std::size_t size);

// Copies the seed files of fuzz/corpus/fuzz_mes, fuzz_kmt, fuzz_kls and
// fuzz_mtl into the scratch folder, with a small texture "tex.tga", so that
// the names inputs give resolve to real files (once per process).
void PlaceSeedFiles();

// The bytes of an input as text.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// Opens the console and its log in the scratch folder (once per process);
// later calls start a new, empty log, so that no input finds the lines of the
// one before.
void FreshConsole();

// Starts the engine headless in the scratch folder once per process (the
// start-up `ra7 console` runs; "exit" does nothing), with the seed files
// beside it so that resource commands have real files to load. Every call
// resets what an
// input may have left: the scene's objects, the loaded meshes, materials,
// textures, flares and scripts, the active camera, the random generator and
// the log.
void StartedEngine();

} // namespace ra7::fuzz
