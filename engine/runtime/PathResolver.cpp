#include "runtime/PathResolver.h"

#include "runtime/TextCodec.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace ra7 {

namespace {

// The entry of `folder` whose name equals `component` ignoring case, or an
// empty path. An exact match wins; otherwise the first match in name order,
// so the choice does not depend on the directory's listing order.
fs::path findIgnoringCase(const fs::path& folder, const std::string& component)
{
    std::error_code ec;
    fs::path exact = folder / component;
    if (fs::exists(fs::symlink_status(exact, ec)))
        return exact;
    const std::string wanted = foldCase(component);
    fs::path best;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (foldCase(name) == wanted && (best.empty() || name < best.filename().string()))
            best = folder / name;
    }
    return best;
}

} // namespace

fs::path resolvePath(std::string_view storedName)
{
    std::string text(storedName);
    for (char& c : text)
        if (c == '\\')
            c = '/';
    fs::path asWritten(text);
    std::error_code ec;
    if (text.empty() || fs::exists(asWritten, ec))
        return asWritten;

    fs::path resolved = asWritten.root_path();
    bool matching = true;
    for (const fs::path& part : asWritten.relative_path()) {
        const std::string component = part.string();
        if (component.empty() || component == "." || component == "..") {
            resolved /= part;
            continue;
        }
        if (matching) {
            const fs::path found = findIgnoringCase(resolved, component);
            if (!found.empty()) {
                resolved = found;
                continue;
            }
            matching = false; // nothing below a missing folder can exist
        }
        resolved /= part;
    }
    return resolved;
}

std::string relativeToWorkingDirectory(const fs::path& chosen)
{
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    const fs::path absolute = fs::absolute(chosen, ec).lexically_normal();
    if (cwd.empty())
        return absolute.string();
    const fs::path relative = absolute.lexically_relative(cwd);
    if (relative.empty() || *relative.begin() == "..")
        return absolute.string();
    return relative.string();
}

std::string storedForm(std::string_view path)
{
    std::string stored(path);
    std::replace(stored.begin(), stored.end(), '/', '\\');
    return stored;
}

} // namespace ra7
