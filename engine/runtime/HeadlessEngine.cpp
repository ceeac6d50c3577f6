#include "runtime/HeadlessEngine.h"

#include "runtime/Capabilities.h"
#include "runtime/DisplaySetup.h"
#include "runtime/DotWindow.h"
#include "runtime/Errors.h"
#include "runtime/HeadlessContext.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7Engine.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"

namespace ra7 {

HeadlessEngine::HeadlessEngine(std::int32_t width, std::int32_t height)
{
    InitConsole();
    LogLine("* Консоль создана...");
    try {
        LoadConfig(kConfigFileName);
        // No window and no screen: the display mode stays the desktop's, and
        // the view is the context's own size.
        Settings.ScreenWidth = 0;
        Settings.ScreenHeight = 0;
        auto headless = std::make_unique<HeadlessContext>(width, height);
        headless_ = headless.get();
        context_ = std::make_unique<TDotContext>(std::move(headless));
        LogLine("* Настраиваем дисплей...");
        SetupDisplay(*context_);
        DetectCapabilities(*context_);
        Settings.ScreenWidth = width;
        Settings.ScreenHeight = height;
        LogLine("* Инициализируем движок...");
        engineStarted_ = true;
        EngineInit();
    } catch (const std::exception& e) {
        LogLine(std::string("! ") + e.what());
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
    if (!LogIsOpen())
        return;
    try {
        if (context_)
            context_->MakeCurrent();
        if (engineStarted_)
            EngineDone();
    } catch (const std::exception& e) {
        LogLine(std::string("! ") + e.what());
    }
    engineStarted_ = false;
    context_.reset();
    LogLine("* Уничтожаю консоль...");
    SaveLog();
    DoneConsole();
}

} // namespace ra7
