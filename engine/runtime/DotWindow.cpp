#include "runtime/DotWindow.h"

#include "runtime/Errors.h"

#include <cstring>
#include <dlfcn.h>
#include <link.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace ra7 {

namespace {

template <class Pair, class Key, class Value>
void setAttrib(std::vector<Pair>& pairs, Key attribute, Value value)
{
    for (Pair& pair : pairs) {
        if (pair.Attribute == attribute && !(pair.Attribute == Key{} && pair.Value == Value{})) {
            pair.Value = value;
            return;
        }
    }
    // The terminator becomes the new pair and a new terminator follows it.
    pairs.back() = Pair{attribute, value};
    pairs.push_back(Pair{});
}

template <class Pair>
Pair getAttrib(const std::vector<Pair>& pairs, std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= pairs.size())
        throw Error("Array index out of bounds.");
    return pairs[static_cast<std::size_t>(index)];
}

} // namespace

TDotContext::TDotContext(std::unique_ptr<ContextPlatform> platform) : platform_(std::move(platform))
{
    ResetAttribs();
}

TDotContext::~TDotContext() = default;

DotIntAttrib TDotContext::GetIntAttrib(std::int32_t index) const
{
    return getAttrib(intAttribs_, index);
}

DotFloatAttrib TDotContext::GetFloatAttrib(std::int32_t index) const
{
    return getAttrib(floatAttribs_, index);
}

void TDotContext::ResetAttribs()
{
    intAttribs_.assign(1, DotIntAttrib{});
    floatAttribs_.assign(1, DotFloatAttrib{});
    SetIntAttrib(kDotAcceleration, kDotFullAcceleration);
    SetIntAttrib(kDotDrawToWindow, 1);
    SetIntAttrib(kDotSupportOpenGL, 1);
    SetIntAttrib(kDotDoubleBuffer, 1);
    SetIntAttrib(kDotColorBits, 24);
    SetIntAttrib(kDotDepthBits, 24);
    SetIntAttrib(kDotStencilBits, 8);
}

void TDotContext::SetIntAttrib(std::int32_t attribute, std::int32_t value)
{
    setAttrib(intAttribs_, attribute, value);
}

void TDotContext::SetFloatAttrib(float attribute, float value)
{
    setAttrib(floatAttribs_, attribute, value);
}

void TDotContext::SetBufferBits(std::int32_t colour, std::int32_t alpha, std::int32_t depth,
                                std::int32_t stencil)
{
    SetIntAttrib(kDotAcceleration, kDotFullAcceleration);
    SetIntAttrib(kDotDrawToWindow, 1);
    SetIntAttrib(kDotSupportOpenGL, 1);
    SetIntAttrib(kDotDoubleBuffer, 1);
    SetIntAttrib(kDotColorBits, colour);
    SetIntAttrib(kDotAlphaBits, alpha);
    SetIntAttrib(kDotDepthBits, depth);
    SetIntAttrib(kDotStencilBits, stencil);
}

ContextRequest TDotContext::Request() const
{
    ContextRequest request;
    for (const DotIntAttrib& pair : intAttribs_) {
        switch (pair.Attribute) {
        case kDotAcceleration:
            request.fullAcceleration = pair.Value == kDotFullAcceleration;
            break;
        case kDotDoubleBuffer:
            request.doubleBuffer = pair.Value != 0;
            break;
        case kDotColorBits:
            request.colorBits = pair.Value;
            break;
        case kDotAlphaBits:
            request.alphaBits = pair.Value;
            break;
        case kDotDepthBits:
            request.depthBits = pair.Value;
            break;
        case kDotStencilBits:
            request.stencilBits = pair.Value;
            break;
        case kDotSampleBuffers:
            request.sampleBuffers = pair.Value;
            break;
        case kDotSamples:
            request.samples = pair.Value;
            break;
        default:
            break;
        }
    }
    return request;
}

void KeepGLDriverLoaded()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            const char* name = info->dlpi_name;
            if (name && (std::strstr(name, "_dri.so") || std::strstr(name, "libgallium")))
                dlopen(name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

void KeepFrameMemoryInHeap()
{
#if defined(__GLIBC__)
    // Setting either limit also stops the library from moving them itself.
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
    mallopt(M_TRIM_THRESHOLD, 32 << 20);
#endif
}

bool TDotContext::InitGL()
{
    created_ = platform_->createContext(Request());
    if (created_) {
        KeepGLDriverLoaded();
        KeepFrameMemoryInHeap();
    }
    return created_;
}

void TDotContext::SwapBuffers()
{
    platform_->swapBuffers();
}

void TDotContext::MakeCurrent()
{
    platform_->makeCurrent();
}

} // namespace ra7
