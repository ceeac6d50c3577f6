#pragma once
// The engine's error state and the end-of-frame checks that turn error
// states into errors with fixed texts.

#include <cstdint>
#include <optional>
#include <string>

namespace ra7 {

// The engine error state: 0 means no error.
extern std::uint8_t EngineError;

// "нет ошибок", "файл не найден", "ошибка чтения из файла", or
// "неопознаная ошибка" for any other code.
std::string EngineErrorText(std::uint8_t code);

// True when EngineError is 0; otherwise throws "Ошибка Ka движка: " + text.
// The state is not reset.
bool CheckEngineError();

// The text of a framebuffer status, or nothing for a complete framebuffer
// and any status outside the framebuffer-object extension's table.
std::optional<std::string> FramebufferStatusText(std::uint32_t status);

} // namespace ra7
