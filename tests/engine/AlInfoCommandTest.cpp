#include "engine/AudioFixture.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7Log.h"

#include <AL/al.h>
#include <gmock/gmock.h>

#include <sstream>
#include <string>
#include <vector>

namespace ra7 {
namespace {

using AlInfoCommand = test::AudioTest;

// The names come from the library itself, not from the string the command
// read, so a list cut short or split wrongly differs from it.
std::vector<std::string> libraryExtensions()
{
    std::istringstream text(alGetString(AL_EXTENSIONS));
    std::vector<std::string> names;
    for (std::string name; text >> name;)
        names.push_back("  " + name);
    return names;
}

TEST_F(AlInfoCommand, LogsTheLibrarysDescriptionAndEveryExtensionItNames)
{
    ExecuteCommand("alinfo");
    const std::vector<std::string> extensions = libraryExtensions();
    ASSERT_FALSE(extensions.empty()) << "OpenAL Soft names its extensions";
    const auto& lines = LogLines();
    ASSERT_EQ(lines.size(), 5 + extensions.size() + 2);
    EXPECT_EQ(lines[0], "> alinfo");
    EXPECT_EQ(lines[1], std::string("  Версия AL: ") + alGetString(AL_VERSION));
    EXPECT_EQ(lines[2], std::string("  Изготовитель звуковой карты: ") + alGetString(AL_VENDOR));
    EXPECT_EQ(lines[3], std::string("  Звуковая карта: ") + alGetString(AL_RENDERER));
    EXPECT_EQ(lines[4], "* Расширения OpenAL:");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.end() - 2), extensions);
    EXPECT_EQ(lines[lines.size() - 2], "* ----- Конец списка расширений -----");
    EXPECT_EQ(lines.back(), "  Всего расширений : " + std::to_string(extensions.size()));
}

using AlInfoWithoutDevice = test::ConsoleTest;

TEST_F(AlInfoWithoutDevice, GlInfoWithoutAContextSaysSo)
{
    ExecuteCommand("glinfo");
    EXPECT_THAT(LogLines(),
                ::testing::ElementsAre("> glinfo", "! Контекст OpenGL не создан: описания драйвера нет"));
}

TEST_F(AlInfoWithoutDevice, SaysThereIsNoDevice)
{
    ExecuteCommand("alinfo");
    EXPECT_THAT(LogLines(),
                ::testing::ElementsAre("> alinfo", "! Звуковое устройство не открыто: описания OpenAL нет"));
}

} // namespace
} // namespace ra7
