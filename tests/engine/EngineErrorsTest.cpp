#include "runtime/Ka7EngineErrors.h"

#include "runtime/Errors.h"

#include <gtest/gtest.h>

namespace ra7 {
namespace {

TEST(EngineErrors, TheCheckRaisesTheStateTextAndKeepsTheState)
{
    EngineError = 0;
    EXPECT_TRUE(CheckEngineError());
    EngineError = 7;
    try {
        CheckEngineError();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Ошибка Ka движка: неопознаная ошибка");
    }
    EXPECT_EQ(EngineError, 7);
    EngineError = 2;
    EXPECT_THROW(
        {
            try {
                CheckEngineError();
            } catch (const Error& e) {
                EXPECT_STREQ(e.what(), "Ошибка Ka движка: ошибка чтения из файла");
                throw;
            }
        },
        Error);
    EngineError = 0;
    EXPECT_EQ(EngineErrorText(1), "файл не найден");
    EXPECT_EQ(EngineErrorText(0), "нет ошибок");
}

TEST(EngineErrors, FramebufferStatusesMapThroughTheTable)
{
    EXPECT_FALSE(FramebufferStatusText(0x8CD5)); // complete
    EXPECT_EQ(FramebufferStatusText(0x8CD6), "Incomplete attachment");
    EXPECT_EQ(FramebufferStatusText(0x8CD7), "Missing attachment");
    EXPECT_EQ(FramebufferStatusText(0x8CD8), "Duplicate attachment");
    EXPECT_EQ(FramebufferStatusText(0x8CD9), "Incomplete dimensions");
    EXPECT_EQ(FramebufferStatusText(0x8CDA), "Incomplete formats");
    EXPECT_EQ(FramebufferStatusText(0x8CDB), "Incomplete draw buffer");
    EXPECT_EQ(FramebufferStatusText(0x8CDC), "Incomplete read buffer");
    EXPECT_EQ(FramebufferStatusText(0x8CDD), "Framebuffer unsupported");
    EXPECT_FALSE(FramebufferStatusText(0x8CD4));
    EXPECT_FALSE(FramebufferStatusText(0x8CDE));
    EXPECT_FALSE(FramebufferStatusText(0));
}

} // namespace
} // namespace ra7
