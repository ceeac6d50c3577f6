#include "resources/DrawState.h"

namespace ra7 {

std::string CurrentMaterialName;
std::string CurrentObjectName;
std::string CurrentLightName;
bool MultiPass = false;
bool NoShaders = false;
bool SelfIllumPass = false;
bool InFrustum = false;

void ResetDrawState()
{
    CurrentMaterialName.clear();
    CurrentObjectName.clear();
    CurrentLightName.clear();
    MultiPass = false;
    NoShaders = false;
    SelfIllumPass = false;
    InFrustum = false;
}

} // namespace ra7
