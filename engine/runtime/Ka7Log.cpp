#include "runtime/Ka7Log.h"

#include "runtime/TextCodec.h"
#include "runtime/TextUtil.h"

#include <cassert>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

namespace ra7 {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct EngineLog {
    std::vector<std::string> lines;
    bool changed = false;
    std::filesystem::path path;
    // Open for appending while the file on disk matches `lines`; closed when
    // a write failed, so that the next line rewrites the file in full.
    std::unique_ptr<std::FILE, FileCloser> file;
};

std::optional<EngineLog> theLog;

bool writeLine(std::FILE* file, const std::string& line)
{
    const std::string bytes = utf8ToCp1251(line) + "\r\n";
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

} // namespace

void OpenLog()
{
    theLog.emplace();
    std::error_code ec;
    theLog->path = std::filesystem::absolute(kLogFileName, ec);
    if (ec)
        theLog->path = kLogFileName;
}

void CloseLog()
{
    theLog.reset();
}

bool LogIsOpen()
{
    return theLog.has_value();
}

std::string FormatLogLine(std::string_view text)
{
    text = trimBlanks(text);
    const std::size_t firstCharBytes = utf8Prefix(text, 1).size();
    const bool markerFirst = text.size() > firstCharBytes && text[firstCharBytes] == ' ';
    return markerFirst ? std::string(text) : "  " + std::string(text);
}

void LogLine(std::string_view text)
{
    assert(theLog && "LogLine outside OpenLog/CloseLog");
    if (!theLog)
        return;
    theLog->lines.push_back(FormatLogLine(text));
    theLog->changed = true;
    std::FILE* file = theLog->file.get();
    if (!file) {
        SaveLog();
        return;
    }
    if (!writeLine(file, theLog->lines.back()) || std::fflush(file) != 0)
        theLog->file.reset();
}

void SaveLog()
{
    if (!theLog)
        return;
    theLog->file.reset(std::fopen(theLog->path.c_str(), "wb"));
    std::FILE* file = theLog->file.get();
    if (!file)
        return;
    for (const std::string& line : theLog->lines) {
        if (!writeLine(file, line)) {
            theLog->file.reset();
            return;
        }
    }
    if (std::fflush(file) != 0)
        theLog->file.reset();
}

std::string LogText()
{
    std::string text;
    if (!theLog)
        return text;
    for (const std::string& line : theLog->lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

const std::vector<std::string>& LogLines()
{
    static const std::vector<std::string> none;
    return theLog ? theLog->lines : none;
}

bool LogChanged()
{
    if (!theLog)
        return false;
    const bool changed = theLog->changed;
    theLog->changed = false;
    return changed;
}

} // namespace ra7
