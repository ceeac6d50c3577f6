#pragma once
// What the save window holds: the scene's objects in five lists by kind,
// the names chosen for saving ("На сохранение:") and the command lines that
// go into the file ("Скрипты консоли:"), with the window's moves between them.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ra7 {
class KaObjArray;
}

namespace ra7::editor {

// Why a save with nothing in "На сохранение:" writes no file.
inline constexpr const char* kNothingToSave =
    "Список \"На сохранение:\" пуст: файл не записан. Добавьте объекты кнопкой \"Добавить >>\"";

// The kind lists, in the order of the window.
enum class SaveKind : std::int32_t { Geometry = 0, Sprite = 1, Light = 2, Camera = 3, ParSystem = 4 };
inline constexpr std::int32_t kSaveKindCount = 5;

// The order in which "Добавить >>" looks for a selected entry.
inline constexpr std::array<SaveKind, kSaveKindCount> kAddOrder = {
    SaveKind::ParSystem, SaveKind::Geometry, SaveKind::Sprite, SaveKind::Light, SaveKind::Camera};

// What the group "Объект" shows for a clicked entry.
struct ObjectInfo {
    std::string name;
    std::string title;
    std::vector<std::string> memo;
};

class SaveWindowModel {
public:
    // SaveWindowDisplay: the kind lists refilled from the scene in slot
    // order; the names to save and the command lines stay as they are.
    void Display(const KaObjArray& scene);

    // "Добавить >>" for the entry `row` of the kind list: the object's
    // resource lines join the command lines (each only once), the entry
    // moves to the end of the names to save. Returns the row the kind list
    // selects afterwards (the same position, or the last; −1 when empty).
    std::int32_t Add(const KaObjArray& scene, SaveKind kind, std::int32_t row);
    // "<< Удалить": the name at `row` goes back to the end of its kind's
    // list; a name that no longer names an object just leaves.
    void Remove(const KaObjArray& scene, std::int32_t row);
    // "Сбросить".
    void Reset(const KaObjArray& scene);

    // The command box's "Добавить" and "Удалить".
    void AddLine(const std::string& line);
    void RemoveLine(std::int32_t row);

    // The slots of the names to save, in list order, each once; stops with
    // kNothingToSave when the list is empty, or with an error naming the
    // first name that no longer names an object.
    std::vector<std::int32_t> SaveIndexes(const KaObjArray& scene) const;

    const std::vector<std::string>& KindList(SaveKind kind) const
    {
        return kinds_[static_cast<std::size_t>(kind)];
    }
    const std::vector<std::string>& ToSave() const { return toSave_; }
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    void addResourceLines(const KaObjArray& scene, const std::string& name);
    void addLineOnce(const std::string& line);

    std::array<std::vector<std::string>, kSaveKindCount> kinds_;
    std::vector<std::string> toSave_;
    std::vector<std::string> lines_;
};

// The kind list an object belongs in; false for sound sources (not offered).
bool SaveKindOf(const KaObjArray& scene, const std::string& name, SaveKind& kind);

// The command lines that loading the object needs: "addtex <…>" for a
// particle system's and a sprite's textures, "addmesh <…>" for each mesh of
// a geometry.
std::vector<std::string> ResourceLines(const KaObjArray& scene, const std::string& name);

// The group "Объект" for an entry of a kind list.
ObjectInfo DescribeObject(const KaObjArray& scene, SaveKind kind, const std::string& name);

} // namespace ra7::editor
