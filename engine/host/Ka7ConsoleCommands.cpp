#include "host/Ka7ConsoleCommands.h"

#include "effects/Ka7Audio.h"
#include "resources/Ka7MaterialList.h"
#include "resources/Ka7MeshList.h"
#include "resources/Ka7TextureList.h"
#include "runtime/Ka7Log.h"

#include <epoxy/gl.h>

#include <GL/glu.h>

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

// A resource command run before the engine created its lists.
void logMissingList(const char* command, const char* list)
{
    LogLine(std::string("! Команда ") + command + " недоступна: список " + list + " не создан");
}

void AddMesh(const std::string& fileName, const std::string&, const std::string&)
{
    if (Meshes)
        Meshes->LoadMesh(fileName);
    else
        logMissingList("addmesh", "мешей");
}

void AddMaterial(const std::string& fileName, const std::string&, const std::string&)
{
    if (Materials)
        Materials->LoadFromFile(fileName);
    else
        logMissingList("addmat", "материалов");
}

void AddTexture(const std::string& fileName, const std::string&, const std::string&)
{
    if (Textures)
        Textures->Add(fileName);
    else
        logMissingList("addtex", "текстур");
}

std::string glText(GLenum name)
{
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text ? text : "";
}

void GLInfo(const std::string&, const std::string&, const std::string&)
{
    GraphicsDriverInfo info;
    info.version = glText(GL_VERSION);
    if (info.version.empty()) { // no context is current
        LogLine("! Контекст OpenGL не создан: описания драйвера нет");
        return;
    }
    const auto* gluVersion = reinterpret_cast<const char*>(gluGetString(GLU_VERSION));
    info.gluVersion = gluVersion ? gluVersion : "";
    info.vendor = glText(GL_VENDOR);
    info.renderer = glText(GL_RENDERER);
    info.extensions = glText(GL_EXTENSIONS);
    LogGraphicsDriverInfo(info);
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
        {"help", Help},         {"exit", Exit},     {"addmesh", AddMesh}, {"addmat", AddMaterial},
        {"addtex", AddTexture}, {"glinfo", GLInfo}, {"alinfo", AlInfo},
    };
    return commands;
}

void InitConsole()
{
    InitConsole(ConsoleCommands());
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
