#pragma once
// What the script parser makes of one line, told so that a person can see
// it: the parts of the line (time, command, names, vectors, duration) with
// their places, whether the parser drops the line and why, and the parts it
// reads as zero or not at all. Whether a line is dropped is always the
// parser's own verdict (ParseAnimLine); this only explains it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

enum class AnimLinePart {
    Name,       // "[walk]": the script's name
    Time,       // start time
    Command,    // one of the twenty command names
    Object,     // the object the command acts on
    SecondName, // the child of "attach", the texture of "parsettex"
    Vector,     // "(x;y;z)"
    Duration,   // "t:10"
};

// A part of the line: bytes [begin, end) of the line as given (untrimmed).
struct AnimLineSpan {
    AnimLinePart part;
    std::size_t begin = 0;
    std::size_t end = 0;
};

enum class AnimLineProblem {
    // The parser drops the line: it adds nothing to the script.
    NoSpace,        // one word only
    BadTime,        // the first word is not a whole number, or is −1
    UnknownCommand, // not one of the twenty names (they are lower case)
    // The line is kept, but part of it does not say what it seems to.
    BadVector,          // not three numbers: the missing or unreadable ones are 0
    BadDuration,        // "t:" without a whole number: the duration is 0
    NoDuration,         // a command that spreads a change over time without "t:" changes nothing
    IgnoredText,        // text the parser skips
    NoObject,           // the command names no object and acts on nothing
    NameWithoutBracket, // "[walk": the last character is cut off, not a "]"
    NegativeTime,       // kept, but a rewound script never starts it
};

struct AnimLineIssue {
    AnimLineProblem problem;
    std::size_t begin = 0; // the bytes at fault
    std::size_t end = 0;
    std::string text; // what to tell the user, in the editor's language
};

struct AnimLineCheck {
    bool blank = false;    // skipped
    bool nameLine = false; // names the script
    bool dropped = false;  // a command line the parser drops
    std::vector<AnimLineSpan> spans;
    // A dropped line has exactly one issue, the reason; a kept line may have several.
    std::vector<AnimLineIssue> issues;
};

AnimLineCheck CheckAnimLine(std::string_view line);

} // namespace ra7
