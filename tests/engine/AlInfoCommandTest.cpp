#include "engine/AudioFixture.h"
#include "runtime/Ka7Console.h"
#include "runtime/Ka7Log.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace ra7 {
namespace {

using ::testing::StartsWith;

using AlInfoCommand = test::AudioTest;

TEST_F(AlInfoCommand, LogsTheAudioLibrarysDescriptionInOrder)
{
    ExecuteCommand("alinfo");
    const auto& lines = LogLines();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "> alinfo");
    EXPECT_THAT(lines[1], StartsWith("  Версия AL: "));
    EXPECT_THAT(lines[2], StartsWith("  Изготовитель звуковой карты: "));
    EXPECT_THAT(lines[3], StartsWith("  Звуковая карта: "));
    EXPECT_EQ(lines[4], "* Расширения OpenAL:");
    const auto end = std::find(lines.begin(), lines.end(), "* ----- Конец списка расширений -----");
    ASSERT_NE(end, lines.end());
    const auto names = end - (lines.begin() + 5);
    EXPECT_GT(names, 0);
    EXPECT_EQ(lines.back(), "  Всего расширений : " + std::to_string(names));
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
