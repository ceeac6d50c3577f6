#include "runtime/Ka7EngineErrors.h"

#include "runtime/Errors.h"

namespace ra7 {

std::uint8_t EngineError = 0;

std::string EngineErrorText(std::uint8_t code)
{
    switch (code) {
    case 0:
        return "нет ошибок";
    case 1:
        return "файл не найден";
    case 2:
        return "ошибка чтения из файла";
    default:
        return "неопознаная ошибка";
    }
}

bool CheckEngineError()
{
    const std::uint8_t state = EngineError;
    if (state != 0)
        throw Error("Ошибка Ka движка: " + EngineErrorText(state));
    return true;
}

std::optional<std::string> FramebufferStatusText(std::uint32_t status)
{
    switch (status) {
    case 0x8CD6: // GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT
        return "Incomplete attachment";
    case 0x8CD7: // GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT
        return "Missing attachment";
    case 0x8CD8: // GL_FRAMEBUFFER_INCOMPLETE_DUPLICATE_ATTACHMENT_EXT
        return "Duplicate attachment";
    case 0x8CD9: // GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT
        return "Incomplete dimensions";
    case 0x8CDA: // GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT
        return "Incomplete formats";
    case 0x8CDB: // GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER
        return "Incomplete draw buffer";
    case 0x8CDC: // GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER
        return "Incomplete read buffer";
    case 0x8CDD: // GL_FRAMEBUFFER_UNSUPPORTED
        return "Framebuffer unsupported";
    default: // complete (0x8CD5) and anything the table does not know
        return std::nullopt;
    }
}

} // namespace ra7
