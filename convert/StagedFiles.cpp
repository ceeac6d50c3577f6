#include "StagedFiles.h"

#include "runtime/Errors.h"
#include "runtime/PathResolver.h"
#include "runtime/RecordFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace ra7 {

StagedFiles::~StagedFiles()
{
    Discard();
}

StagedFiles::StagedFiles(StagedFiles&& other) noexcept : targets_(std::move(other.targets_))
{
    other.targets_.clear();
}

StagedFiles& StagedFiles::operator=(StagedFiles&& other) noexcept
{
    if (this != &other) {
        Discard();
        targets_ = std::move(other.targets_);
        other.targets_.clear();
    }
    return *this;
}

std::string StagedFiles::StagedName(const std::string& target)
{
    // The process number keeps two editors converting into one folder apart.
    return target + ".staged-" + std::to_string(::getpid());
}

void StagedFiles::Stage(const std::string& target, const std::function<void(RecordWriter&)>& write)
{
    RecordWriter file(StagedName(target));
    write(file);
    file.commit();
    if (!Holds(target))
        targets_.push_back(target);
}

std::error_code StagedFiles::StageCopy(const std::string& target, const fs::path& source)
{
    const fs::path staged = resolvePath(StagedName(target));
    std::error_code error;
    fs::copy_file(source, staged, fs::copy_options::overwrite_existing, error);
    if (error) {
        std::error_code ignored;
        fs::remove(staged, ignored);
        return error;
    }
    if (!Holds(target))
        targets_.push_back(target);
    return {};
}

bool StagedFiles::Holds(const std::string& target) const
{
    return std::find(targets_.begin(), targets_.end(), target) != targets_.end();
}

void StagedFiles::Commit()
{
    std::vector<std::string> targets = std::move(targets_);
    targets_.clear();
    for (std::size_t i = 0; i < targets.size(); ++i) {
        std::error_code error;
        fs::rename(resolvePath(StagedName(targets[i])), resolvePath(targets[i]), error);
        if (error) {
            // What is left is removed, so that no temporary file stays behind.
            targets_.assign(targets.begin() + static_cast<std::ptrdiff_t>(i), targets.end());
            Discard();
            throw FileError(targets[i], FilePlace::whole(), "cannot replace the file: " + error.message());
        }
    }
}

void StagedFiles::Discard() noexcept
{
    for (const std::string& target : targets_) {
        std::error_code error;
        fs::remove(resolvePath(StagedName(target)), error);
    }
    targets_.clear();
}

} // namespace ra7
