#include "runtime/Ka7ConsoleCommands.h"

#include "effects/Ka7Audio.h"
#include "runtime/Ka7Log.h"

#include <cstdlib>

namespace ra7 {

namespace {

std::function<void()> exitHandler;

void Help(const std::string&, const std::string&, const std::string&)
{
    const auto& commands = ConsoleCommands();
    for (std::size_t i = 0; i < commands.size(); ++i)
        LogLine(std::to_string(i + 1) + " " + commands[i].Name);
}

void Exit(const std::string&, const std::string&, const std::string&)
{
    if (exitHandler)
        exitHandler();
    else
        std::exit(0);
}

// Resource and driver commands whose subsystem is not part of this build yet.
ConsoleProc notAvailable(const char* command, const char* subsystem)
{
    return [command, subsystem](const std::string&, const std::string&, const std::string&) {
        LogLine(std::string("! Команда ") + command + " недоступна: " + subsystem + " ещё не подключены");
    };
}

void AlInfo(const std::string&, const std::string&, const std::string&)
{
    if (!AudioIsOpen()) {
        LogLine("! Звуковое устройство не открыто: описания OpenAL нет");
        return;
    }
    LogAudioLibraryInfo(GetAudioLibraryInfo());
}

} // namespace

const std::vector<KaConsoleCommand>& ConsoleCommands()
{
    static const std::vector<KaConsoleCommand> commands = {
        {"help", Help},
        {"exit", Exit},
        {"addmesh", notAvailable("addmesh", "меши")},
        {"addmat", notAvailable("addmat", "материалы")},
        {"addtex", notAvailable("addtex", "текстуры")},
        {"glinfo", notAvailable("glinfo", "OpenGL-функции")},
        {"alinfo", AlInfo},
    };
    return commands;
}

void SetConsoleExitHandler(std::function<void()> handler)
{
    exitHandler = std::move(handler);
}

void LogExtensionList(std::string_view extensions)
{
    int count = 0;
    std::string name;
    for (char c : extensions) {
        if (c == ' ') {
            LogLine(name);
            name.clear();
            ++count;
        } else {
            name += c;
        }
    }
    LogLine("* ----- Конец списка расширений -----");
    LogLine("Всего расширений : " + std::to_string(count));
}

void LogGraphicsDriverInfo(const GraphicsDriverInfo& info)
{
    LogLine("Версия GL: " + info.version);
    LogLine("Версия GLU: " + info.gluVersion);
    LogLine("Изготовитель видео карты: " + info.vendor);
    LogLine("Видео карта: " + info.renderer);
    LogLine("* Расширения OpenGL: ");
    LogExtensionList(info.extensions);
}

void LogAudioLibraryInfo(const AudioLibraryInfo& info)
{
    LogLine("Версия AL: " + info.version);
    LogLine("Изготовитель звуковой карты: " + info.vendor);
    LogLine("Звуковая карта: " + info.renderer);
    LogLine("* Расширения OpenAL: ");
    LogExtensionList(info.extensions);
}

} // namespace ra7
