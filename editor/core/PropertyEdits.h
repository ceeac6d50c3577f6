#pragma once
// The Properties page's edits. Each is a command that finds its object by
// name (and checks its kind) whenever it runs and writes only the field of
// the control the user touched, so values the page cannot show (a range of
// 2000, a colour of 1.5, a lifetime of −128) survive an edit of another
// control. Successive moves of one bar on one object merge into one step.

#include "core/CommandStack.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace ra7 {
class KaObjArray;
}

namespace ra7::editor {

struct BarField;
struct FlagField;
struct NameField;
struct RangeFields;
struct TypedField;

// A scroll bar moved to `position`: the field := position / scale.
std::unique_ptr<EditorCommand> BarEdit(KaObjArray& scene, const std::string& object, const BarField& field,
                                       std::int32_t position);

// The two ends of an ordered range.
struct RangeValues {
    float min = 0;
    float max = 0;
    bool operator==(const RangeValues&) const = default;
};
// One bar of a range moved to `value`: a minimum stops at the maximum; a
// maximum below the minimum takes the minimum down to the same value.
RangeValues MoveRangeBar(RangeValues now, bool maximumBar, float value);
std::unique_ptr<EditorCommand> RangeEdit(KaObjArray& scene, const std::string& object,
                                         const RangeFields& range, bool maximumBar, std::int32_t position);

// A check box, a name box and a typed number: one step each.
std::unique_ptr<EditorCommand> FlagEdit(KaObjArray& scene, const std::string& object, const FlagField& field,
                                        bool on);
std::unique_ptr<EditorCommand> NameEdit(KaObjArray& scene, const std::string& object, const NameField& field,
                                        std::string name);
std::unique_ptr<EditorCommand> TypedEdit(KaObjArray& scene, const std::string& object,
                                         const TypedField& field, float value);

// "Безсмертны" stores the unending life (−128) in both lifetimes. The
// lifetimes they had are remembered here, so that unticking gives them back
// (a system loaded with unending lives gets a new system's 500 to 2000).
class UnendingLifeMemory {
public:
    void Remember(const std::string& object, RangeValues lifetimes) { remembered_[object] = lifetimes; }
    RangeValues Recall(const std::string& object) const;

private:
    std::map<std::string, RangeValues> remembered_;
};
std::unique_ptr<EditorCommand> UnendingLifeEdit(KaObjArray& scene, const std::string& object, bool on,
                                                UnendingLifeMemory& memory);

// "Перезадать количество": the system rebuilt with `count` particles in its
// slot, every setting kept; undo rebuilds it with the count it had.
std::unique_ptr<EditorCommand> ParticleCountEdit(KaObjArray& scene, const std::string& object,
                                                 std::int32_t count);

// Why a typed name cannot go into the field, or nothing. An empty name
// clears the field and is always taken.
// "Secondary:": a lens flare of the flare list ("Неверно набранное имя!").
std::optional<std::string> FlareNameProblem(const std::string& name);
// "Material:": a material of the material list (the scene would clear an
// unknown name at its next change).
std::optional<std::string> MaterialNameProblem(const std::string& name);

} // namespace ra7::editor
