#pragma once
// KaObjArray: the one array of scene objects. It owns the objects, finds them
// by name, gives copies unique names, deletes them, keeps ten render lists of
// indexes sorted by kind, Static flag and material transparency, and reads
// and writes scene files.
//
// Names are indexed (name → ascending slots) so that every lookup is O(1) on
// average while giving exactly the answer a scan from slot 0 would: the
// first slot holding the name. Objects report renames to their array.

#include "scene/Ka7SceneObjUnit.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ra7 {

class KaCamera;
class KgfNameTable;
class MaterialCatalog;
class RecordReader;

// The name of the camera the viewport uses.
extern std::string ActiveCameraName;

class KaObjArray {
public:
    KaObjArray();
    ~KaObjArray();
    KaObjArray(const KaObjArray&) = delete;
    KaObjArray& operator=(const KaObjArray&) = delete;

    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
    bool Changed() const { return changed_; }
    bool Updating() const { return updating_; }

    // The object at Index (nullptr for a slot left empty by SetCount);
    // "Array index out of bounds." outside the array.
    KaSceneObj* GetItem(std::int32_t index) const;
    // Grows with empty slots or releases the objects past N.
    void SetCount(std::int32_t n);
    // Stores the object at Index, growing the array to Index + 1 first when
    // needed; an object already there is released.
    void SetItem(std::int32_t index, std::unique_ptr<KaSceneObj> object);
    KaSceneObj* Last() const;

    std::int32_t IndexOfName(std::string_view name) const;
    KaSceneObj* FindByName(std::string_view name) const;
    // Name itself when free, else Name + "_" + the first free number.
    std::string MakeUniqueName(std::string_view name);

    // Appends an object as it is (its name unchanged) and marks the array
    // changed; returns it.
    KaSceneObj* Add(std::unique_ptr<KaSceneObj> object);
    // Appends a copy of Source under a unique name; a copied camera becomes
    // the active one when none is. Returns the copy.
    KaSceneObj* AddCopy(const KaSceneObj& source);
    // Deletes the named object; the last object moves into its slot. It
    // leaves its parent's child list, and its children become roots that
    // keep their world placement. An unknown name does nothing.
    void DeleteByName(std::string_view name);
    // DeleteByName without releasing the object: it leaves the array exactly
    // as deletion would take it and comes back to the caller (nullptr for an
    // unknown name). Its ParentName and Children are emptied.
    std::unique_ptr<KaSceneObj> Extract(std::string_view name);
    // The inverse of Extract at `slot` (0 to Count()): the object deletion
    // moved into that slot goes back to the end and `object` takes the slot.
    void InsertAt(std::int32_t slot, std::unique_ptr<KaSceneObj> object);
    void Clear();

    void BeginUpdate() { updating_ = true; }
    void EndUpdate();
    void MarkChanged();
    bool TakeChanged();
    void RebuildLists();

    // The camera named ActiveCameraName, or nullptr.
    KaCamera* ActiveCamera() const;
    // One frame's propagation: Update of every object without a parent, in
    // slot order. A root's PrevTrans becomes its placement at the end of the
    // previous frame, so its movement (sound and listener velocity) is that
    // of one frame, as a child's is.
    void UpdateRoots();

    // Reads one object record after its tag (for a particle system the
    // count comes first) and appends the object; sets Changed only.
    KaSceneObj* LoadObject(RecordReader& file, KaObjKind kind, const KgfNameTable& names);
    // Merges the objects of a KGF file and runs its command lines.
    void LoadFromFile(std::string_view fileName);
    // Writes the objects at `indexes` and the command lines as a KGF file;
    // the materials of the saved geometry go to `kmtName` (by default the
    // file's name with its last four characters replaced by ".kmt").
    void SaveObjects(std::string_view fileName, const std::vector<std::int32_t>& indexes,
                     const std::vector<std::string>& lines, std::string_view kmtName = {});

    // The material list the render lists and saving consult; may be null.
    void SetMaterialCatalog(const MaterialCatalog* catalog) { materials_ = catalog; }
    const MaterialCatalog* Materials() const { return materials_; }

    // Render lists: ascending indexes into the array, valid until the next change.
    std::vector<std::int32_t> SoundList;
    std::vector<std::int32_t> SpriteList;
    std::vector<std::int32_t> GeomList;
    std::vector<std::int32_t> LightList;
    std::vector<std::int32_t> ParSysList;
    std::vector<std::int32_t> StaticSoundList;
    std::vector<std::int32_t> StaticSpriteList;
    std::vector<std::int32_t> StaticGeomList;
    std::vector<std::int32_t> BlendGeomList;
    std::vector<std::int32_t> StaticParSysList;

private:
    friend class KaSceneObj;
    friend class SceneFileLoad;

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    // The slots holding one name, ascending. Names are nearly always unique,
    // so the first slot is held inline and only duplicates allocate.
    struct Slots {
        std::int32_t first = -1;
        std::vector<std::int32_t> more;
    };
    using NameIndex = std::unordered_map<std::string, Slots, Hash, std::equal_to<>>;

    KaSceneObj* appendLoaded(std::unique_ptr<KaSceneObj> object);
    void ObjectRenamed(KaSceneObj& object, const std::string& oldName);
    void indexName(const std::string& name, std::int32_t slot);
    void unindexName(const std::string& name, std::int32_t slot);
    void place(std::int32_t slot, std::unique_ptr<KaSceneObj> object);
    void restoreLocalOffsets(std::int32_t first);
    std::unique_ptr<KaSceneObj> unplace(std::int32_t slot);
    void moveSlot(std::int32_t from, std::int32_t to);
    void classify(std::int32_t index, KaSceneObj& object);
    bool nameTaken(std::string_view name) const { return names_.find(name) != names_.end(); }
    // A number n such that name_1 … name_(n−1) are all taken (1 when unknown).
    std::int32_t suffixHint(std::string_view name) const
    {
        const auto hint = suffixHints_.find(name);
        return hint == suffixHints_.end() ? 1 : hint->second;
    }

    std::vector<std::unique_ptr<KaSceneObj>> items_;
    NameIndex names_;
    // For a base name, a number n such that base_1 … base_(n−1) are all taken;
    // lowered when such a name goes away. Keeps MakeUniqueName O(1) amortised.
    std::unordered_map<std::string, std::int32_t, Hash, std::equal_to<>> suffixHints_;
    const MaterialCatalog* materials_ = nullptr;
    bool changed_ = false;
    bool updating_ = false;
};

// The engine-wide object array, created and freed by the engine's start-up
// and shut-down.
extern std::unique_ptr<KaObjArray> SceneObjects;

} // namespace ra7
