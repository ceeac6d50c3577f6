// The record readers the engine's files are made of, each over the real
// RecordReader: the first byte picks one (a scene object record of each kind,
// a material, a lens flare, a bounding-volume set, a mesh, a whole scene
// file), the second how often the rest is repeated, so that a file can reach
// past the reader's 64 KiB window. The picked reader reads records one after
// another until the end or the first error, once from a file and once from
// memory. Both must read the same number of records to the same offset and
// fail, if they do, with the same message.
#include "FuzzSupport.h"

#include "effects/Ka7LensFlare.h"
#include "resources/Ka7Material.h"
#include "resources/Ka7Mesh.h"
#include "runtime/Errors.h"
#include "runtime/RecordFile.h"
#include "scene/Ka7BoundingVolume.h"
#include "scene/KgfNameTable.h"
#include "scene/SceneFile.h"
#include "scene/SceneObjectKinds.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

using RecordRead = std::function<void(ra7::RecordReader&)>;

const ra7::KgfNameTable& nameTable()
{
    static const ra7::KgfNameTable names({"Geom1", "cam1", "lig1", "spr1"});
    return names;
}

RecordRead objectRecord(ra7::KaObjKind kind)
{
    return [kind](ra7::RecordReader& file) {
        file.readTag();
        ra7::ReadObjectRecord(file, kind, nameTable());
    };
}

const std::array<RecordRead, 11> kReaders = {
    objectRecord(ra7::KaObjKind::Geometry),
    objectRecord(ra7::KaObjKind::Light),
    objectRecord(ra7::KaObjKind::Sprite),
    objectRecord(ra7::KaObjKind::ParSystem),
    objectRecord(ra7::KaObjKind::Sound),
    objectRecord(ra7::KaObjKind::Camera),
    [](ra7::RecordReader& file) {
        file.skip(ra7::kTagSize);
        ra7::KaMaterial material;
        ra7::ReadMaterialRecord(file, material);
    },
    [](ra7::RecordReader& file) {
        file.skip(ra7::kTagSize);
        ra7::KaLensFlare flare;
        flare.LoadFromFile(file);
    },
    [](ra7::RecordReader& file) {
        ra7::KaBoundingVolume set;
        set.LoadFromFile(file);
    },
    [](ra7::RecordReader& file) {
        ra7::KaMesh mesh;
        ra7::ReadMeshFile(file, mesh);
    },
    [](ra7::RecordReader& file) { ra7::ReadSceneFileContents(file); },
};

struct Outcome {
    int records = 0;
    std::uint64_t offset = 0;
    std::string error;
    bool operator==(const Outcome&) const = default;
};

// Records until the end, the first error or a record that reads nothing.
Outcome readAll(ra7::RecordReader& file, const RecordRead& read)
{
    Outcome outcome;
    try {
        while (!file.atEnd()) {
            const std::uint64_t start = file.offset();
            read(file);
            ++outcome.records;
            if (file.offset() == start)
                break;
        }
    } catch (const ra7::FileError& error) {
        outcome.error = error.what();
    }
    outcome.offset = file.offset();
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const RecordRead& read = kReaders[data[0] % kReaders.size()];
    const int copies = 1 + data[1] % 4;
    std::string bytes;
    for (int i = 0; i < copies; ++i)
        bytes.append(ra7::fuzz::AsText(data + 2, size - 2));

    const std::string path = ra7::fuzz::WriteScratchFile(
        "fuzz.rec", reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ra7::RecordReader fromFile = ra7::RecordReader::openFile(path);
    ra7::RecordReader fromMemory(path, bytes);
    if (readAll(fromFile, read) != readAll(fromMemory, read))
        std::abort();
    return 0;
}
