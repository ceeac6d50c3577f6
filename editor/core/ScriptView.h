#pragma once
// What the animation panel and the script editor window show of a script:
// the slider and its time label, the lines of the "Стек:" and "Команды:"
// lists and the state labels, and which of them changed since they were last
// shown, so that a playing script costs a few rows a frame, not two lists.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ra7 {
class KaAnimScript;
struct KaAnimCom;
} // namespace ra7

namespace ra7::editor {

// The animation slider (minimum 0) and the time label beside it.
struct AnimBarState {
    std::int32_t maximum = 1;
    std::int32_t position = 0;
    std::string label = "0  ";

    bool operator==(const AnimBarState&) const = default;
};

// The bar for the selected script, one pass of the main loop: the maximum
// becomes the start plus the duration of the last command (kept as it was
// for a script without commands), worked out in 64 bits and held to the
// slider's range; the position is the rounded clock held to the bar.
AnimBarState AnimBarFor(const KaAnimScript& script, const AnimBarState& shown);

// One list line: "0 move t:10" (time, command, the duration still to run).
std::string CommandLine(const KaAnimCom& command);

// The values beside "ID:", "contStack:", "countCom:", "position:",
// "posInCom:", and the title above the text ("[walk]").
struct ScriptLabels {
    std::string id;
    std::string stackCount;
    std::string comCount;
    std::string position;
    std::string posInCom;
    std::string title;

    bool operator==(const ScriptLabels&) const = default;
};
ScriptLabels LabelsOf(const KaAnimScript& script);

// Rows of one list to change: its new length and the rows whose text differs.
struct RowChanges {
    std::int32_t count = 0;
    std::vector<std::pair<std::int32_t, std::string>> rows;

    bool Empty(std::int32_t shownCount) const { return count == shownCount && rows.empty(); }
};

// Remembers what the window shows of a script and tells what to change.
class ScriptWatch {
public:
    struct Changes {
        RowChanges stack;
        RowChanges commands;
        std::optional<ScriptLabels> labels; // none: keep what they show
    };

    // Compares `script` (none: no script selected) with what was shown last.
    Changes Refresh(const KaAnimScript* script);
    // The script or its commands were replaced: the next Refresh compares
    // every row.
    void Invalidate() { whole_ = true; }

    std::int32_t StackRows() const { return static_cast<std::int32_t>(stack_.size()); }
    std::int32_t CommandRows() const { return static_cast<std::int32_t>(commands_.size()); }

private:
    RowChanges refreshCommands(const KaAnimScript& script, bool whole);

    std::vector<std::string> stack_;
    std::vector<std::string> commands_;
    std::vector<std::int32_t> running_; // the stack as last shown
    std::optional<ScriptLabels> labels_;
    const KaAnimScript* script_ = nullptr;
    float position_ = 0;
    std::int32_t posInCom_ = 0;
    bool whole_ = true;
};

} // namespace ra7::editor
