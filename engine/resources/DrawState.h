#pragma once
// What is being drawn, as the renderer tells it to the material and shader
// code: names looked up again at every use, and the render flags that change
// how a material applies itself.

#include <string>

namespace ra7 {

extern std::string CurrentMaterialName; // the material applied last
extern std::string CurrentObjectName;   // the scene object being drawn
extern std::string CurrentLightName;    // the light of the current pass

// The renderer's per-light passes manage blending and depth writes themselves.
extern bool MultiPass;
// The far level of detail is drawn without shaders.
extern bool NoShaders;
// Set while a geometry draws its self-illumination texture.
extern bool SelfIllumPass;
// The visibility of the sprite about to be drawn, as the renderer found it.
extern bool InFrustum;

// Empties the names and clears the flags (start-up and test fixtures).
void ResetDrawState();

} // namespace ra7
