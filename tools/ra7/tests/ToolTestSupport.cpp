#include "ToolTestSupport.h"

#include <filesystem>

namespace ra7::test {

void installEngineData()
{
    std::filesystem::create_directories("data");
    std::filesystem::copy(std::filesystem::path(RA7_SOURCE_DIR) / "data" / "shaders", "data/shaders");
}

} // namespace ra7::test
