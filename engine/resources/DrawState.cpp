#include "resources/DrawState.h"

namespace ra7 {

std::string CurrentMaterialName;
std::string CurrentObjectName;
std::string CurrentLightName;
bool MultiPass = false;
bool NoShaders = false;

void ResetDrawState()
{
    CurrentMaterialName.clear();
    CurrentObjectName.clear();
    CurrentLightName.clear();
    MultiPass = false;
    NoShaders = false;
}

} // namespace ra7
