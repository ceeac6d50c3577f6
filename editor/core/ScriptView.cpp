#include "core/ScriptView.h"

#include "anim/Ka7AnimScript.h"
#include "runtime/TextUtil.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ra7::editor {

namespace {

constexpr std::int64_t kBarLimit = std::numeric_limits<std::int32_t>::max();

// The rows of `now` that differ from `shown`, and its length.
RowChanges differences(const std::vector<std::string>& shown, const std::vector<std::string>& now)
{
    RowChanges changes;
    changes.count = static_cast<std::int32_t>(now.size());
    for (std::size_t i = 0; i < now.size(); ++i)
        if (i >= shown.size() || shown[i] != now[i])
            changes.rows.emplace_back(static_cast<std::int32_t>(i), now[i]);
    return changes;
}

} // namespace

AnimBarState AnimBarFor(const KaAnimScript& script, const AnimBarState& shown)
{
    AnimBarState bar = shown;
    if (!script.Commands.empty()) {
        // Both parts come from the user's text and may be anything an int32 holds.
        const KaAnimCom& last = script.Commands.back();
        const std::int64_t end = std::int64_t{last.Time} + std::int64_t{last.Length};
        bar.maximum = static_cast<std::int32_t>(std::clamp<std::int64_t>(end, 0, kBarLimit));
    }
    const double clock = std::isnan(script.Position) ? 0.0 : static_cast<double>(script.Position);
    // Rounded to the nearest, halves to even (the default rounding mode).
    const double held = std::clamp(clock, 0.0, static_cast<double>(bar.maximum));
    bar.position = static_cast<std::int32_t>(std::nearbyint(held));
    bar.label = std::to_string(bar.position) + "  ";
    return bar;
}

std::string CommandLine(const KaAnimCom& command)
{
    return std::to_string(command.Time) + " " + command.Command + " t:" + formatSingle(command.TimeLeft);
}

ScriptLabels LabelsOf(const KaAnimScript& script)
{
    return {script.Name,
            std::to_string(script.StackCount()),
            std::to_string(script.ComCount()),
            formatSingle(script.Position),
            std::to_string(script.PosInCom),
            "[" + script.Name + "]"};
}

ScriptWatch::Changes ScriptWatch::Refresh(const KaAnimScript* script)
{
    Changes changes;
    if (!script) {
        // The lists empty; the labels keep what they show.
        changes.stack = differences(stack_, {});
        changes.commands = differences(commands_, {});
        stack_.clear();
        commands_.clear();
        running_.clear();
        script_ = nullptr;
        whole_ = true;
        return changes;
    }
    // A rewind gives every command its whole duration again.
    const bool whole = whole_ || script != script_ || script->ComCount() != CommandRows() ||
                       script->Position < position_ || script->PosInCom < posInCom_;
    whole_ = false;
    script_ = script;
    position_ = script->Position;
    posInCom_ = script->PosInCom;

    std::vector<std::string> stack;
    stack.reserve(script->Stack.size());
    for (const std::int32_t index : script->Stack)
        stack.push_back(CommandLine(script->Commands[static_cast<std::size_t>(index)]));
    changes.stack = differences(stack_, stack);
    stack_ = std::move(stack);

    changes.commands = refreshCommands(*script, whole);
    running_ = script->Stack;

    ScriptLabels labels = LabelsOf(*script);
    if (!labels_ || *labels_ != labels) {
        changes.labels = labels;
        labels_ = std::move(labels);
    }
    return changes;
}

RowChanges ScriptWatch::refreshCommands(const KaAnimScript& script, bool whole)
{
    if (whole) {
        std::vector<std::string> lines;
        lines.reserve(script.Commands.size());
        for (const KaAnimCom& command : script.Commands)
            lines.push_back(CommandLine(command));
        RowChanges changes = differences(commands_, lines);
        commands_ = std::move(lines);
        return changes;
    }
    // Only a running command counts its time down, and only until it leaves
    // the stack: the rows of the stack now and as last shown.
    RowChanges changes;
    changes.count = CommandRows();
    std::vector<std::int32_t> touched = running_;
    touched.insert(touched.end(), script.Stack.begin(), script.Stack.end());
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
    for (const std::int32_t row : touched) {
        if (row < 0 || row >= CommandRows())
            continue;
        std::string line = CommandLine(script.Commands[static_cast<std::size_t>(row)]);
        if (line != commands_[static_cast<std::size_t>(row)]) {
            commands_[static_cast<std::size_t>(row)] = line;
            changes.rows.emplace_back(row, std::move(line));
        }
    }
    return changes;
}

} // namespace ra7::editor
