#pragma once
// Splits text that arrives in pieces (a file read in blocks) into numbered
// lines without copying the complete lines of a block. Line ends are LF,
// CR LF or a lone CR; a last line without an end is kept.

#include <cstdint>
#include <string>
#include <string_view>

namespace ra7 {

class TextLineSplitter {
public:
    // A line longer than this is refused: no model needs one, and it would
    // otherwise be held in memory whole.
    static constexpr std::size_t kMaxLineBytes = std::size_t{64} << 20;

    explicit TextLineSplitter(std::string displayName, std::size_t maxLineBytes = kMaxLineBytes)
        : displayName_(std::move(displayName)), maxLineBytes_(maxLineBytes)
    {
    }

    // Calls onLine(text, lineNumber) for every line completed by `block`.
    template <class OnLine>
    void feed(std::string_view block, OnLine&& onLine);
    // Delivers the last line when the text does not end with a line end.
    template <class OnLine>
    void finish(OnLine&& onLine);

private:
    template <class OnLine>
    void deliver(std::string_view line, OnLine& onLine);
    void checkPendingSize() const;

    std::string displayName_;
    std::size_t maxLineBytes_;
    std::string pending_;
    std::uint64_t lineNumber_ = 0;
};

template <class OnLine>
void TextLineSplitter::feed(std::string_view block, OnLine&& onLine)
{
    while (!block.empty()) {
        const std::size_t end = block.find('\n');
        if (end == std::string_view::npos) {
            pending_.append(block);
            checkPendingSize();
            return;
        }
        if (pending_.empty()) {
            deliver(block.substr(0, end), onLine);
        } else {
            pending_.append(block.substr(0, end));
            checkPendingSize();
            const std::string line = std::move(pending_);
            pending_.clear();
            deliver(line, onLine);
        }
        block.remove_prefix(end + 1);
    }
}

template <class OnLine>
void TextLineSplitter::finish(OnLine&& onLine)
{
    if (pending_.empty())
        return;
    const std::string line = std::move(pending_);
    pending_.clear();
    deliver(line, onLine);
}

template <class OnLine>
void TextLineSplitter::deliver(std::string_view line, OnLine& onLine)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    // A lone CR inside ends a line too (old Macintosh files).
    for (;;) {
        const std::size_t cr = line.find('\r');
        onLine(line.substr(0, cr), ++lineNumber_);
        if (cr == std::string_view::npos)
            return;
        line.remove_prefix(cr + 1);
    }
}

} // namespace ra7
