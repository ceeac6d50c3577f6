#pragma once
// The template menu of the script editor's text: one column per group, each
// line a command as it would be typed, with a hint saying what it does.

#include <string_view>
#include <vector>

namespace ra7::editor {

struct ScriptTemplate {
    std::string_view caption; // appended to the text as its last line
    std::string_view hint;
};

struct ScriptTemplateGroup {
    std::string_view header; // a disabled item at the top of its column
    std::string_view hint;
    std::vector<ScriptTemplate> items;
};

// "-Общее-" and "-Системы частиц-". The "-Скрипты-" group with "0 call Name"
// is left out: no command "call" exists and the parser drops such a line.
const std::vector<ScriptTemplateGroup>& ScriptTemplates();

} // namespace ra7::editor
