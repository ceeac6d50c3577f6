#include "ModelNames.h"

#include "TextFields.h"

#include "runtime/PathResolver.h"
#include "runtime/TextCodec.h"
#include "runtime/TextUtil.h"

namespace fs = std::filesystem;

namespace ra7 {

std::string modelName(std::string_view written)
{
    return cp1251ToUtf8(asciiUpper(trimBlanks(written)));
}

fs::path resolveBeside(const fs::path& folder, std::string_view name)
{
    std::string text(name);
    for (char& c : text)
        if (c == '\\')
            c = '/';
    if (folder.empty() || (!text.empty() && text.front() == '/'))
        return resolvePath(text);
    return resolvePath((folder / text).string());
}

bool isExistingFile(const fs::path& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

} // namespace ra7
