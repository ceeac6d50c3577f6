#include "ConsoleCommand.h"

#include "runtime/Errors.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7GlobalEngine.h"
#include "runtime/Ka7Log.h"
#include "scene/Ka7SceneUnit.h"

#include <iostream>

namespace ra7 {

int RunConsole(const ConsoleOptions& options)
{
    int status = 0;
    InitConsole();
    try {
        LoadConfig(kConfigFileName);
        SceneObjects = std::make_unique<KaObjArray>();
        for (const std::string& line : options.lines) {
            try {
                ExecuteCommand(line);
            } catch (const Error& e) {
                LogLine(std::string("! ") + e.what());
                status = 1;
            }
        }
    } catch (const Error& e) {
        LogLine(std::string("! ") + e.what());
        status = 1;
    }
    SceneObjects.reset();
    SaveLog();
    if (!options.quiet)
        for (const std::string& line : LogLines())
            std::cout << line << '\n';
    DoneConsole();
    return status;
}

} // namespace ra7
