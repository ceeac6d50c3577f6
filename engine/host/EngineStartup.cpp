#include "host/EngineStartup.h"

#include "host/Ka7ConsoleCommands.h"
#include "host/Ka7Engine.h"
#include "runtime/Capabilities.h"
#include "runtime/DisplaySetup.h"
#include "runtime/DotWindow.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"

#include <string>

namespace ra7 {

void EngineStartup::OpenConsole()
{
    InitConsole();
    LogLine("* Консоль создана...");
}

void EngineStartup::ReadSettings()
{
    LoadConfig(kConfigFileName);
}

void EngineStartup::SetupDisplay(TDotContext& context)
{
    LogLine("* Настраиваем дисплей...");
    ra7::SetupDisplay(context);
}

void EngineStartup::StartEngine(TDotContext& context)
{
    DetectCapabilities(context);
    LogLine("* Инициализируем движок...");
    // Set first: EngineDone also frees what a failing EngineInit left behind.
    engineStarted_ = true;
    EngineInit();
}

void EngineStartup::Shutdown(TDotContext* context, const std::function<void()>& releaseHost) noexcept
{
    if (!LogIsOpen())
        return;
    try {
        if (context)
            context->MakeCurrent();
        if (engineStarted_)
            EngineDone();
    } catch (const std::exception& e) {
        LogFailure(e);
    }
    engineStarted_ = false;
    if (releaseHost)
        releaseHost();
    LogLine("* Уничтожаю консоль...");
    SaveLog();
    DoneConsole();
}

void EngineStartup::LogFailure(const std::exception& error)
{
    LogLine(std::string("! ") + error.what());
}

} // namespace ra7
