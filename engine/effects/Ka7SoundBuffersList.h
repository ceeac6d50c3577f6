#pragma once
// The loaded sounds: one OpenAL buffer per sound file, looked up by the
// file name exactly as it was added (case-sensitive). The list owns the
// buffers and deletes them in `Clear`.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

struct KaSoundBuffer {
    std::string Name;         // the file name as passed to Add
    std::uint32_t Buffer = 0; // OpenAL buffer name
    std::int32_t Size = 0;    // bytes of sample data
};

class KaSoundBuffersList {
public:
    KaSoundBuffersList() = default;
    KaSoundBuffersList(const KaSoundBuffersList&) = delete;
    KaSoundBuffersList& operator=(const KaSoundBuffersList&) = delete;
    // Deletes what buffers it can; a buffer that a source still plays stays
    // with the device, which frees it when it closes.
    ~KaSoundBuffersList();

    std::int32_t Count() const { return static_cast<std::int32_t>(Items.size()); }

    // −1 for an empty name; the index of a record of exactly that name; else
    // loads the file (".wav" or ".ogg", the extension compared exactly) into
    // a new buffer and returns its index. Errors: "Cannot load <name>" for
    // another extension, the loader's errors, "Cannot create Buffer in sound
    // <name>", "Cannot assign wave data to buffer". A failed Add leaves the
    // list as it was.
    std::int32_t Add(const std::string& fileName);

    std::int32_t IndexOf(std::string_view name) const;

    // A copy of the record; "Array index out of bounds." outside 0 … Count − 1.
    KaSoundBuffer Get(std::int32_t index) const;

    // Deletes the buffers in index order and empties the list. A buffer the
    // audio library refuses to delete (a source still holds it) raises
    // "Cannot delete Buffer": the records before it are gone, it and the
    // records behind it stay.
    void Clear();

private:
    std::vector<KaSoundBuffer> Items;
};

// The engine-wide list, created and freed by EngineInit/EngineDone.
extern std::unique_ptr<KaSoundBuffersList> SoundBuffers;

} // namespace ra7
