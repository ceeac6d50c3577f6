#pragma once
// The one place where names stored in files become paths on this machine.
// Stored names keep their Windows form ("data\arrow\editorData.kgf"); on
// Linux "\" separates folders and letter case matters, so each component that
// does not exist as written is looked up ignoring case, as Windows did.

#include <filesystem>
#include <string>
#include <string_view>

namespace ra7 {

// The path to open for a stored name: backslashes become slashes, a relative
// name is taken from the working directory, and when the exact path does not
// exist every component is matched without regard to letter case. Components
// that match nothing are kept as written, so a file to be created takes the
// name as given.
std::filesystem::path resolvePath(std::string_view storedName);

// A chosen path as the editor stores it: a path under the working directory
// becomes relative to it, a path outside it stays absolute.
std::string relativeToWorkingDirectory(const std::filesystem::path& chosen);

// A path in the form names are stored in files: "\" between folders, as the
// engine's files have always held them, so that one file chosen twice gives
// one name and scenes travel between systems.
std::string storedForm(std::string_view path);

} // namespace ra7
