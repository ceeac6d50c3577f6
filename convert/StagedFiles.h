#pragma once
// Files written beside their targets under a temporary name and put in
// place together at the end, so that work stopped half-way (cancelled by
// the user, or failed) leaves every target file as it was.

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace ra7 {

class RecordWriter;

class StagedFiles {
public:
    StagedFiles() = default;
    // Removes every file staged and not committed.
    ~StagedFiles();
    StagedFiles(StagedFiles&& other) noexcept;
    StagedFiles& operator=(StagedFiles&& other) noexcept;
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Writes the file named as stored `target` through `write`, under a
    // temporary name in the target's folder. Staging a target again
    // replaces what was staged for it. Throws what the writing throws (the
    // temporary file is then gone).
    void Stage(const std::string& target, const std::function<void(RecordWriter&)>& write);
    // Stages a copy of the file `source` for `target`. The error, when the
    // copy cannot be made (nothing is then staged for it); empty otherwise.
    [[nodiscard]] std::error_code StageCopy(const std::string& target, const std::filesystem::path& source);
    // Whether `target` is staged and not yet committed or discarded.
    bool Holds(const std::string& target) const;

    // Renames every staged file over its target, in staging order. When a
    // rename fails it throws FileError: the files before are in place, the
    // rest are removed.
    void Commit();
    // Removes every staged file; the targets stay as they were.
    void Discard() noexcept;

    // The targets staged and not yet committed or discarded, in order.
    const std::vector<std::string>& Targets() const { return targets_; }
    bool Empty() const { return targets_.empty(); }

    // The stored name of the temporary file for `target`.
    static std::string StagedName(const std::string& target);

private:
    std::vector<std::string> targets_;
};

} // namespace ra7
