#pragma once
// Reading the KGF scene file: the name table, the object records (names
// stored as positions in the table) and the command-line record. The reader
// hands every finished object and every command-line record to a handler as
// it comes, so a damaged file keeps what came before the damage.

#include "scene/Ka7SceneObjUnit.h"
#include "scene/KgfNameTable.h"

#include <memory>
#include <string>
#include <vector>

namespace ra7 {

class RecordReader;

// The most particles one system may hold: the scene file's reader, the
// script's "parsetcount" and the editor's prompts all keep to it, so that
// every system the engine makes can be saved and read back.
inline constexpr std::int32_t kMaxParticleCount = 100000;

class SceneFileHandler {
public:
    virtual ~SceneFileHandler() = default;
    // The table the records' names are mapped through, made from the stored one.
    virtual KgfNameTable PrepareNames(std::vector<std::string> storedNames) = 0;
    virtual void OnObject(std::unique_ptr<KaSceneObj> object) = 0;
    virtual void OnCommandLines(const std::vector<std::string>& lines) = 0;
};

// Reads one object record after its tag: for a particle system the count
// (refused outside 0 to kMaxParticleCount), then the object's own record.
std::unique_ptr<KaSceneObj> ReadObjectRecord(RecordReader& file, KaObjKind kind, const KgfNameTable& names);

// Runs one command line stored in a scene file. A line that fails is a "! "
// line in the log and the next line still runs, so one missing texture does
// not keep the scene's materials from loading; "exit" is never run from a file.
void RunStoredCommandLine(std::string_view line, std::string_view fileName);

// Reads a whole scene file. A record tag that is not one of the seven, a
// count larger than the file, a name index outside the table or an early end
// throws a FileError naming the file and the offset.
void ReadSceneFile(RecordReader& file, SceneFileHandler& handler);

// Everything a scene file holds, with the names as stored and no command run.
struct SceneFileContents {
    std::vector<std::string> NameTable;
    std::vector<std::unique_ptr<KaSceneObj>> Objects;
    std::vector<std::string> Lines;
};
SceneFileContents ReadSceneFileContents(RecordReader& file);

// The name table alone, as stored at the head of a scene file: the names its
// objects bring, read without reading the records.
std::vector<std::string> ReadSceneNameTable(std::string_view fileName);

} // namespace ra7
