#pragma once
// A rendering context without a window: EGL on Mesa's surfaceless platform,
// compatibility profile, drawing into a framebuffer object of a fixed size
// that stands for the window. "Swapping" finishes the frame and, for a
// multisampled request, resolves it into the image that `ReadPixels` reads.

#include "runtime/DotWindow.h"

#include <cstdint>
#include <vector>

namespace ra7 {

class HeadlessContext : public ContextPlatform {
public:
    HeadlessContext(std::int32_t width, std::int32_t height);
    ~HeadlessContext() override;
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    bool createContext(const ContextRequest& request) override;
    void swapBuffers() override;
    void makeCurrent() override;
    bool offersMultisample() override { return true; }
    bool setSwapInterval(int interval) override;
    std::uint32_t windowFramebuffer() const override { return drawFramebuffer_; }
    void* procAddress(const char* name) override;

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    std::int32_t SwapCount() const { return swapCount_; }
    std::int32_t Samples() const { return samples_; }

    // RGBA bytes of the last swapped frame, bottom row first. Without a swap
    // since the last draw, the frame being drawn (single-sampled only).
    std::vector<std::uint8_t> ReadPixels();

private:
    void createTargets(const ContextRequest& request);
    void deleteTargets();

    std::int32_t width_;
    std::int32_t height_;
    void* display_ = nullptr;
    void* context_ = nullptr;
    std::uint32_t drawFramebuffer_ = 0;
    std::uint32_t resolveFramebuffer_ = 0;
    std::uint32_t colourBuffer_ = 0;
    std::uint32_t depthBuffer_ = 0;
    std::uint32_t resolveColourBuffer_ = 0;
    std::int32_t samples_ = 0;
    std::int32_t swapCount_ = 0;
};

} // namespace ra7
