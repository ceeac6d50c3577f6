#pragma once
// The name under which the editor saves a scene the user chose.

#include <filesystem>
#include <string>

namespace ra7::editor {

// Relative to the working directory when it lies under it, in lower case,
// with ".kgf" appended unless the name already ends in it.
std::string SceneSaveName(const std::filesystem::path& chosen);

} // namespace ra7::editor
