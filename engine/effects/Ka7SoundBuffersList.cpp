#include "effects/Ka7SoundBuffersList.h"

#include "effects/Ka7Audio.h"
#include "effects/Ka7SoundLoader.h"
#include "runtime/Errors.h"

#include <AL/al.h>

namespace ra7 {

std::unique_ptr<KaSoundBuffersList> SoundBuffers;

namespace {

// The extension as the file name ends: from the last dot behind the last
// folder separator, dot included; empty when there is none.
std::string_view extensionOf(std::string_view fileName)
{
    const std::size_t mark = fileName.find_last_of("./\\");
    if (mark == std::string_view::npos || fileName[mark] != '.')
        return {};
    return fileName.substr(mark);
}

SoundData loadSound(const std::string& fileName)
{
    const std::string_view extension = extensionOf(fileName);
    if (extension == ".wav")
        return LoadWav(fileName);
    if (extension == ".ogg")
        return LoadOgg(fileName);
    throw Error("Cannot load " + fileName);
}

// A generated buffer that is deleted again unless it is handed over.
class PendingBuffer {
public:
    explicit PendingBuffer(const std::string& fileName)
    {
        ClearAlError();
        alGenBuffers(1, &name_);
        if (alGetError() != AL_NO_ERROR) {
            name_ = 0;
            throw Error("Cannot create Buffer in sound <" + fileName + ">");
        }
    }
    ~PendingBuffer()
    {
        if (name_ != 0) {
            alDeleteBuffers(1, &name_);
            alGetError();
        }
    }
    PendingBuffer(const PendingBuffer&) = delete;
    PendingBuffer& operator=(const PendingBuffer&) = delete;

    ALuint name() const { return name_; }
    ALuint release()
    {
        const ALuint name = name_;
        name_ = 0;
        return name;
    }

private:
    ALuint name_ = 0;
};

} // namespace

KaSoundBuffersList::~KaSoundBuffersList()
{
    for (const KaSoundBuffer& item : Items) {
        ALuint buffer = item.Buffer;
        alDeleteBuffers(1, &buffer);
    }
    if (!Items.empty())
        alGetError();
}

std::int32_t KaSoundBuffersList::Add(const std::string& fileName)
{
    if (fileName.empty())
        return -1;
    if (const std::int32_t index = IndexOf(fileName); index >= 0)
        return index;

    const SoundData sound = loadSound(fileName);
    PendingBuffer buffer(fileName);
    alBufferData(buffer.name(), sound.Format, sound.Data.data(), static_cast<ALsizei>(sound.Data.size()),
                 sound.Frequency);
    if (alGetError() != AL_NO_ERROR)
        throw Error("Cannot assign wave data to buffer");
    Items.push_back({fileName, buffer.release(), sound.Size()});
    return Count() - 1;
}

std::int32_t KaSoundBuffersList::IndexOf(std::string_view name) const
{
    for (std::size_t i = 0; i < Items.size(); ++i)
        if (Items[i].Name == name)
            return static_cast<std::int32_t>(i);
    return -1;
}

KaSoundBuffer KaSoundBuffersList::Get(std::int32_t index) const
{
    if (index < 0 || index >= Count())
        throw Error("Array index out of bounds.");
    return Items[static_cast<std::size_t>(index)];
}

void KaSoundBuffersList::Clear()
{
    ClearAlError();
    std::size_t deleted = 0;
    for (; deleted < Items.size(); ++deleted) {
        ALuint buffer = Items[deleted].Buffer;
        alDeleteBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) {
            Items.erase(Items.begin(), Items.begin() + static_cast<std::ptrdiff_t>(deleted));
            throw Error("Cannot delete Buffer");
        }
    }
    Items.clear();
}

} // namespace ra7
