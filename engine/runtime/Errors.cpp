#include "runtime/Errors.h"

namespace ra7 {

namespace {

std::string composeMessage(const std::string& fileName, FilePlace place, const std::string& what)
{
    std::string message = fileName + ": ";
    switch (place.kind) {
    case FilePlace::Kind::Offset:
        message += "offset " + std::to_string(place.value) + ": ";
        break;
    case FilePlace::Kind::Line:
        message += "line " + std::to_string(place.value) + ": ";
        break;
    case FilePlace::Kind::Whole:
        break;
    }
    return message + what;
}

} // namespace

FileError::FileError(std::string fileName, FilePlace place, std::string what)
    : Error(composeMessage(fileName, place, what)), fileName_(std::move(fileName)), place_(place),
      detail_(std::move(what))
{
}

} // namespace ra7
