#include "host/HeadlessEngine.h"

#include "runtime/DotWindow.h"
#include "runtime/HeadlessContext.h"
#include "runtime/Ka7GlobalEngine.h"

namespace ra7 {

HeadlessEngine::HeadlessEngine(std::int32_t width, std::int32_t height)
{
    startup_.OpenConsole();
    try {
        startup_.ReadSettings();
        // No window and no screen: the display mode stays the desktop's, and
        // the view is the context's own size.
        Settings.ScreenWidth = 0;
        Settings.ScreenHeight = 0;
        auto headless = std::make_unique<HeadlessContext>(width, height);
        headless_ = headless.get();
        context_ = std::make_unique<TDotContext>(std::move(headless));
        startup_.SetupDisplay(*context_);
        Settings.ScreenWidth = width;
        Settings.ScreenHeight = height;
        startup_.StartEngine(*context_);
    } catch (const std::exception& e) {
        EngineStartup::LogFailure(e);
        shutDown();
        throw;
    }
}

HeadlessEngine::~HeadlessEngine()
{
    shutDown();
}

void HeadlessEngine::shutDown() noexcept
{
    startup_.Shutdown(context_.get(), [this] { context_.reset(); });
}

} // namespace ra7
