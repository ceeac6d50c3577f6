#include "effects/Ka7Audio.h"

#include "runtime/Errors.h"
#include "runtime/Ka7Log.h"

#include <AL/al.h>
#include <AL/alc.h>

namespace ra7 {

namespace {

std::string alText(ALenum name)
{
    const ALchar* text = alGetString(name);
    return text ? std::string(text) : std::string();
}

} // namespace

bool OpenAudio()
{
    if (AudioIsOpen())
        return true; // one device for the whole run
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) {
        LogLine("! Звуковое устройство не открылось: движок работает без звука");
        return false;
    }
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context || alcMakeContextCurrent(context) != ALC_TRUE) {
        if (context)
            alcDestroyContext(context);
        alcCloseDevice(device);
        LogLine("! Звуковой контекст не создан: движок работает без звука");
        return false;
    }
    return true;
}

void CloseAudio()
{
    ALCcontext* context = alcGetCurrentContext();
    if (!context)
        return;
    ALCdevice* device = alcGetContextsDevice(context);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    if (device)
        alcCloseDevice(device);
}

bool AudioIsOpen()
{
    return alcGetCurrentContext() != nullptr;
}

AudioLibraryInfo GetAudioLibraryInfo()
{
    AudioLibraryInfo info;
    if (!AudioIsOpen())
        return info;
    info.version = alText(AL_VERSION);
    info.vendor = alText(AL_VENDOR);
    info.renderer = alText(AL_RENDERER);
    info.extensions = alText(AL_EXTENSIONS);
    if (!info.extensions.empty() && info.extensions.back() != ' ')
        info.extensions += ' ';
    return info;
}

void ClearAlError()
{
    alGetError();
}

void CheckAlError(const std::string& message)
{
    if (alGetError() != AL_NO_ERROR)
        throw Error(message);
}

} // namespace ra7
