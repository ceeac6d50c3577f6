#include "runtime/DisplaySetup.h"

#include "runtime/Capabilities.h"
#include "runtime/DotWindow.h"
#include "runtime/Errors.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"

#include <string>

namespace ra7 {

namespace {

void setupDisplayMode()
{
    const EngineSettings& s = Settings;
    if (s.ScreenWidth == 0 || s.ScreenHeight == 0)
        return;
    if (s.ScreenRefresh < 0 || s.ScreenColor < 0 || s.ScreenHeight < 0 || s.ScreenWidth < 0)
        throw Error("Range check error");
    if (SetDisplayMode(s.ScreenWidth, s.ScreenHeight, s.ScreenColor, s.ScreenRefresh))
        return;
    LogLine("Не удалось установить разрешение " + std::to_string(s.ScreenWidth) + "x" +
            std::to_string(s.ScreenHeight) + " с частотой " + std::to_string(s.ScreenRefresh) + " и " +
            std::to_string(s.ScreenColor) + " цветный режим");
    throw Error("Could not set DisplayMode\r\nPlease try to use different settings.");
}

} // namespace

void SetupDisplay(TDotContext& context)
{
    setupDisplayMode();
    const EngineSettings& s = Settings;
    context.SetBufferBits(s.ScreenColor, s.ScreenAlpha, s.ScreenDepth, s.ScreenStencil);
    if (s.AntialiasingLevel > 1) {
        HasMultisample = context.Platform().offersMultisample();
        if (HasMultisample) {
            context.SetIntAttrib(kDotSampleBuffers, 1);
            context.SetIntAttrib(kDotSamples, s.AntialiasingLevel);
            LogLine("Используем " + std::to_string(s.AntialiasingLevel) + " кратное FSAA");
        }
    }
    if (!context.InitGL()) {
        LogLine("Не могу инициализировать OpenGL!");
        throw Error("Could not set the requested pixel format.\r\nPlease try to use different settings.");
    }
    LogLine("* Дисплей настроен...");
}

} // namespace ra7
