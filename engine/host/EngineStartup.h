#pragma once
// The engine's start-up and shut-down steps, shared by every host (the
// editor's session, the headless engine) so that the sequence and its log
// lines stay the same everywhere. A host runs, in this order:
//   OpenConsole, ReadSettings, (its context), SetupDisplay,
//   StartEngine with the context current, ... Shutdown.
// The editor's context exists only once its window is shown, so it runs
// StartEngine later than the rest; the headless engine runs them in one go.

#include <exception>
#include <functional>

namespace ra7 {

class TDotContext;

class EngineStartup {
public:
    // The console with the engine's commands and the log ("* Консоль создана...").
    void OpenConsole();
    // config.txt (written with the defaults when missing).
    void ReadSettings();
    // "* Настраиваем дисплей...": the context request settled from the
    // settings and handed to the platform.
    void SetupDisplay(TDotContext& context);
    // With the context current: the driver's capabilities, then
    // "* Инициализируем движок..." and EngineInit.
    void StartEngine(TDotContext& context);

    // Does nothing once the log is closed. Otherwise makes `context` current
    // (when given) and runs EngineDone if StartEngine reached EngineInit (an
    // error is logged, not thrown), lets the host release what it holds, then
    // "* Уничтожаю консоль...", the log written and the console closed.
    void Shutdown(TDotContext* context, const std::function<void()>& releaseHost) noexcept;

    // The "! " line of a step that failed.
    static void LogFailure(const std::exception& error);

private:
    bool engineStarted_ = false;
};

} // namespace ra7
