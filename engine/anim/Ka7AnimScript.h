#pragma once
// One animation script: its commands parsed from text and the player that
// starts them when the script clock reaches their start times and feeds each
// running command its share of the elapsed time.

#include "math/DotMath.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ra7 {

// A command's handler: object name, second name, the three vectors, the
// command's duration and the script time given to this call.
using AnimCommandProc = void (*)(const std::string& objName, const std::string& objName2, Vector3& vec1,
                                 Vector3& vec2, Vector3& vec3, float length, float step);

struct KaAnimCom {
    std::int32_t Time = 0;   // start, in script time units (100 ms at speed 1)
    std::int32_t Length = 0; // duration from "t:", 0 when absent
    float TimeLeft = 0;
    std::string Command;
    std::string ObjName;
    std::string ObjName2; // the child of "attach", the texture of "parsettex"
    Vector3 Vec1;
    Vector3 Vec2;
    Vector3 Vec3;
    AnimCommandProc Proc = nullptr;
};

using KaAnimArr = std::vector<KaAnimCom>;

// Reads "(x;y;z)" from the front of `text` (after anything before the "("),
// removing what it read. Without "(" the vector is zero and the text is kept.
// Components that do not convert, or are missing, are 0, so "(5)" reads as (0,0,5).
Vector3 ParseAnimVector(std::string& text);

// Parses one trimmed, non-empty command line. A line that is not a command
// comes back with an empty `Command`.
KaAnimCom ParseAnimLine(std::string_view line);

// Orders commands by start time; commands with equal times keep their order
// in the text, so a script plays the same way every time.
void SortCommands(KaAnimArr& commands);

// Nearest integer, halves to even.
std::int32_t RoundHalfEven(float value);

class KaAnimScript {
public:
    std::string Name;
    std::vector<std::int32_t> Stack; // running commands, in start order
    KaAnimArr Commands;              // sorted by Time
    float Position = -1.0f;          // the clock, in script time units
    std::int32_t PosInCom = 0;       // first command not yet started
    float Speed = 0;

    std::int32_t StackCount() const { return static_cast<std::int32_t>(Stack.size()); }
    std::int32_t ComCount() const { return static_cast<std::int32_t>(Commands.size()); }

    // Replaces the commands by those of the text; a "[name]" line names the
    // script (the last one wins). Clock, stack and speed are left as they are.
    void LoadFromStrings(const std::vector<std::string>& lines);

    // Rewinds to clock 0 with nothing running and every duration full.
    void Reset();
    void Play() { Speed = 1.0f; }
    void Pause() { Speed = 0; }

    // One frame of playback; `frameTimeMs` is the duration of the last frame.
    void Advance(float frameTimeMs);

    void PushCommand(std::int32_t index);
    // Moves the last entry into slot i; "Array index out of bounds." past the end.
    void RemoveFromStack(std::int32_t i);
    void RunCommand(KaAnimCom& command, float step);
};

} // namespace ra7
