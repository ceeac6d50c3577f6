#include "TextLines.h"

#include "runtime/Errors.h"

namespace ra7 {

void TextLineSplitter::checkPendingSize() const
{
    if (pending_.size() > kMaxLineBytes)
        throw FileError(displayName_, FilePlace::line(lineNumber_ + 1),
                        "line is longer than " + std::to_string(kMaxLineBytes >> 20) + " MB");
}

} // namespace ra7
