#include "runtime/Ka7EngineErrors.h"

#include "runtime/Errors.h"

#include <gtest/gtest.h>

namespace ra7 {
namespace {

// The frame's check stops the frame with the state's own text and leaves the
// state for the handler that reports it. (What each framebuffer status says
// is shown on a real incomplete target in DisplayTest.)
TEST(EngineErrors, TheCheckRaisesTheStateTextAndKeepsTheState)
{
    EngineError = 0;
    EXPECT_TRUE(CheckEngineError());
    EngineError = 2;
    try {
        CheckEngineError();
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Ошибка Ka движка: ошибка чтения из файла");
    }
    EXPECT_EQ(EngineError, 2);
    EngineError = 0;
}

} // namespace
} // namespace ra7
