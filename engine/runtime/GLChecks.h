#pragma once
// The end-of-frame check of the driver's error state and the framebuffer
// status check.

namespace ra7 {

// True when the driver reports no error; otherwise throws "Ошибка OpenGL: "
// followed by GLU's text for the one error code fetched.
bool CheckGLError();

// Throws the text of FramebufferStatusText for the status of the bound
// framebuffer; returns for a complete framebuffer and unknown statuses.
void CheckFramebuffer();

} // namespace ra7
