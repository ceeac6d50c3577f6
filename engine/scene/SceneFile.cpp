#include "scene/SceneFile.h"

#include "resources/MaterialCatalog.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7Log.h"
#include "runtime/RecordFile.h"
#include "runtime/TextCodec.h"
#include "runtime/TextUtil.h"
#include "scene/Ka7SceneGeom.h"
#include "scene/Ka7SceneUnit.h"
#include "scene/SceneHierarchy.h"
#include "scene/SceneObjectKinds.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace ra7 {

namespace {

// The smallest record: a tag and a count (the command-line record).
constexpr std::size_t kSmallestRecord = kTagSize + sizeof(std::int32_t);

std::string printableTag(std::string_view tag)
{
    std::string text;
    for (const char c : tag)
        text += (c >= 0x20 && c < 0x7F) ? c : '?';
    return text;
}

std::int32_t readParticleCount(RecordReader& file)
{
    const std::uint64_t offset = file.offset();
    const std::int32_t count = file.readInt32();
    if (count < 0 || count > kMaxParticleCount)
        file.failAt(offset, "particle count " + std::to_string(count) + " is outside 0 to " +
                                std::to_string(kMaxParticleCount));
    return count;
}

std::vector<std::string> readNameTable(RecordReader& file)
{
    const std::size_t nameCount = file.readCount(kShortStringSize, "name count");
    std::vector<std::string> names;
    names.reserve(nameCount);
    for (std::size_t i = 0; i < nameCount; ++i)
        names.push_back(file.readShortString());
    return names;
}

std::vector<std::string> readLines(RecordReader& file)
{
    const std::size_t count = file.readCount(kShortStringSize, "command line count");
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back(file.readShortString());
    return lines;
}

// The name table as stored; only the names are kept.
class ContentsHandler : public SceneFileHandler {
public:
    explicit ContentsHandler(SceneFileContents& contents) : contents_(contents) {}
    KgfNameTable PrepareNames(std::vector<std::string> storedNames) override
    {
        contents_.NameTable = storedNames;
        return KgfNameTable(std::move(storedNames));
    }
    void OnObject(std::unique_ptr<KaSceneObj> object) override
    {
        contents_.Objects.push_back(std::move(object));
    }
    void OnCommandLines(const std::vector<std::string>& lines) override
    {
        contents_.Lines.insert(contents_.Lines.end(), lines.begin(), lines.end());
    }

private:
    SceneFileContents& contents_;
};

std::string kmtNameFor(std::string_view fileName)
{
    const std::size_t chars = utf8Length(fileName);
    if (chars < 4)
        return std::string(fileName) + ".kmt";
    return utf8Prefix(fileName, chars - 4) + ".kmt";
}

} // namespace

void RunStoredCommandLine(std::string_view line, std::string_view fileName)
{
    // A stored line must not end the program that merely loads the file.
    if (asciiLower(SplitConsoleLine(trimBlanks(line)).word) == "exit") {
        LogLine("! " + std::string(fileName) + ": команда \"" + std::string(trimBlanks(line)) +
                "\" из файла сцены пропущена");
        return;
    }
    try {
        ExecuteCommand(line);
    } catch (const std::exception& error) {
        LogLine(std::string("! ") + error.what());
    }
}

std::unique_ptr<KaSceneObj> ReadObjectRecord(RecordReader& file, KaObjKind kind, const KgfNameTable& names)
{
    const std::int32_t particles = kind == KaObjKind::ParSystem ? readParticleCount(file) : 0;
    std::unique_ptr<KaSceneObj> object = CreateSceneObject(kind, particles);
    object->LoadFromFile(file, names);
    return object;
}

void ReadSceneFile(RecordReader& file, SceneFileHandler& handler)
{
    const KgfNameTable names = handler.PrepareNames(readNameTable(file));

    const std::size_t recordCount = file.readCount(kSmallestRecord, "record count");
    for (std::size_t record = 0; record < recordCount; ++record) {
        const std::uint64_t tagOffset = file.offset();
        const std::string tag = file.readTag();
        if (tag == "scr") {
            handler.OnCommandLines(readLines(file));
            continue;
        }
        const std::optional<KaObjKind> kind = KindFromTag(tag);
        if (!kind)
            file.failAt(tagOffset, "unknown record tag \"" + printableTag(tag) + "\"");
        handler.OnObject(ReadObjectRecord(file, *kind, names));
    }
}

std::vector<std::string> ReadSceneNameTable(std::string_view fileName)
{
    RecordReader file = RecordReader::openFile(fileName);
    return readNameTable(file);
}

SceneFileContents ReadSceneFileContents(RecordReader& file)
{
    SceneFileContents contents;
    ContentsHandler handler(contents);
    ReadSceneFile(file, handler);
    return contents;
}

// Merges the file's objects into the array: each table name is made unique
// against the objects present and the names already chosen for the table,
// so merged objects never take an existing name nor each other's.
class SceneFileLoad : public SceneFileHandler {
public:
    SceneFileLoad(KaObjArray& array, std::string_view fileName) : array_(array), fileName_(fileName) {}

    KgfNameTable PrepareNames(std::vector<std::string> storedNames) override
    {
        chosen_.reserve(storedNames.size());
        array_.names_.reserve(array_.names_.size() + storedNames.size());
        for (std::string& name : storedNames) {
            name = uniqueName(name);
            chosen_.insert(name); // a view of the table's own text, which no longer changes
        }
        return KgfNameTable(std::move(storedNames));
    }

    void OnObject(std::unique_ptr<KaSceneObj> object) override
    {
        // Two records of a damaged file may name one table entry: the second
        // gets a free name, as every name in the array must stay unique.
        if (array_.nameTaken(object->Name()))
            object->SetName(uniqueName(object->Name()));
        array_.appendLoaded(std::move(object));
    }

    void OnCommandLines(const std::vector<std::string>& lines) override
    {
        for (const std::string& line : lines)
            RunStoredCommandLine(line, fileName_);
    }

private:
    bool taken(const std::string& name) const
    {
        return array_.nameTaken(name) || chosen_.find(name) != chosen_.end();
    }

    std::string uniqueName(const std::string& name)
    {
        if (!taken(name))
            return name;
        const auto hint = hints_.find(name);
        // The array's own hint holds too: every number below it is taken there.
        std::int32_t number = std::max(hint == hints_.end() ? 1 : hint->second, array_.suffixHint(name));
        std::string result;
        for (;; ++number) {
            result = name + "_" + std::to_string(number);
            if (!taken(result))
                break;
        }
        // Remembered only when the search went past the first number: most
        // names need "_1" once, and a map entry for each would cost more.
        if (hint != hints_.end())
            hint->second = number;
        else if (number > 1)
            hints_.emplace(name, number);
        return result;
    }

    KaObjArray& array_;
    std::string fileName_;
    std::unordered_set<std::string_view> chosen_;
    std::unordered_map<std::string, std::int32_t> hints_;
};

KaSceneObj* KaObjArray::appendLoaded(std::unique_ptr<KaSceneObj> object)
{
    KaSceneObj* raw = object.get();
    items_.emplace_back();
    place(Count() - 1, std::move(object));
    changed_ = true;
    return raw;
}

KaSceneObj* KaObjArray::LoadObject(RecordReader& file, KaObjKind kind, const KgfNameTable& names)
{
    return appendLoaded(ReadObjectRecord(file, kind, names));
}

void KaObjArray::LoadFromFile(std::string_view fileName)
{
    const bool wasUpdating = updating_;
    BeginUpdate();
    auto finish = [&] {
        MarkChanged();
        if (!wasUpdating)
            EndUpdate();
    };
    const std::int32_t first = Count();
    try {
        RecordReader file = RecordReader::openFile(fileName);
        SceneFileLoad load(*this, fileName);
        ReadSceneFile(file, load);
    } catch (...) {
        restoreLocalOffsets(first);
        finish(); // the objects read so far stay and enter the render lists
        throw;
    }
    restoreLocalOffsets(first);
    finish();
}

// The file keeps world placements only. A loaded child's offset from its
// parent is taken from them, so the next update leaves every object where it
// was saved instead of stacking children on their parents.
void KaObjArray::restoreLocalOffsets(std::int32_t first)
{
    for (std::int32_t i = first; i < Count(); ++i) {
        KaSceneObj* child = GetItem(i);
        const KaSceneObj* parent = child->ParentName.empty() ? nullptr : FindByName(child->ParentName);
        if (!parent || !parent->Trans || !child->Trans || !child->LocalTrans)
            continue;
        child->LocalTrans->Position = OffsetInParent(*parent->Trans, child->Trans->Position);
    }
}

void KaObjArray::SaveObjects(std::string_view fileName, const std::vector<std::int32_t>& indexes,
                             const std::vector<std::string>& lines, std::string_view kmtName)
{
    KgfNameTable names;
    std::vector<const KaSceneObj*> saved;
    saved.reserve(indexes.size());
    for (const std::int32_t index : indexes) {
        const KaSceneObj* object = GetItem(index);
        if (!object)
            throw Error("Array index out of bounds.");
        names.Add(object->Name());
        saved.push_back(object);
    }
    // Every link must stay inside the saved set; checked before anything is written.
    for (const KaSceneObj* object : saved) {
        if (!object->ParentName.empty() && names.IndexOf(object->ParentName) < 0)
            throw Error("Parent of <" + object->Name() + "> not found! Aborted");
        for (const std::string& child : object->Children)
            if (names.IndexOf(child) < 0)
                throw Error("Child of <" + object->Name() + "> not found! Aborted");
    }

    RecordWriter file(fileName);
    file.writeInt32(names.Count());
    for (const std::string& name : names.Names())
        file.writeShortString(name);
    file.writeInt32(static_cast<std::int32_t>(saved.size() + 1));
    std::vector<std::int32_t> materialIndexes;
    for (const KaSceneObj* object : saved) {
        object->SaveToFile(file, names);
        if (object->Kind() != KaObjKind::Geometry || !materials_)
            continue;
        const auto& geometry = static_cast<const KaGeometry&>(*object);
        const std::int32_t material = materials_->IndexOfMaterial(geometry.MaterialName);
        if (!geometry.MaterialName.empty() && material >= 0)
            materialIndexes.push_back(material);
    }

    std::string kmtFile;
    if (!materialIndexes.empty()) {
        kmtFile = kmtName.empty() ? kmtNameFor(fileName) : std::string(kmtName);
        materials_->SaveMaterials(kmtFile, materialIndexes);
    }
    file.writeTag("scr");
    file.writeInt32(static_cast<std::int32_t>(lines.size() + (kmtFile.empty() ? 0 : 1)));
    for (const std::string& line : lines)
        file.writeShortString(line);
    if (!kmtFile.empty())
        file.writeShortString("addmat <" + kmtFile + ">");
    file.commit();
}

} // namespace ra7
