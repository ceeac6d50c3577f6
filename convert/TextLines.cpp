#include "TextLines.h"

#include "runtime/Errors.h"

namespace ra7 {

void TextLineSplitter::checkPendingSize() const
{
    if (pending_.size() > maxLineBytes_)
        throw FileError(displayName_, FilePlace::line(lineNumber_ + 1),
                        "line is longer than " + std::to_string(maxLineBytes_) + " bytes");
}

} // namespace ra7
