#include "LoggedFailures.h"

#include "runtime/Ka7Log.h"

#include <iostream>
#include <string>
#include <vector>

namespace ra7 {

std::size_t PrintLoggedFailures(std::string_view command, std::size_t from)
{
    const std::vector<std::string>& lines = LogLines();
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i].starts_with("! "))
            std::cerr << "ra7 " << command << ": " << std::string_view(lines[i]).substr(2) << '\n';
    return lines.size();
}

} // namespace ra7
