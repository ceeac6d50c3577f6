#pragma once
// What a conversion is about to write, checked before anything is: whether
// the model has anything to convert, and which mesh files it would replace.
// `ra7 convert` refuses to replace them unless told to; the converter page
// asks the user with the same list.

#include "OBJLoader.h"

#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

// True when some group of the model has a face. A file that is not an OBJ
// model (or an empty one) loads as a model without faces.
bool ModelHasFaces(const TModel& model);

// The stored names among `meshNames` whose files exist already (matched
// ignoring letter case, as they would be opened), in the given order.
std::vector<std::string> ExistingMeshFiles(const std::vector<std::string>& meshNames);

// The mesh files that converting `model` into `directory` would replace
// (see PlanGroupMeshes for the names), in group order.
std::vector<std::string> MeshFilesInTheWay(const TModel& model, std::string_view directory);

// "meshes\DEFAULT.mes is already there" (up to three names, then how many
// more), for a refusal or a question.
std::string FilesInTheWayText(const std::vector<std::string>& names);

} // namespace ra7
