#pragma once
// The rendering context of one window. `TDotContext` keeps the request for
// the context as two attribute arrays (integer and real criteria, each ended
// by the pair (0, 0)); `InitGL` hands that request to a platform back end
// (the editor's Qt widget, or the headless EGL context of tests and `ra7`),
// which creates the real context.

#include <cstdint>
#include <memory>
#include <vector>

namespace ra7 {

// The project's own names for the criteria of a context request.
enum DotAttribute : std::int32_t {
    kDotAcceleration = 0x2003,
    kDotDrawToWindow = 0x2001,
    kDotSupportOpenGL = 0x2010,
    kDotDoubleBuffer = 0x2011,
    kDotColorBits = 0x2014,
    kDotAlphaBits = 0x201B,
    kDotDepthBits = 0x2022,
    kDotStencilBits = 0x2023,
    kDotSampleBuffers = 0x2041,
    kDotSamples = 0x2042,
};
inline constexpr std::int32_t kDotFullAcceleration = 0x2027;

struct DotIntAttrib {
    std::int32_t Attribute = 0;
    std::int32_t Value = 0;
    bool operator==(const DotIntAttrib&) const = default;
};

struct DotFloatAttrib {
    float Attribute = 0;
    float Value = 0;
    bool operator==(const DotFloatAttrib&) const = default;
};

// What the attribute arrays ask for, in the terms every back end understands.
struct ContextRequest {
    bool fullAcceleration = false;
    bool doubleBuffer = false;
    std::int32_t colorBits = 0;
    std::int32_t alphaBits = 0;
    std::int32_t depthBits = 0;
    std::int32_t stencilBits = 0;
    std::int32_t sampleBuffers = 0;
    std::int32_t samples = 0;
};

// A window system's side of the context: the editor's widget implements it
// with Qt, tests and the command-line tool with a headless EGL context.
class ContextPlatform {
public:
    virtual ~ContextPlatform() = default;

    // Creates a compatibility-profile context meeting the request and makes
    // it current; false when the platform cannot.
    virtual bool createContext(const ContextRequest& request) = 0;
    virtual void swapBuffers() = 0;
    virtual void makeCurrent() = 0;
    // Whether a multisampled context could be created (asked before it exists).
    virtual bool offersMultisample() = 0;
    // The platform's swap control; false when it has none.
    virtual bool setSwapInterval(int interval) = 0;
    // The framebuffer object that stands for the window ("framebuffer 0").
    virtual std::uint32_t windowFramebuffer() const = 0;
    // The driver's entry point of that name, or null when it has none.
    virtual void* procAddress(const char* name) = 0;
};

class TDotContext {
public:
    // Stores the platform and sets the default request (`ResetAttribs`).
    explicit TDotContext(std::unique_ptr<ContextPlatform> platform);
    virtual ~TDotContext();
    TDotContext(const TDotContext&) = delete;
    TDotContext& operator=(const TDotContext&) = delete;

    virtual DotIntAttrib GetIntAttrib(std::int32_t index) const;
    virtual DotFloatAttrib GetFloatAttrib(std::int32_t index) const;
    // Full acceleration, window drawing, OpenGL, double buffering, 24 colour
    // bits, 24 depth bits, 8 stencil bits.
    virtual void ResetAttribs();
    virtual void SetIntAttrib(std::int32_t attribute, std::int32_t value);
    virtual void SetFloatAttrib(float attribute, float value);
    virtual void SetBufferBits(std::int32_t colour, std::int32_t alpha, std::int32_t depth,
                               std::int32_t stencil);
    virtual bool InitGL();
    virtual void SwapBuffers();
    virtual void MakeCurrent();

    const std::vector<DotIntAttrib>& IntAttribs() const { return intAttribs_; }
    const std::vector<DotFloatAttrib>& FloatAttribs() const { return floatAttribs_; }
    // The request the integer attributes describe.
    ContextRequest Request() const;
    bool HasContext() const { return created_; }
    ContextPlatform& Platform() { return *platform_; }

private:
    std::unique_ptr<ContextPlatform> platform_;
    std::vector<DotIntAttrib> intAttribs_;
    std::vector<DotFloatAttrib> floatAttribs_;
    bool created_ = false;
};

// Keeps the OpenGL driver that the current process has loaded mapped until the
// process ends; called once a context exists. Otherwise the last context to go
// unloads it, the next one loads and initialises it again, and what the driver
// keeps for the whole process loses the module that owns it, so the leak
// checker of sanitizer builds blames it on us.
void KeepGLDriverLoaded();

// Keeps the memory a frame frees in the process for the next frame; called
// once a context exists. Software renderers allocate and free megabyte
// blocks in every frame; with the C library's defaults those go back to the
// system when freed and are faulted in page by page in the next frame, which
// made a frame up to three times slower depending on what the process had
// allocated before. Blocks below 4 MiB now come from the heap, and up to
// 32 MiB of free heap stays for the next frame.
void KeepFrameMemoryInHeap();

} // namespace ra7
