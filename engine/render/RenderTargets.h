#pragma once
// The bloom effect's render targets and the projection over the whole window.

#include <array>
#include <cstdint>

namespace ra7 {

inline constexpr std::int32_t FieldOfView = 45; // degrees, vertical
inline constexpr float NearPlane = 0.1f;
inline constexpr float FarPlane = 1000.0f;

// Existing only while USE FBO is on, between CreateBloomTargets and
// DeleteBloomTargets.
extern std::array<std::uint32_t, 3> BloomTextures;
extern std::uint32_t BloomFramebuffer;
extern std::uint32_t BloomDepthBuffer;

// Three RGB textures of BLOOM TEXTURE SIZE squared (linear, clamped), one
// framebuffer object and one 24-bit depth renderbuffer; then CheckFramebuffer.
void CreateBloomTargets();
void DeleteBloomTargets();

// Viewport over SCREEN WIDTH × SCREEN HEIGHT and the perspective projection
// of FieldOfView, NearPlane and FarPlane; the model-view matrix is left selected.
void ResetProjection();

} // namespace ra7
