// The explanation of script lines: for any bytes, every line's verdict is the
// parser's own and every part and reason lies inside the line.
#include "anim/AnimLineCheck.h"
#include "anim/Ka7AnimScript.h"
#include "runtime/FileIO.h"
#include "runtime/TextUtil.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : ra7::splitTextLines(bytes)) {
        const ra7::AnimLineCheck check = ra7::CheckAnimLine(line);
        const std::string_view trimmed = ra7::trimBlanks(line);
        if (!trimmed.empty() && trimmed.front() != '[' &&
            check.dropped != ra7::ParseAnimLine(trimmed).Command.empty())
            std::abort();
        for (const ra7::AnimLineSpan& span : check.spans)
            if (span.begin > span.end || span.end > line.size())
                std::abort();
        for (const ra7::AnimLineIssue& issue : check.issues)
            if (issue.begin > issue.end || issue.end > line.size() || issue.text.empty())
                std::abort();
    }
    return 0;
}
