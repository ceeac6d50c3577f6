#pragma once
// The engine started without a window, as the ra7 tool and tests run it:
// the console and log, config.txt, a headless OpenGL context of the given
// size set up and inspected as the editor's window is, and EngineInit. The
// destructor shuts down in the editor's order and writes the log.

#include "host/EngineStartup.h"

#include <cstdint>
#include <memory>

namespace ra7 {

class HeadlessContext;
class TDotContext;

class HeadlessEngine {
public:
    // Throws the start-up error of the step that failed, after logging it
    // and shutting down what had started.
    HeadlessEngine(std::int32_t width, std::int32_t height);
    ~HeadlessEngine();
    HeadlessEngine(const HeadlessEngine&) = delete;
    HeadlessEngine& operator=(const HeadlessEngine&) = delete;

    TDotContext& Context() { return *context_; }
    HeadlessContext& Headless() { return *headless_; }

private:
    void shutDown() noexcept;

    EngineStartup startup_;
    HeadlessContext* headless_ = nullptr;
    std::unique_ptr<TDotContext> context_;
};

} // namespace ra7
