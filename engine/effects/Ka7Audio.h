#pragma once
// The audio device: opened once at start-up, closed once at shut-down, with
// its context current in between. Every OpenAL call of the engine runs
// between the two.

#include <string>

namespace ra7 {

struct AudioLibraryInfo {
    std::string version;
    std::string vendor;
    std::string renderer;
    std::string extensions;
};

// Opens the default OpenAL device, creates a context on it without
// attributes and makes it current. When no device opens, logs a "! " line
// and returns false: the engine goes on without sound, and every later
// sound operation fails with its own error. With a context already current
// it changes nothing and returns true.
bool OpenAudio();

// Takes the current context, finds its device, destroys the context and
// closes the device. Does nothing when no context is current.
void CloseAudio();

// Whether a context is current.
bool AudioIsOpen();

// The audio library's version, vendor, renderer and extension texts, as
// "alinfo" logs them. The extension list always ends with a blank so that
// its last name is logged and counted too. Without a device the texts are
// empty.
AudioLibraryInfo GetAudioLibraryInfo();

// Clears the audio library's error flag, so that the next check reports
// only what the following calls did.
void ClearAlError();

// Throws Error(message) when the audio library reports an error since the
// last check (and clears it).
void CheckAlError(const std::string& message);

} // namespace ra7
